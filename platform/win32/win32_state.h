// The Windows module's one state record: the window side (classes, windows, the thread's message
// queue and the keyboard as the messages taken describe it) and the kernel's memory blocks.
// Private to platform/win32/.
#pragma once

#include <bitset>
#include <deque>
#include <map>
#include <memory>
#include <set>
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

// The window side. ResetUserInterface starts it afresh between runs, so it is a part of its own.
struct UserState {
  // RegisterClassA (windows.cpp): registered classes, by unique name.
  std::vector<WindowClass> classes;
  // CreateWindowExA and DestroyWindow (windows.cpp): live windows (the handle is the record), and
  // the one the host shows, which receives the host's input.
  std::map<HWND, std::unique_ptr<Window>> windows;
  HWND hostWindow = nullptr;
  // Input messages, oldest first: the host's input (messages.cpp, which takes them too),
  // TranslateMessage's characters (translate.cpp); DestroyWindow drops the window's (windows.cpp).
  std::deque<QueuedMessage> queue;
  // PostQuitMessage, and the taking of WM_QUIT (messages.cpp): called and not yet taken, and
  // the wParam of that WM_QUIT.
  bool quitPending = false;
  int quitCode = 0;
  KeyTable keys;  // messages.cpp, as key messages are taken
  // messages.cpp, as the host's input is queued: sided keys down as the host reported them,
  // ahead of the queue.
  std::bitset<256> hostDown;
};

struct Win32State {
  UserState user;
  // GlobalAlloc and GlobalFree (kernel.cpp): blocks not yet freed, to refuse bad handles. Not
  // part of the window side: a block lives until it is freed, whatever is reset in between.
  std::set<void*> liveBlocks;
};

// The module's state, made on first use, and its window side.
Win32State& State();
inline UserState& User() {
  return State().user;
}

// The window for a handle (also while its WM_DESTROY runs), or null for an unknown one.
Window* FindWindow(HWND handle);

// The key a message carries for a host key: VK_SHIFT for VK_LSHIFT and VK_RSHIFT, and so on.
int MessageKey(int hostKey);
// Updates the key table for a key message taken from the queue.
void NoteKeyTaken(KeyTable& keys, int hostKey, bool down, bool repeat);

}  // namespace platform::win32
