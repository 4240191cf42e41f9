// A controller's buttons and stick as keys, and keys held by several sources at once.
#include <gtest/gtest.h>

#include "platform/api/virtual_keys.h"
#include "platform/host/held_keys.h"
#include "platform/host/sdl/controller_keys.h"

namespace {

using platform::host::Event;
using platform::host::HeldKeys;
using platform::host::sdl::ControllerKeys;
using platform::host::sdl::KeyChange;
using platform::host::sdl::PadAxis;
using platform::host::sdl::PadButton;

using Changes = std::vector<KeyChange>;

TEST(ControllerKeysTest, ButtonsGiveTheGamesKeys) {
  const std::pair<PadButton, int> mapping[] = {
      {PadButton::South, VK_SPACE},   {PadButton::East, VK_LSHIFT},
      {PadButton::Start, VK_LSHIFT},  {PadButton::North, 'Z'},
      {PadButton::Back, VK_ESCAPE},   {PadButton::DpadUp, VK_UP},
      {PadButton::DpadLeft, VK_LEFT}, {PadButton::DpadRight, VK_RIGHT},
      {PadButton::West, 0},           {PadButton::DpadDown, 0},
      {PadButton::Guide, 0},          {PadButton::LeftShoulder, 0},
  };
  for (const auto& [button, key] : mapping) {
    EXPECT_EQ(ControllerKeys::KeyForButton(button), key) << static_cast<int>(button);
  }
}

TEST(ControllerKeysTest, AKeyStaysDownWhileAnyInputOfThePadGivesIt) {
  ControllerKeys pad;
  EXPECT_EQ(pad.SetButton(PadButton::East, true), (Changes{{VK_LSHIFT, true}}));
  EXPECT_EQ(pad.SetButton(PadButton::Start, true), Changes{});
  EXPECT_EQ(pad.SetButton(PadButton::East, false), Changes{});
  EXPECT_EQ(pad.SetButton(PadButton::Start, false), (Changes{{VK_LSHIFT, false}}));

  EXPECT_EQ(pad.SetButton(PadButton::DpadLeft, true), (Changes{{VK_LEFT, true}}));
  EXPECT_EQ(pad.SetAxis(PadAxis::LeftX, -32768), Changes{});
  EXPECT_EQ(pad.SetButton(PadButton::DpadLeft, false), Changes{});
  EXPECT_EQ(pad.SetAxis(PadAxis::LeftX, 32767), (Changes{{VK_LEFT, false}, {VK_RIGHT, true}}));
  EXPECT_EQ(pad.SetButton(PadButton::West, true), Changes{}) << "a button the game has no use for";
}

TEST(ControllerKeysTest, TheStickHasADeadZoneAndHysteresis) {
  ControllerKeys pad;
  EXPECT_EQ(pad.SetAxis(PadAxis::LeftY, -10922), Changes{}) << "within a third: nothing";
  EXPECT_EQ(pad.SetAxis(PadAxis::LeftY, -10923), (Changes{{VK_UP, true}}));
  EXPECT_EQ(pad.SetAxis(PadAxis::LeftY, -8193), Changes{}) << "back within a third: still up";
  EXPECT_EQ(pad.SetAxis(PadAxis::LeftY, -8192), (Changes{{VK_UP, false}}));
  EXPECT_EQ(pad.SetAxis(PadAxis::LeftY, 32767), Changes{}) << "down is no key";
  EXPECT_EQ(pad.SetAxis(PadAxis::LeftX, -20000), (Changes{{VK_LEFT, true}}));
  pad.Forget();
  EXPECT_EQ(pad.SetAxis(PadAxis::LeftX, -20000), (Changes{{VK_LEFT, true}}))
      << "after the focus came back, a stick still pushed counts afresh";
}

TEST(HeldKeysTest, AKeyHeldByTwoSourcesGoesUpWithTheLast) {
  HeldKeys held;
  Event keyboardDown{Event::Type::KeyDown, VK_SPACE, false};
  Event padDown = keyboardDown;
  ASSERT_TRUE(held.Admit(keyboardDown));
  EXPECT_FALSE(keyboardDown.repeat);
  ASSERT_TRUE(held.Admit(padDown, 1));
  EXPECT_TRUE(padDown.repeat) << "a second holder's press reaches the platform as a repeat";
  Event padUp{Event::Type::KeyUp, VK_SPACE, false};
  Event keyboardUp = padUp;
  EXPECT_FALSE(held.Admit(padUp, 1)) << "the keyboard still holds Space";
  EXPECT_TRUE(held.Admit(keyboardUp));

  Event up{Event::Type::KeyDown, VK_UP, false};
  Event left{Event::Type::KeyDown, VK_LEFT, false};
  Event leftByKeyboard = left;
  held.Admit(up, 2);
  held.Admit(left, 2);
  held.Admit(leftByKeyboard);
  const std::vector<Event> released = held.ReleaseSource(2);
  ASSERT_EQ(released.size(), 1u) << "Left is still held by the keyboard";
  EXPECT_EQ(released[0].virtualKey, VK_UP);
  EXPECT_EQ(held.ReleaseAll().size(), 1u);
  EXPECT_TRUE(held.ReleaseSource(2).empty());
}

}  // namespace
