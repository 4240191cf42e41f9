// Logging fakes of the Windows calls the window code and the frame clock make, so that tests
// can see the exact values the shell passes and feed it tick readings.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/api/win32.h"

struct Win32Fakes {
  std::vector<std::string> calls;  // the calls made, in order ("RegisterClassA", ...)
  WNDCLASSA registeredClass{};
  std::string registeredClassName;
  bool registerSucceeds = true;
  HWND createdWindow = reinterpret_cast<HWND>(0x1000);  // what CreateWindowExA returns

  struct CreateArguments {
    DWORD exStyle;
    std::string className;
    std::string windowName;
    DWORD style;
    int x, y, width, height;
    HWND parent;
    HMENU menu;
    HINSTANCE instance;
    LPVOID param;
  } created{};
  int shownWith = -1;
  HWND destroyed = nullptr;
  int quitCode = -1;
  struct DefaultCall {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  std::vector<DefaultCall> defaultCalls;  // what reached DefWindowProcA
  LRESULT defaultResult = 0;
  std::deque<DWORD> ticks;  // GetTickCount's next readings
};

Win32Fakes& Fakes();

// The handles LoadCursorA(nullptr, IDC_ARROW) and GetStockObject(BLACK_BRUSH) give.
HCURSOR FakeArrowCursor();
HBRUSH FakeBlackBrush();
