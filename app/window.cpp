#include "app/shell.h"
#include "record/game_globals.h"

namespace {

constexpr char kClassName[] = "Main Window";
constexpr char kWindowText[] = "Direct3D IM test";
constexpr int kZKey = 90;

}  // namespace

int InitWindow(HINSTANCE instance, int showCommand) {
  WNDCLASSA windowClass;
  windowClass.style = CS_BYTEALIGNCLIENT | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = nullptr;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassA(&windowClass)) return 0;

  globals.mainWindow = CreateWindowExA(0, kClassName, kWindowText, WS_POPUP, 0, 0, 640, 480,
                                       nullptr, nullptr, instance, nullptr);
  // Without a window (on Linux: without a display) nothing that follows can work, so the
  // failure is reported here, where its reason is known, rather than by the display set-up.
  if (!globals.mainWindow) return 0;
  ShowWindow(globals.mainWindow, showCommand);
  UpdateWindow(globals.mainWindow);
  return 1;
}

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE || wParam == VK_F12) {
        DestroyWindow(window);
      } else if (wParam == kZKey) {
        // Every key-down toggles, auto-repeats included: holding Z flickers the filter.
        globals.filterEnabled = globals.filterEnabled == 0 ? 1 : 0;
      }
      // Every other key, the ones the game polls included, is swallowed here.
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
