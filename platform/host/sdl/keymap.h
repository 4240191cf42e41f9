// Keys by position: SDL scancodes to the Windows virtual-key codes a US keyboard gives for the
// same keys, so that the game's keys sit where it expects whatever the keyboard layout.
#pragma once

#include <SDL.h>

namespace platform::host::sdl {

// The virtual-key code for a scancode, or 0 for a key the game's platform does not know.
int VirtualKeyForScancode(SDL_Scancode scancode);

}  // namespace platform::host::sdl
