#include "game/key_tracker.h"
#include "platform/api/win32.h"

void PollKey(int virtualKey, KeyState& state) {
  // Only bit 0x80 of the sign-extended result says whether the key is down right now.
  const std::int32_t keyBits = GetKeyState(virtualKey);
  const bool down = (keyBits & 0x80) != 0;
  if (down) {
    state = (state == KeyUp) ? KeyPressed : KeyHeld;
  } else {
    state = (state == KeyPressed || state == KeyHeld) ? KeyReleased : KeyUp;
  }
}
