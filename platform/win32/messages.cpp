// The thread's message queue. Host events become messages when the queue is looked at; WM_QUIT
// is not queued but flagged, and is taken only once nothing else is waiting.
#include "platform/core/last_error.h"
#include "platform/host/host.h"
#include "platform/win32/key_messages.h"
#include "platform/win32/win32_state.h"

namespace platform::win32 {
namespace {

bool IsKeyMessage(UINT kind) {
  return kind == WM_KEYDOWN || kind == WM_KEYUP || kind == WM_SYSKEYDOWN || kind == WM_SYSKEYUP;
}

QueuedMessage MessageFor(const host::Event& event, HWND target, std::bitset<256>& hostDown) {
  QueuedMessage queued;
  queued.message.hwnd = target;
  queued.message.time = GetTickCount();
  switch (event.type) {
    case host::Event::Type::KeyDown:
    case host::Event::Type::KeyUp: {
      const KeyMessage key = KeyMessageFor(event, hostDown);
      queued.message.message = key.message;
      queued.message.wParam = key.wParam;
      queued.message.lParam = key.lParam;
      queued.hostKey = event.virtualKey;
      break;
    }
    case host::Event::Type::Close:
      queued.message.message = WM_CLOSE;
      break;
  }
  return queued;
}

// Input goes to the window the host shows; with no such window it is dropped (the keyboard's
// state is still followed, for the Alt key).
void TakeHostEvents(UserState& user) {
  host::Event event;
  while (host::PollEvent(event)) {
    QueuedMessage queued = MessageFor(event, user.hostWindow, user.hostDown);
    if (user.hostWindow) user.queue.push_back(queued);
  }
}

bool Matches(const MSG& message, HWND window, UINT filterMin, UINT filterMax) {
  if (window && message.hwnd != window) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return message.message >= filterMin && message.message <= filterMax;
}

void NoteTaken(UserState& user, const QueuedMessage& queued) {
  const UINT kind = queued.message.message;
  if (!IsKeyMessage(kind)) return;
  const bool repeat = (queued.message.lParam & (LPARAM{1} << 30)) != 0;
  NoteKeyTaken(user.keys, queued.hostKey, kind == WM_KEYDOWN || kind == WM_SYSKEYDOWN, repeat);
}

}  // namespace
}  // namespace platform::win32

using namespace platform::win32;

BOOL PeekMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!message) return FALSE;
  UserState& user = User();
  TakeHostEvents(user);
  const bool remove = (removeFlags & PM_REMOVE) != 0;
  for (auto it = user.queue.begin(); it != user.queue.end(); ++it) {
    if (!Matches(it->message, window, filterMin, filterMax)) continue;
    *message = it->message;
    if (remove) {
      const QueuedMessage taken = *it;
      user.queue.erase(it);
      NoteTaken(user, taken);
    }
    return TRUE;
  }
  // WM_QUIT is retrieved whatever the filter, once nothing else matches.
  if (!user.quitPending) return FALSE;
  *message = MSG{};
  message->message = WM_QUIT;
  message->wParam = static_cast<WPARAM>(user.quitCode);
  message->time = GetTickCount();
  if (remove) user.quitPending = false;
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* message) {
  if (!message) return 0;
  Window* window = FindWindow(message->hwnd);
  const LRESULT result =
      window ? window->procedure(message->hwnd, message->message, message->wParam, message->lParam)
             : 0;
  // Checked after the procedure (and after TranslateMessage, which runs before this call and may
  // have queued a character): only now is it sure that the loop's next turn finds nothing.
  const UserState& user = User();
  if (user.queue.empty() && !user.quitPending) platform::host::MessageQueueDrained();
  return result;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSKEYDOWN:
      // Alt+F4 closes the window, as the system menu's Close would; Alt alone opens no menu
      // here, as the game's window has none.
      if (wParam == VK_F4 && (lParam & (LPARAM{1} << 29)) != 0) {
        if (Window* record = FindWindow(window)) record->procedure(window, WM_CLOSE, 0, 0);
      }
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_PAINT:
      if (Window* record = FindWindow(window)) record->needsPaint = false;
      return 0;
    default:
      return 0;
  }
}

void PostQuitMessage(int exitCode) {
  UserState& user = User();
  user.quitPending = true;
  user.quitCode = exitCode;
}
