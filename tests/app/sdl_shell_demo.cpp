// A small program on the real shell and the SDL host, for the Xvfb test: the display set-up is
// stood in for, and every frame polls the game's keys through the key tracker as the frame
// driver does, prints each change of their states, of the filter flag and of Enter's toggle
// bit (so that even a quick tap of Enter shows), and presents a
// picture of four coloured quadrants so the scaling can be checked on the screen. SIGUSR1 stands
// in for the window moving to another display (SDL tells of it with a window event); SIGUSR2 does
// the same after asking for the renderer path, as if the other display had a GPU.
#include <SDL.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "game/frame_driver.h"
#include "game/key_tracker.h"
#include "platform/host/host.h"
#include "record/game_globals.h"
#include "video/display.h"

namespace {

struct PolledKey {
  int virtualKey;
  const char* name;
  KeyState state;
};

struct DemoState {
  std::vector<PolledKey> keys = {{VK_UP, "UP", KeyUp},       {VK_LEFT, "LEFT", KeyUp},
                                 {VK_RIGHT, "RIGHT", KeyUp}, {VK_SPACE, "SPACE", KeyUp},
                                 {VK_SHIFT, "SHIFT", KeyUp}, {VK_RETURN, "RETURN", KeyUp}};
  int filterShown = -1;
  int returnToggle = 0;  // GetKeyState's low bit for Enter: it flips with every key-down taken
  long frames = 0;
  std::chrono::steady_clock::time_point started;
  std::vector<std::uint16_t> picture;
};

DemoState& Demo() {
  static DemoState demo;
  return demo;
}

// The display change asked for by a signal: 0 none, 1 another display, 2 one with a GPU.
volatile std::sig_atomic_t displayChangeAsked = 0;

void TellOfDisplayChange() {
  if (displayChangeAsked == 0) return;
  if (displayChangeAsked == 2) setenv("TIRRAVEL_DISPLAY_PATH", "renderer", 1);
  displayChangeAsked = 0;
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_DISPLAY_CHANGED;
  SDL_PushEvent(&event);
  std::printf("display changed\n");
}

const char* StateName(KeyState state) {
  switch (state) {
    case KeyUp:
      return "Up";
    case KeyPressed:
      return "Pressed";
    case KeyReleased:
      return "Released";
    case KeyHeld:
      return "Held";
  }
  return "?";
}

// Red, green, blue and white quadrants, each colour at full strength, with a 16-pixel patch of
// single-pixel black and white checks in the top-left corner to judge the scaling's crispness.
std::vector<std::uint16_t> QuadrantPicture() {
  std::vector<std::uint16_t> picture(640 * 480);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const bool right = x >= 320, bottom = y >= 240;
      std::uint16_t colour = bottom ? (right ? 0xFFFF : 0x001F) : (right ? 0x07E0 : 0xF800);
      if (x < 16 && y < 16) colour = (x + y) % 2 == 0 ? 0xFFFF : 0x0000;
      picture[static_cast<std::size_t>(y) * 640 + x] = colour;
    }
  }
  return picture;
}

}  // namespace

int InitDirectDraw() {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  Demo().picture = QuadrantPicture();
  Demo().started = std::chrono::steady_clock::now();
  std::signal(SIGUSR1, [](int) { displayChangeAsked = 1; });
  std::signal(SIGUSR2, [](int) { displayChangeAsked = 2; });
  return 1;
}
int InitDirect3D() {
  return 1;
}
int InitScene() {
  return 1;
}

int ReleaseAll() {
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - Demo().started;
  std::printf("released after %ld frames in %.1f s\n", Demo().frames, seconds.count());
  return 1;
}

int RenderFrame() {
  DemoState& demo = Demo();
  // A heartbeat, so the test can wait until frames have been drawn after some input.
  if (++demo.frames % 10 == 1) std::printf("frame %ld\n", demo.frames);
  TellOfDisplayChange();
  for (PolledKey& key : demo.keys) {
    const KeyState before = key.state;
    PollKey(key.virtualKey, key.state);
    if (key.state != before) std::printf("key %s %s\n", key.name, StateName(key.state));
  }
  // A tap between two polls escapes the tracker, but not the toggle bit.
  const int returnToggle = GetKeyState(VK_RETURN) & 1;
  if (returnToggle != demo.returnToggle) {
    demo.returnToggle = returnToggle;
    std::printf("key RETURN went down\n");
  }
  if (globals.filterEnabled != demo.filterShown) {
    demo.filterShown = globals.filterEnabled;
    std::printf("filter %d\n", demo.filterShown);
  }
  platform::host::Present(demo.picture.data(), 640, 480, 640 * 2);
  return 1;
}
