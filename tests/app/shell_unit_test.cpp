// The window code and the frame clock against logging fakes of the Windows calls: the exact
// values of the class and the window, the message procedure's table, and the clock's arithmetic.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/shell.h"
#include "record/game_globals.h"
#include "tests/support/doubles/win32_fakes.h"

namespace {

HINSTANCE TestInstance() {
  return reinterpret_cast<HINSTANCE>(0x400000);
}

class ShellUnitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Fakes() = Win32Fakes{};
    globals = GameGlobals{};
  }
  void TearDown() override {
    EXPECT_TRUE(Fakes().ticks.empty()) << "GetTickCount read less often than expected";
  }
};

TEST_F(ShellUnitTest, InitWindowRegistersTheClassWithItsFixedValues) {
  ASSERT_EQ(InitWindow(TestInstance(), SW_SHOWDEFAULT), 1);
  const WNDCLASSA& registered = Fakes().registeredClass;
  EXPECT_EQ(registered.style, 0x1003u);
  EXPECT_EQ(registered.lpfnWndProc, &WindowProc);
  EXPECT_EQ(registered.cbClsExtra, 0);
  EXPECT_EQ(registered.cbWndExtra, 0);
  EXPECT_EQ(registered.hInstance, TestInstance());
  EXPECT_EQ(registered.hIcon, nullptr);
  EXPECT_EQ(registered.hCursor, FakeArrowCursor());
  EXPECT_EQ(registered.hbrBackground, FakeBlackBrush());
  EXPECT_EQ(registered.lpszMenuName, nullptr);
  EXPECT_EQ(Fakes().registeredClassName, "Main Window");
}

TEST_F(ShellUnitTest, InitWindowCreatesShowsAndPaintsThePopUp) {
  ASSERT_EQ(InitWindow(TestInstance(), 3), 1);
  const auto& created = Fakes().created;
  EXPECT_EQ(created.exStyle, 0u);
  EXPECT_EQ(created.className, "Main Window");
  EXPECT_EQ(created.windowName, "Direct3D IM test");
  EXPECT_EQ(created.style, WS_POPUP);
  EXPECT_EQ(created.x, 0);
  EXPECT_EQ(created.y, 0);
  EXPECT_EQ(created.width, 640);
  EXPECT_EQ(created.height, 480);
  EXPECT_EQ(created.parent, nullptr);
  EXPECT_EQ(created.menu, nullptr);
  EXPECT_EQ(created.instance, TestInstance());
  EXPECT_EQ(created.param, nullptr);
  EXPECT_EQ(globals.mainWindow, Fakes().createdWindow);
  EXPECT_EQ(Fakes().shownWith, 3) << "the caller's show command is passed on";
  const std::vector<std::string> order = {"LoadCursorA",     "GetStockObject", "RegisterClassA",
                                          "CreateWindowExA", "ShowWindow",     "UpdateWindow"};
  EXPECT_EQ(Fakes().calls, order);
}

TEST_F(ShellUnitTest, InitWindowFailsWithoutTheClassOrTheWindow) {
  Fakes().registerSucceeds = false;
  EXPECT_EQ(InitWindow(TestInstance(), SW_SHOWDEFAULT), 0);
  EXPECT_EQ(std::count(Fakes().calls.begin(), Fakes().calls.end(), "CreateWindowExA"), 0);

  Fakes() = Win32Fakes{};
  Fakes().createdWindow = nullptr;
  EXPECT_EQ(InitWindow(TestInstance(), SW_SHOWDEFAULT), 0);
  EXPECT_EQ(std::count(Fakes().calls.begin(), Fakes().calls.end(), "ShowWindow"), 0);
}

TEST_F(ShellUnitTest, EscapeAndF12DestroyTheWindowOnKeyDown) {
  const HWND window = reinterpret_cast<HWND>(0x2000);
  for (const WPARAM key : {WPARAM{VK_ESCAPE}, WPARAM{VK_F12}}) {
    Fakes() = Win32Fakes{};
    EXPECT_EQ(WindowProc(window, WM_KEYDOWN, key, 0x00010001), 0);
    EXPECT_EQ(Fakes().destroyed, window);
    EXPECT_TRUE(Fakes().defaultCalls.empty());
  }
  // A key-up of Escape is not a key-down: it goes to the default handling.
  Fakes() = Win32Fakes{};
  Fakes().defaultResult = 5;
  EXPECT_EQ(WindowProc(window, WM_KEYUP, VK_ESCAPE, 0), 5);
  EXPECT_EQ(Fakes().destroyed, nullptr);
}

TEST_F(ShellUnitTest, DestructionPostsQuitWithCodeZero) {
  EXPECT_EQ(WindowProc(reinterpret_cast<HWND>(0x2000), WM_DESTROY, 0, 0), 0);
  EXPECT_EQ(Fakes().quitCode, 0);
  EXPECT_TRUE(Fakes().defaultCalls.empty());
}

TEST_F(ShellUnitTest, EveryZKeyDownTogglesTheFilterRepeatsIncluded) {
  const HWND window = reinterpret_cast<HWND>(0x2000);
  ASSERT_EQ(globals.filterEnabled, 1);
  EXPECT_EQ(WindowProc(window, WM_KEYDOWN, 90, 0x00000001), 0);
  EXPECT_EQ(globals.filterEnabled, 0);
  EXPECT_EQ(WindowProc(window, WM_KEYDOWN, 90, 0x40000001), 0);  // auto-repeat
  EXPECT_EQ(globals.filterEnabled, 1);
  WindowProc(window, WM_KEYDOWN, 90, 0x40000001);
  EXPECT_EQ(globals.filterEnabled, 0);
  WindowProc(window, WM_KEYUP, 90, static_cast<LPARAM>(0xC0000001u));
  EXPECT_EQ(globals.filterEnabled, 0) << "a key-up does not toggle";
  EXPECT_TRUE(Fakes().calls.size() == 1 && Fakes().calls[0] == "DefWindowProcA");
}

TEST_F(ShellUnitTest, OtherKeyDownsAreSwallowed) {
  const HWND window = reinterpret_cast<HWND>(0x2000);
  Fakes().defaultResult = 99;
  for (const WPARAM key : {WPARAM{VK_UP}, WPARAM{VK_LEFT}, WPARAM{VK_RIGHT}, WPARAM{VK_SPACE},
                           WPARAM{VK_SHIFT}, WPARAM{'A'}, WPARAM{'z'}, WPARAM{VK_RETURN}}) {
    EXPECT_EQ(WindowProc(window, WM_KEYDOWN, key, 1), 0) << key;
  }
  EXPECT_TRUE(Fakes().calls.empty());
  EXPECT_EQ(globals.filterEnabled, 1);
}

TEST_F(ShellUnitTest, OtherMessagesGoToTheDefaultHandlingUnchanged) {
  const HWND window = reinterpret_cast<HWND>(0x2000);
  Fakes().defaultResult = 42;
  const UINT messages[] = {WM_CLOSE, WM_PAINT, WM_CHAR, WM_KEYUP, WM_ACTIVATEAPP, WM_CREATE};
  for (const UINT message : messages) {
    EXPECT_EQ(WindowProc(window, message, 7, 9), 42) << message;
  }
  ASSERT_EQ(Fakes().defaultCalls.size(), std::size(messages));
  for (std::size_t i = 0; i < std::size(messages); ++i) {
    const auto& call = Fakes().defaultCalls[i];
    EXPECT_EQ(call.window, window);
    EXPECT_EQ(call.message, messages[i]);
    EXPECT_EQ(call.wParam, 7u);
    EXPECT_EQ(call.lParam, 9);
  }
  EXPECT_EQ(Fakes().destroyed, nullptr);
}

TEST_F(ShellUnitTest, FrameClockMeasuresFromTheLastReadingAndTakesAFreshOne) {
  globals.lastTick = 1000;
  Fakes().ticks = {1016, 1019};
  FrameClock();
  EXPECT_EQ(globals.frameSeconds, 0.016f);
  EXPECT_EQ(globals.lastTick, 1019u) << "the second reading, not the first";

  Fakes().ticks = {1019, 1019};
  FrameClock();
  EXPECT_EQ(globals.frameSeconds, 0.0f);
}

TEST_F(ShellUnitTest, FrameClockSurvivesTheCounterWrapping) {
  globals.lastTick = 0xFFFFFFF6u;
  Fakes().ticks = {0x0000000Au, 0x0000000Au};
  FrameClock();
  EXPECT_EQ(globals.frameSeconds, 0.02f);
}

}  // namespace
