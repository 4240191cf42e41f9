// The state of the platform's window side: classes, windows, the thread's message queue and the
// keyboard as the messages taken describe it. Private to platform/win32/.
#pragma once

#include <bitset>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/win32.h"

namespace platform::win32 {

struct WindowClass {
  std::string name;
  WNDPROC procedure = nullptr;
};

struct Window {
  WNDPROC procedure = nullptr;
  bool visible = false;
  bool needsPaint = false;  // shown since the last WM_PAINT was sent
  bool destroying = false;  // DestroyWindow is running for it; nested calls do nothing
};

struct QueuedMessage {
  MSG message{};
  int hostKey = 0;  // for key messages, the sided key the host reported (VK_LSHIFT, ...)
};

// Key states, indexed by virtual-key code, as the key messages already taken describe them.
struct KeyTable {
  std::bitset<256> down;     // by the key the host reported (sided for shift, control, Alt)
  std::bitset<256> toggled;  // flips with each fresh press, by plain and by sided code
};

struct UserState {
  std::vector<WindowClass> classes;                 // registered classes, by unique name
  std::map<HWND, std::unique_ptr<Window>> windows;  // live windows; the handle is the record
  HWND hostWindow = nullptr;        // the window the host shows; it receives the host's input
  std::deque<QueuedMessage> queue;  // posted and input messages, oldest first
  bool quitPending = false;         // PostQuitMessage was called and WM_QUIT not yet taken
  int quitCode = 0;                 // the wParam of that WM_QUIT
  KeyTable keys;
  std::bitset<256> hostDown;  // sided keys down as the host reported them, ahead of the queue
};

UserState& User();

// The window for a handle (also while its WM_DESTROY runs), or null for an unknown one.
Window* FindWindow(HWND handle);

// The key a message carries for a host key: VK_SHIFT for VK_LSHIFT and VK_RSHIFT, and so on.
int MessageKey(int hostKey);
// Updates the key table for a key message taken from the queue.
void NoteKeyTaken(KeyTable& keys, int hostKey, bool down, bool repeat);

}  // namespace platform::win32
