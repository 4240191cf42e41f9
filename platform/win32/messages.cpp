// The thread's message queue. Host events become messages when the queue is looked at; WM_QUIT
// is not queued but flagged, and is taken only once nothing else is waiting.
#include "platform/core/last_error.h"
#include "platform/host/host.h"
#include "platform/win32/user_state.h"

namespace platform::win32 {
namespace {

// A key message's lParam: repeat count 1; bit 30 says the key was down before; bit 31 is set
// for a release. No scan code is given.
LPARAM KeyMessageParam(bool down, bool repeat) {
  std::uint32_t bits = 1;
  if (!down || repeat) bits |= 1u << 30;
  if (!down) bits |= 1u << 31;
  return static_cast<LPARAM>(bits);
}

QueuedMessage MessageFor(const host::Event& event, HWND target) {
  QueuedMessage queued;
  queued.message.hwnd = target;
  queued.message.time = GetTickCount();
  switch (event.type) {
    case host::Event::Type::KeyDown:
    case host::Event::Type::KeyUp: {
      const bool down = event.type == host::Event::Type::KeyDown;
      queued.message.message = down ? WM_KEYDOWN : WM_KEYUP;
      queued.message.wParam = static_cast<WPARAM>(MessageKey(event.virtualKey));
      queued.message.lParam = KeyMessageParam(down, event.repeat);
      queued.hostKey = event.virtualKey;
      break;
    }
    case host::Event::Type::Close:
      queued.message.message = WM_CLOSE;
      break;
  }
  return queued;
}

// Input goes to the window the host shows; with no such window it is dropped.
void TakeHostEvents(UserState& user) {
  host::Event event;
  while (host::PollEvent(event)) {
    if (user.hostWindow) user.queue.push_back(MessageFor(event, user.hostWindow));
  }
}

bool Matches(const MSG& message, HWND window, UINT filterMin, UINT filterMax) {
  if (window && message.hwnd != window) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return message.message >= filterMin && message.message <= filterMax;
}

void NoteTaken(UserState& user, const QueuedMessage& queued) {
  const UINT kind = queued.message.message;
  if (kind != WM_KEYDOWN && kind != WM_KEYUP) return;
  const bool repeat = (queued.message.lParam & (LPARAM{1} << 30)) != 0;
  NoteKeyTaken(user.keys, queued.hostKey, kind == WM_KEYDOWN, repeat);
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

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
  switch (message) {
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
