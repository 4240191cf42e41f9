// Game controllers and the pointer on the real SDL host, with SDL's virtual joysticks standing
// in for pads. Run by sdl_controllers_xvfb_test.sh under Xvfb and openbox: pad events reach
// only a window that has the focus, and losing the focus takes a window manager.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include "platform/api/virtual_keys.h"
#include "platform/host/host.h"

namespace {

namespace host = platform::host;
using host::Event;

struct Seen {
  Event::Type type;
  int virtualKey;
  bool repeat;
  bool operator==(const Seen&) const = default;
};
void PrintTo(const Seen& seen, std::ostream* out) {
  *out << (seen.type == Event::Type::KeyDown ? "down " : "up ") << seen.virtualKey
       << (seen.repeat ? " (repeat)" : "");
}
using Events = std::vector<Seen>;
constexpr auto kDown = Event::Type::KeyDown;
constexpr auto kUp = Event::Type::KeyUp;

// Every host event for a fifth of a second (SDL reads the virtual pads as it polls, so an input
// set and set back between two polls goes unseen).
Events Poll() {
  Events seen;
  const Uint32 end = SDL_GetTicks() + 200;
  while (SDL_GetTicks() < end) {
    Event event;
    while (host::PollEvent(event)) seen.push_back({event.type, event.virtualKey, event.repeat});
    SDL_Delay(5);
  }
  return seen;
}

// The events of a poll, lowest key first: a pad taken away lets go of its buttons in its own
// order.
Events PollSorted() {
  Events seen = Poll();
  std::sort(seen.begin(), seen.end(),
            [](const Seen& a, const Seen& b) { return a.virtualKey < b.virtualKey; });
  return seen;
}

bool WaitFor(bool (*condition)()) {
  for (int i = 0; i < 50 && !condition(); ++i) Poll();
  return condition();
}
bool Focused() {
  return SDL_GetKeyboardFocus() != nullptr;
}

// A virtual pad whose buttons and axes are SDL's game-controller ones, in SDL's order; returns
// its joystick, opened for setting its inputs.
SDL_Joystick* AttachPad() {
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
  desc.button_mask = (1u << desc.nbuttons) - 1;
  desc.axis_mask = (1u << desc.naxes) - 1;
  desc.name = "Virtual pad";
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  EXPECT_GE(index, 0) << SDL_GetError();
  EXPECT_TRUE(SDL_IsGameController(index)) << "no game-controller mapping";
  return SDL_JoystickOpen(index);
}

void Button(SDL_Joystick* pad, SDL_GameControllerButton button, bool down) {
  ASSERT_EQ(SDL_JoystickSetVirtualButton(pad, button, down ? 1 : 0), 0) << SDL_GetError();
}
void Axis(SDL_Joystick* pad, SDL_GameControllerAxis axis, int value) {
  ASSERT_EQ(SDL_JoystickSetVirtualAxis(pad, axis, static_cast<Sint16>(value)), 0);
}
void Detach(SDL_Joystick* pad) {
  const SDL_JoystickID instance = SDL_JoystickInstanceID(pad);
  SDL_JoystickClose(pad);
  for (int index = 0; index < SDL_NumJoysticks(); ++index) {
    if (SDL_JoystickGetDeviceInstanceID(index) == instance) SDL_JoystickDetachVirtual(index);
  }
}

void PushAltEnter() {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.state = SDL_PRESSED;
  event.key.keysym.scancode = SDL_SCANCODE_RETURN;
  event.key.keysym.mod = KMOD_LALT;
  SDL_PushEvent(&event);
}
void PushMotion() {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.x = 100;
  event.motion.xrel = 5;
  SDL_PushEvent(&event);
}
// A motion or an Alt+Enter, then the poll that takes it.
void MoveAndPoll() {
  PushMotion();
  Poll();
}
void AltEnterAndPoll() {
  PushAltEnter();
  Poll();
}
bool PointerShown() {
  return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE;
}

class SdlControllersTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // A pad plugged in before the game starts: virtual pads need SDL's joysticks up to attach.
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    first_ = AttachPad();
    std::string error;
    ASSERT_TRUE(host::OpenWindow("Direct3D IM test", 640, 480, &error)) << error;
    host::SetWindowVisible(true);
    ASSERT_TRUE(WaitFor(Focused)) << "the window never got the focus";
  }
  static inline SDL_Joystick* first_ = nullptr;
};

TEST_F(SdlControllersTest, PadsPluggedInAtAnyTimeGiveKeysAndReleaseThemWhenRemoved) {
  ASSERT_NE(first_, nullptr);
  Button(first_, SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(Poll(), (Events{{kDown, VK_SPACE, false}})) << "the pad plugged in at the start";

  SDL_Joystick* second = AttachPad();
  ASSERT_NE(second, nullptr);
  Poll();
  Button(second, SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(Poll(), (Events{{kDown, VK_SPACE, true}})) << "held already by the first pad";
  Axis(second, SDL_CONTROLLER_AXIS_LEFTX, -20000);
  EXPECT_EQ(Poll(), (Events{{kDown, VK_LEFT, false}}));
  Button(first_, SDL_CONTROLLER_BUTTON_A, false);
  EXPECT_EQ(Poll(), Events{}) << "the second pad still holds Space";

  Button(first_, SDL_CONTROLLER_BUTTON_B, true);
  EXPECT_EQ(Poll(), (Events{{kDown, VK_LSHIFT, false}}));
  Button(first_, SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  EXPECT_EQ(Poll(), (Events{{kDown, VK_UP, false}}));
  Detach(first_);
  first_ = nullptr;
  EXPECT_EQ(PollSorted(), (Events{{kUp, VK_UP, false}, {kUp, VK_LSHIFT, false}}));

  Detach(second);
  EXPECT_EQ(PollSorted(), (Events{{kUp, VK_SPACE, false}, {kUp, VK_LEFT, false}}));
}

TEST_F(SdlControllersTest, LosingTheFocusReleasesWhatThePadHolds) {
  SDL_Joystick* pad = AttachPad();
  ASSERT_NE(pad, nullptr);
  Poll();
  Button(pad, SDL_CONTROLLER_BUTTON_Y, true);
  EXPECT_EQ(Poll(), (Events{{kDown, 'Z', false}}));
  Axis(pad, SDL_CONTROLLER_AXIS_LEFTX, 20000);
  EXPECT_EQ(Poll(), (Events{{kDown, VK_RIGHT, false}}));

  SDL_Window* window = SDL_GetKeyboardFocus();
  ASSERT_NE(window, nullptr);
  SDL_MinimizeWindow(window);
  Events released;
  for (int i = 0; i < 25 && released.size() < 2; ++i) {
    const Events more = Poll();
    released.insert(released.end(), more.begin(), more.end());
  }
  EXPECT_EQ(released, (Events{{kUp, VK_RIGHT, false}, {kUp, 'Z', false}}));

  SDL_RestoreWindow(window);
  host::SetWindowVisible(true);
  ASSERT_TRUE(WaitFor(Focused)) << "the window did not get the focus back";
  Button(pad, SDL_CONTROLLER_BUTTON_Y, false);
  EXPECT_EQ(Poll(), Events{}) << "released already";
  Axis(pad, SDL_CONTROLLER_AXIS_LEFTX, 25000);
  EXPECT_EQ(Poll(), (Events{{kDown, VK_RIGHT, false}})) << "the stick, still pushed, counts afresh";
  Detach(pad);
  EXPECT_EQ(Poll(), (Events{{kUp, VK_RIGHT, false}}));
}

TEST_F(SdlControllersTest, ThePointerShowsOnlyOverTheWindowAndOnlyWhileItMoves) {
  EXPECT_FALSE(PointerShown()) << "full screen";
  MoveAndPoll();
  EXPECT_FALSE(PointerShown()) << "full screen, moved";
  AltEnterAndPoll();
  MoveAndPoll();
  EXPECT_TRUE(PointerShown()) << "in a window, moved";
  SDL_Delay(3000);
  Poll();
  EXPECT_FALSE(PointerShown()) << "at rest for three seconds";
  MoveAndPoll();
  AltEnterAndPoll();
  EXPECT_FALSE(PointerShown()) << "full screen again";
}

}  // namespace
