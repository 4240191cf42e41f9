#include "tests/support/doubles/win32_fakes.h"

#include <gtest/gtest.h>

Win32Fakes& Fakes() {
  static Win32Fakes fakes;
  return fakes;
}

namespace {

// Distinct handles for the system objects, as the real calls give.
char arrowCursor;
char blackBrush;

}  // namespace

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  Fakes().calls.push_back("LoadCursorA");
  return instance == nullptr && name == IDC_ARROW ? reinterpret_cast<HCURSOR>(&arrowCursor)
                                                  : nullptr;
}

HGDIOBJ GetStockObject(int object) {
  Fakes().calls.push_back("GetStockObject");
  return object == BLACK_BRUSH ? reinterpret_cast<HGDIOBJ>(&blackBrush) : nullptr;
}

HCURSOR FakeArrowCursor() {
  return reinterpret_cast<HCURSOR>(&arrowCursor);
}
HBRUSH FakeBlackBrush() {
  return reinterpret_cast<HBRUSH>(&blackBrush);
}

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  Win32Fakes& fakes = Fakes();
  fakes.calls.push_back("RegisterClassA");
  fakes.registeredClass = *windowClass;
  fakes.registeredClassName = windowClass->lpszClassName;
  return fakes.registerSucceeds ? 0xC000 : 0;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  Win32Fakes& fakes = Fakes();
  fakes.calls.push_back("CreateWindowExA");
  fakes.created = {exStyle, className, windowName, style, x,        y,
                   width,   height,    parent,     menu,  instance, param};
  return fakes.createdWindow;
}

BOOL ShowWindow(HWND window, int showCommand) {
  Fakes().calls.push_back("ShowWindow");
  EXPECT_EQ(window, Fakes().createdWindow);
  Fakes().shownWith = showCommand;
  return FALSE;
}

BOOL UpdateWindow(HWND window) {
  Fakes().calls.push_back("UpdateWindow");
  EXPECT_EQ(window, Fakes().createdWindow);
  return TRUE;
}

BOOL DestroyWindow(HWND window) {
  Fakes().calls.push_back("DestroyWindow");
  Fakes().destroyed = window;
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  Fakes().calls.push_back("PostQuitMessage");
  Fakes().quitCode = exitCode;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Fakes().calls.push_back("DefWindowProcA");
  Fakes().defaultCalls.push_back({window, message, wParam, lParam});
  return Fakes().defaultResult;
}

DWORD GetTickCount() {
  Win32Fakes& fakes = Fakes();
  fakes.calls.push_back("GetTickCount");
  if (fakes.ticks.empty()) {
    ADD_FAILURE() << "GetTickCount read more often than the test expected";
    return 0;
  }
  const DWORD tick = fakes.ticks.front();
  fakes.ticks.pop_front();
  return tick;
}
