// Alt, F10 and keys pressed with Alt down come as system keys, with the lParam Windows gives
// them; Alt+F4 closes the window through the default handling.
#include <gtest/gtest.h>

#include "platform/host/headless/headless_host.h"
#include "tests/platform/win32/win32_fixture.h"

namespace {

namespace headless = platform::host::headless;

using SystemKeysTest = Win32Test;

struct KeyMessage {
  UINT message;
  WPARAM wParam;
  std::uint32_t lParam;
  bool operator==(const KeyMessage&) const = default;
};

// Takes and translates every waiting message, as the game's loop does, without dispatching.
std::vector<KeyMessage> TakeTranslated() {
  std::vector<KeyMessage> taken;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    taken.push_back({message.message, message.wParam, static_cast<std::uint32_t>(message.lParam)});
    TranslateMessage(&message);
  }
  return taken;
}

TEST_F(SystemKeysTest, AltAndTheKeysPressedWithItAreSystemKeys) {
  ASSERT_NE(OpenTestWindow(), nullptr);
  headless::QueueKeyDown(VK_LMENU);
  headless::QueueKeyDown('Z');
  headless::QueueKeyDown('Z');  // auto-repeat
  headless::QueueKeyUp('Z');
  headless::QueueKeyUp(VK_LMENU);
  // Scan codes: Alt 0x38, Z 0x2C; bit 29 while Alt is down, 30 for a key down before, 31 up.
  const std::vector<KeyMessage> expected = {
      {WM_SYSKEYDOWN, VK_MENU, 0x20380001}, {WM_SYSKEYDOWN, 'Z', 0x202C0001},
      {WM_SYSCHAR, 'z', 0x202C0001},        {WM_SYSKEYDOWN, 'Z', 0x602C0001},
      {WM_SYSCHAR, 'z', 0x602C0001},        {WM_SYSKEYUP, 'Z', 0xE02C0001},
      {WM_SYSKEYUP, VK_MENU, 0xC0380001},
  };
  EXPECT_EQ(TakeTranslated(), expected);
}

TEST_F(SystemKeysTest, WhetherAltIsDownIsJudgedAtEachPressAndRelease) {
  ASSERT_NE(OpenTestWindow(), nullptr);
  headless::QueueKeyDown(VK_LEFT);   // before Alt: a plain key, extended
  headless::QueueKeyDown(VK_RMENU);  // the right Alt is extended too
  headless::QueueKeyDown(VK_SPACE);
  headless::QueueKeyUp(VK_RMENU);
  headless::QueueKeyUp(VK_SPACE);  // after Alt: a plain release
  headless::QueueKeyUp(VK_LEFT);
  headless::QueueKeyDown(VK_F10);  // a system key without Alt, and no character
  headless::QueueKeyUp(VK_F10);
  const std::vector<KeyMessage> expected = {
      {WM_KEYDOWN, VK_LEFT, 0x014B0001},     {WM_SYSKEYDOWN, VK_MENU, 0x21380001},
      {WM_SYSKEYDOWN, VK_SPACE, 0x20390001}, {WM_SYSCHAR, ' ', 0x20390001},
      {WM_SYSKEYUP, VK_MENU, 0xC1380001},    {WM_KEYUP, VK_SPACE, 0xC0390001},
      {WM_KEYUP, VK_LEFT, 0xC14B0001},       {WM_SYSKEYDOWN, VK_F10, 0x00440001},
      {WM_SYSKEYUP, VK_F10, 0xC0440001},
  };
  EXPECT_EQ(TakeTranslated(), expected);
}

TEST_F(SystemKeysTest, GetKeyStateSeesSystemKeys) {
  ASSERT_NE(OpenTestWindow(), nullptr);
  headless::QueueKeyDown(VK_RMENU);
  headless::QueueKeyDown('Z');
  TakeTranslated();
  EXPECT_LT(GetKeyState(VK_MENU), 0);
  EXPECT_LT(GetKeyState(VK_RMENU), 0);
  EXPECT_GE(GetKeyState(VK_LMENU), 0);
  EXPECT_LT(GetKeyState('Z'), 0);
  headless::QueueKeyUp(VK_RMENU);
  headless::QueueKeyUp('Z');
  TakeTranslated();
  EXPECT_GE(GetKeyState(VK_MENU), 0);
  EXPECT_GE(GetKeyState('Z'), 0);
}

TEST_F(SystemKeysTest, AltF4ClosesTheWindowAndNoOtherSystemKeyDoesAnything) {
  const HWND window = OpenTestWindow();
  ASSERT_NE(window, nullptr);
  headless::QueueKeyDown(VK_F4);  // F4 alone
  headless::QueueKeyUp(VK_F4);
  headless::QueueKeyDown(VK_LMENU);
  headless::QueueKeyDown(VK_ESCAPE);
  headless::QueueKeyUp(VK_ESCAPE);
  TakeAll();
  ASSERT_TRUE(platform::host::WindowIsOpen()) << "only Alt+F4 closes";
  Sent().clear();
  headless::QueueKeyDown(VK_F4);
  TakeAll();
  const std::vector<SentMessage> expected = {
      {window, WM_SYSKEYDOWN, VK_F4}, {window, WM_CLOSE, 0}, {window, WM_DESTROY, 0}};
  EXPECT_EQ(Sent(), expected);
  EXPECT_FALSE(platform::host::WindowIsOpen());
}

}  // namespace
