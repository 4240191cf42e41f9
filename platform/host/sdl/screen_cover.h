// Full screen where nothing honours the request. On an X server without a window manager the
// window keeps its windowed size while SDL takes it for full screen, so the player would see a
// part of the picture in the middle of the screen. A while after each full-screen request the
// host reads the window's real size from the X server and, where it is not the display's,
// covers the display by itself: a borderless window at the display's bounds. Private to
// platform/host/sdl/.
#pragma once

#include "platform/host/sdl/sdl_state.h"

namespace platform::host::sdl {

// Full screen was asked for (at start-up or by Alt+Enter): the real size is checked again soon.
void NoteFullScreenRequested(SdlState& state);
// Called with every picture: checks the real size once, when due, and covers the display if the
// request was ignored.
void CoverScreenIfFullScreenIgnored(SdlState& state);
// Leaving full screen: gives a window that covers the display by hand its border back.
void StopCoveringScreen(SdlState& state);

}  // namespace platform::host::sdl
