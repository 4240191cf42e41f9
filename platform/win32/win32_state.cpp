#include "platform/win32/win32_state.h"

#include "platform/core/live_objects.h"
#include "platform/host/host.h"
#include "platform/win32/user_interface.h"

namespace platform::win32 {

Win32State& State() {
  static Win32State state;
  return state;
}

Window* FindWindow(HWND handle) {
  auto& windows = User().windows;
  const auto found = windows.find(handle);
  return found == windows.end() ? nullptr : found->second.get();
}

}  // namespace platform::win32

namespace platform {

void ResetUserInterface() {
  for (std::size_t i = 0; i < win32::User().windows.size(); ++i) {
    NoteObjectDestroyed(ObjectKind::Window);
  }
  win32::User() = win32::UserState{};
  host::CloseWindow();
}

}  // namespace platform
