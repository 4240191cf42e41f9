// Window classes and windows. The first window created is the one the host shows: it opens the
// host's window and receives the host's keyboard and close requests. No creation messages are
// sent; the game's procedure leaves them all to the default handling anyway.
#include <algorithm>
#include <cctype>
#include <string>

#include "platform/core/last_error.h"
#include "platform/core/live_objects.h"
#include "platform/core/resource_name.h"
#include "platform/host/host.h"
#include "platform/win32/win32_state.h"

namespace platform::win32 {
namespace {

// Class atoms live in the range Windows gives string atoms.
constexpr ATOM kFirstClassAtom = 0xC000;

bool SameName(const std::string& a, const char* b) {
  return std::equal(
      a.begin(), a.end(), b, b + std::char_traits<char>::length(b),
      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// A class name may be a string or, as on Windows, an atom in the pointer's low word.
const WindowClass* FindClass(LPCSTR name) {
  const auto& classes = User().classes;
  if (platform::IsResourceNumber(name)) {
    const auto value = reinterpret_cast<std::uintptr_t>(name);
    const std::size_t index = value - kFirstClassAtom;
    return value >= kFirstClassAtom && index < classes.size() ? &classes[index] : nullptr;
  }
  for (const WindowClass& windowClass : classes) {
    if (SameName(windowClass.name, name)) return &windowClass;
  }
  return nullptr;
}

void SetVisible(HWND handle, Window& window, bool visible) {
  if (visible && !window.visible) window.needsPaint = true;
  window.visible = visible;
  if (User().hostWindow == handle) host::SetWindowVisible(visible);
}

// Cursors and stock objects are shared system objects: their handles only need to be distinct.
struct SystemObjects {
  char arrowCursor;
  char blackBrush;
};
constexpr SystemObjects kSystemObjects{};

template <typename Handle>
Handle SystemHandle(const char& object) {
  return reinterpret_cast<Handle>(const_cast<char*>(&object));
}

}  // namespace
}  // namespace platform::win32

using namespace platform::win32;
using platform::Fail;

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  if (!windowClass || !windowClass->lpfnWndProc || !windowClass->lpszClassName ||
      platform::IsResourceNumber(windowClass->lpszClassName)) {
    return Fail(0, "RegisterClassA: the class has no name or no procedure");
  }
  auto& classes = User().classes;
  if (FindClass(windowClass->lpszClassName)) {
    return Fail(0, std::string("RegisterClassA: window class \"") + windowClass->lpszClassName +
                       "\" is registered already");
  }
  if (classes.size() >= 0x10000 - kFirstClassAtom) {
    return Fail(0, "RegisterClassA: too many window classes");
  }
  classes.push_back({windowClass->lpszClassName, windowClass->lpfnWndProc});
  return static_cast<ATOM>(kFirstClassAtom + classes.size() - 1);
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD, int, int, int width,
                     int height, HWND, HMENU, HINSTANCE, LPVOID) {
  const WindowClass* windowClass = className ? FindClass(className) : nullptr;
  if (!windowClass) {
    return Fail(nullptr,
                "CreateWindowExA: window class \"" +
                    (className ? platform::ResourceNameText(className) : std::string("(null)")) +
                    "\" is not registered");
  }
  UserState& user = User();
  if (user.hostWindow) {
    return Fail(nullptr, "CreateWindowExA: the platform shows only one window at a time");
  }
  std::string reason;
  if (!platform::host::OpenWindow(windowName ? windowName : "", width, height, &reason)) {
    return Fail(nullptr, reason);
  }
  auto window = std::make_unique<Window>();
  window->procedure = windowClass->procedure;
  const HWND handle = reinterpret_cast<HWND>(window.get());
  user.windows.emplace(handle, std::move(window));
  user.hostWindow = handle;
  platform::NoteObjectCreated(platform::ObjectKind::Window);
  return handle;
}

BOOL ShowWindow(HWND handle, int showCommand) {
  Window* window = FindWindow(handle);
  if (!window) return FALSE;
  const bool wasVisible = window->visible;
  SetVisible(handle, *window, showCommand != SW_HIDE);
  return wasVisible ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND handle) {
  Window* window = FindWindow(handle);
  if (!window) return FALSE;
  if (window->visible && window->needsPaint) {
    window->needsPaint = false;
    window->procedure(handle, WM_PAINT, 0, 0);
  }
  return TRUE;
}

BOOL DestroyWindow(HWND handle) {
  Window* window = FindWindow(handle);
  if (!window) {
    return Fail(FALSE, "DestroyWindow: not a window");
  }
  if (window->destroying) return FALSE;
  window->destroying = true;
  SetVisible(handle, *window, false);
  window->procedure(handle, WM_DESTROY, 0, 0);

  // Input still queued for the window has nowhere to go once it is gone.
  UserState& user = User();
  std::erase_if(user.queue,
                [handle](const QueuedMessage& queued) { return queued.message.hwnd == handle; });
  if (user.hostWindow == handle) {
    platform::host::CloseWindow();
    user.hostWindow = nullptr;
  }
  if (user.windows.erase(handle) > 0) platform::NoteObjectDestroyed(platform::ObjectKind::Window);
  return TRUE;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName) {
  if (instance == nullptr && cursorName == IDC_ARROW) {
    return SystemHandle<HCURSOR>(kSystemObjects.arrowCursor);
  }
  return Fail(nullptr, "LoadCursorA: no such cursor");
}

HGDIOBJ GetStockObject(int object) {
  if (object == BLACK_BRUSH) return SystemHandle<HGDIOBJ>(kSystemObjects.blackBrush);
  return Fail(nullptr,
              "GetStockObject: stock object " + std::to_string(object) + " is not available");
}
