// Game controllers through SDL's game-controller interface: plugged in and out at any time,
// several at once, each holding the keys its buttons and stick give (controller_keys.h) as one
// more source of the host's held keys. Private to platform/host/sdl/.
#pragma once

#include <SDL.h>

#include "platform/host/sdl/sdl_state.h"

namespace platform::host::sdl {

// Starts SDL's game-controller support, once; without it the game simply has no pads. The
// controllers already plugged in then arrive as added devices.
void StartGameControllers();

// Whether the event is a controller's; if so it is handled, its key events queued in state.
bool TranslateControllerEvent(SdlState& state, const SDL_Event& event);

// The window lost the focus and every held key was released: the controllers forget their
// inputs, so that a button or a stick direction still held counts afresh at its next change.
void ForgetControllerInputs(SdlState& state);

}  // namespace platform::host::sdl
