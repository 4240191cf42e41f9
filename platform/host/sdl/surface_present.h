// Choosing the display path (display_path.h) for the game's window, and the window-surface
// path itself: the host's own nearest-neighbour scaling into the window's surface, with black
// bars drawn only when the surface is new. Private to platform/host/sdl/.
#pragma once

#include <cstdint>

#include "platform/host/sdl/sdl_state.h"

namespace platform::host::sdl {

// Says on standard error, once, when TIRRAVEL_DISPLAY_PATH holds anything but "renderer" (which
// keeps the renderer path wherever the renderer draws) or nothing; such a value is ignored.
void CheckDisplayPathSetting();

// With the window's renderer made: keeps it where the GPU is real, else gives it back and
// turns to the window's surface (falling back to a renderer where the surface cannot be used).
// Says which path it took on standard error when the player asked (--verbose).
void ChooseWindowDisplayPath(SdlState& state);

// The window changed size or full-screen state, or moved to another display: the path is
// chosen again before the next picture.
void NoteWindowChanged(SdlState& state, bool displayChanged);
// Part of the window was uncovered: the next picture on the surface path shows the bars too.
void NoteWindowExposed(SdlState& state);
// Before a picture: chooses the path again where the window changed.
void ReconsiderDisplayPathIfDue(SdlState& state);

// Shows the picture on the window's surface; false when there is no usable surface.
bool ShowOnSurface(SdlState& state, const std::uint16_t* pixels, int width, int height,
                   int pitchBytes);

}  // namespace platform::host::sdl
