#include <gtest/gtest.h>

#include <string>

#include "platform/host/headless/headless_host.h"
#include "tests/platform/win32/win32_fixture.h"

namespace {

namespace headless = platform::host::headless;

using WindowsTest = Win32Test;

TEST_F(WindowsTest, ClassesRegisterOnceByName) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = RecordMessage;
  windowClass.lpszClassName = "Main Window";
  EXPECT_NE(RegisterClassA(&windowClass), 0);
  windowClass.lpszClassName = "MAIN WINDOW";
  EXPECT_EQ(RegisterClassA(&windowClass), 0);
  EXPECT_NE(std::string(GetPlatformErrorText()).find("registered already"), std::string::npos);
  windowClass.lpfnWndProc = nullptr;
  windowClass.lpszClassName = "Other";
  EXPECT_EQ(RegisterClassA(&windowClass), 0);
  EXPECT_EQ(RegisterClassA(nullptr), 0);
  EXPECT_EQ(CreateWindowExA(0, "Unknown", "x", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr,
                            nullptr),
            nullptr);
}

TEST_F(WindowsTest, WithoutADisplayCreationFailsAndSaysWhy) {
  headless::Reset({.displayAvailable = false});
  EXPECT_EQ(OpenTestWindow(), nullptr);
  EXPECT_NE(std::string(GetPlatformErrorText()).find("no display"), std::string::npos);
  EXPECT_FALSE(platform::host::WindowIsOpen());
}

TEST_F(WindowsTest, CreatedHiddenShownOnRequestAndPaintedOnce) {
  const HWND window = OpenTestWindow("Direct3D IM test");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(headless::WindowTitle(), "Direct3D IM test");
  EXPECT_FALSE(headless::WindowVisible());
  EXPECT_TRUE(Sent().empty());

  EXPECT_FALSE(ShowWindow(window, SW_SHOWDEFAULT));
  EXPECT_TRUE(headless::WindowVisible());
  EXPECT_TRUE(UpdateWindow(window));
  EXPECT_TRUE(UpdateWindow(window));
  const std::vector<SentMessage> painted = {{window, WM_PAINT, 0}};
  EXPECT_EQ(Sent(), painted);

  EXPECT_TRUE(ShowWindow(window, SW_HIDE));
  EXPECT_FALSE(headless::WindowVisible());
  EXPECT_EQ(OpenTestWindow(), nullptr) << "the platform shows one window at a time";
}

TEST_F(WindowsTest, QueueKeepsOrderAndQuitComesLast) {
  const HWND window = OpenTestWindow();
  ASSERT_NE(window, nullptr);
  headless::QueueKeyDown(VK_LEFT);
  PostQuitMessage(7);
  headless::QueueKeyUp(VK_LEFT);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_KEYDOWN);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_KEYUP);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(message.message, WM_QUIT);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_QUIT);
  EXPECT_EQ(message.wParam, 7u);
  EXPECT_EQ(message.hwnd, nullptr);
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowsTest, CloseRequestDestroysTheWindowThroughTheDefaultHandling) {
  const HWND window = OpenTestWindow();
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  headless::QueueClose();
  headless::QueueKeyDown(VK_SPACE);  // queued behind the close: lost with the window
  const auto taken = TakeAll();
  const std::vector<SentMessage> expectedTaken = {{window, WM_CLOSE, 0}};
  EXPECT_EQ(taken, expectedTaken);
  const std::vector<SentMessage> expectedSent = {{window, WM_CLOSE, 0}, {window, WM_DESTROY, 0}};
  EXPECT_EQ(Sent(), expectedSent);
  EXPECT_FALSE(platform::host::WindowIsOpen());
  EXPECT_FALSE(DestroyWindow(window));
  EXPECT_FALSE(ShowWindow(window, SW_SHOW));
  EXPECT_GE(GetKeyState(VK_SPACE), 0);

  // With no window, input has nowhere to go.
  headless::QueueKeyDown(VK_UP);
  EXPECT_TRUE(TakeAll().empty());
}

TEST_F(WindowsTest, TranslateTypesCharactersAheadOfWaitingInput) {
  const HWND window = OpenTestWindow();
  ASSERT_NE(window, nullptr);
  headless::QueueKeyDown(VK_LSHIFT);
  headless::QueueKeyDown('Z');
  headless::QueueKeyUp('Z');
  headless::QueueKeyDown(VK_F12);
  std::vector<SentMessage> taken;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    taken.push_back({message.hwnd, message.message, message.wParam});
    EXPECT_EQ(TranslateMessage(&message), message.message != WM_CHAR ? TRUE : FALSE);
  }
  const std::vector<SentMessage> expected = {{window, WM_KEYDOWN, VK_SHIFT},
                                             {window, WM_KEYDOWN, 'Z'},
                                             {window, WM_CHAR, 'Z'},
                                             {window, WM_KEYUP, 'Z'},
                                             {window, WM_KEYDOWN, VK_F12}};
  EXPECT_EQ(taken, expected);
}

TEST_F(WindowsTest, DispatchReachesOnlyLiveWindows) {
  const HWND window = OpenTestWindow();
  ASSERT_NE(window, nullptr);
  MSG message{window, WM_KEYDOWN, VK_UP, 0, 0, {0, 0}};
  DispatchMessageA(&message);
  message.hwnd = nullptr;
  DispatchMessageA(&message);
  message.hwnd = reinterpret_cast<HWND>(&message);
  DispatchMessageA(&message);
  const std::vector<SentMessage> expected = {{window, WM_KEYDOWN, VK_UP}};
  EXPECT_EQ(Sent(), expected);
}

}  // namespace
