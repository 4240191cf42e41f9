// Per-key state kept from one poll to the next, telling a fresh press from a held key.
#pragma once

#include <cstdint>

enum KeyState : std::int32_t {
  KeyUp = 0,        // up now and at the poll before
  KeyPressed = 1,   // down now, up at the two polls before
  KeyReleased = 2,  // up now, down at the poll before
  KeyHeld = 3,      // down now, and down at one of the two polls before
};
