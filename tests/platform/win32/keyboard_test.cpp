#include <gtest/gtest.h>

#include "platform/host/headless/headless_host.h"
#include "tests/platform/win32/win32_fixture.h"

namespace {

namespace headless = platform::host::headless;

using KeyboardTest = Win32Test;

constexpr SHORT kDown = static_cast<SHORT>(0xFF80);

TEST_F(KeyboardTest, StateChangesOnlyWhenTheMessageIsTaken) {
  ASSERT_NE(OpenTestWindow(), nullptr);
  headless::QueueKeyDown(VK_UP);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(message.message, WM_KEYDOWN);
  EXPECT_EQ(GetKeyState(VK_UP), 0) << "peeking without removing leaves the state alone";

  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetKeyState(VK_UP) & ~1, kDown);
  EXPECT_LT(GetKeyState(VK_UP), 0);

  headless::QueueKeyUp(VK_UP);
  EXPECT_EQ(GetKeyState(VK_UP) & ~1, kDown) << "the release is still in the queue";
  TakeAll();
  EXPECT_EQ(GetKeyState(VK_UP) & ~1, 0);
}

TEST_F(KeyboardTest, LowBitTogglesWithEachFreshPressNotWithRepeats) {
  ASSERT_NE(OpenTestWindow(), nullptr);
  headless::QueueKeyDown('Z');
  TakeAll();
  EXPECT_EQ(GetKeyState('Z'), static_cast<SHORT>(0xFF81));
  headless::QueueEvent({platform::host::Event::Type::KeyDown, 'Z', true});
  headless::QueueKeyUp('Z');
  TakeAll();
  EXPECT_EQ(GetKeyState('Z'), 1);
  headless::QueueKeyDown('Z');
  TakeAll();
  EXPECT_EQ(GetKeyState('Z'), kDown);
}

TEST_F(KeyboardTest, ShiftIsDownWhileEitherShiftKeyIs) {
  const HWND window = OpenTestWindow();
  ASSERT_NE(window, nullptr);
  headless::QueueKeyDown(VK_LSHIFT);
  headless::QueueKeyDown(VK_RSHIFT);
  headless::QueueKeyUp(VK_LSHIFT);
  const auto taken = TakeAll();
  const std::vector<SentMessage> expected = {
      {window, WM_KEYDOWN, VK_SHIFT}, {window, WM_KEYDOWN, VK_SHIFT}, {window, WM_KEYUP, VK_SHIFT}};
  EXPECT_EQ(taken, expected);
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  EXPECT_LT(GetKeyState(VK_RSHIFT), 0);
  EXPECT_GE(GetKeyState(VK_LSHIFT), 0);

  headless::QueueKeyUp(VK_RSHIFT);
  TakeAll();
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

TEST_F(KeyboardTest, LosingTheFocusReleasesEveryKeyDown) {
  ASSERT_NE(OpenTestWindow(), nullptr);
  headless::QueueKeyDown(VK_SPACE);
  headless::QueueKeyDown(VK_LEFT);
  headless::QueueKeyDown(VK_LSHIFT);
  TakeAll();
  headless::LoseFocus();
  TakeAll();
  for (const int key : {VK_SPACE, VK_LEFT, VK_SHIFT, VK_LSHIFT}) {
    EXPECT_GE(GetKeyState(key), 0) << key;
  }
}

TEST_F(KeyboardTest, KeyMessagesCarryTheRepeatAndTransitionBits) {
  ASSERT_NE(OpenTestWindow(), nullptr);
  headless::QueueKeyDown(VK_SPACE);
  headless::QueueKeyDown(VK_SPACE);  // held already: a repeat
  headless::QueueKeyUp(VK_SPACE);
  headless::QueueKeyUp(VK_SPACE);  // not down any more: dropped
  std::vector<LPARAM> params;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) params.push_back(message.lParam);
  // Repeat count 1 and the space bar's scan code, 0x39.
  const std::vector<LPARAM> expected = {0x00390001, 0x40390001, static_cast<LPARAM>(0xC0390001u)};
  EXPECT_EQ(params, expected);
}

}  // namespace
