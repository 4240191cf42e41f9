// How a key event from the host becomes a key message: WM_KEYDOWN and WM_KEYUP, or the system
// key messages WM_SYSKEYDOWN and WM_SYSKEYUP for Alt, F10 and keys pressed or released while
// Alt is down, with the lParam Windows gives them. Private to platform/win32/.
#pragma once

#include <bitset>

#include "platform/api/win32.h"
#include "platform/host/host.h"

namespace platform::win32 {

struct KeyMessage {
  UINT message = WM_KEYDOWN;
  WPARAM wParam = 0;  // the plain key (VK_MENU for VK_LMENU and VK_RMENU)
  LPARAM lParam = 0;
};

// The message for a host key event. hostDown holds the sided keys down as the host has reported
// them (the keyboard as it is, ahead of the queue); it is updated with this event, and decides
// whether Alt is down for it.
KeyMessage KeyMessageFor(const host::Event& event, std::bitset<256>& hostDown);

// The scan code (set 1, bits 0-7) of a key of a US keyboard, with 0x100 for the keys that send
// the extended prefix; 0 for a key without one.
unsigned ScanCodeFor(int hostKey);

}  // namespace platform::win32
