// A fresh window side over a fresh headless host for every test, and a window procedure that
// records what it is sent.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/api/win32.h"
#include "platform/host/headless/headless_host.h"
#include "platform/testing.h"

struct SentMessage {
  HWND window;
  UINT message;
  WPARAM wParam;
  bool operator==(const SentMessage&) const = default;
};

class Win32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::host::headless::Reset();
    platform::testing::ResetUserInterface();
    Sent().clear();
  }
  void TearDown() override { platform::testing::ResetUserInterface(); }

  static std::vector<SentMessage>& Sent() {
    static std::vector<SentMessage> sent;
    return sent;
  }

  // Records the message, then leaves it to the default handling.
  static LRESULT RecordMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Sent().push_back({window, message, wParam});
    return DefWindowProcA(window, message, wParam, lParam);
  }

  static HWND OpenTestWindow(const char* title = "Test") {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = RecordMessage;
    windowClass.lpszClassName = "Test Class";
    if (RegisterClassA(&windowClass) == 0) return nullptr;
    return CreateWindowExA(0, "Test Class", title, WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }

  // Takes every message waiting (WM_QUIT included) and dispatches it, returning what was taken.
  static std::vector<SentMessage> TakeAll() {
    std::vector<SentMessage> taken;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      taken.push_back({message.hwnd, message.message, message.wParam});
      if (message.message == WM_QUIT) break;
      DispatchMessageA(&message);
    }
    return taken;
  }
};
