// The mouse pointer: the game has no use for it, so it is hidden while the game is full screen.
// In a window it shows when it moves, so the player can find it to reach the desktop, and hides
// again after a few seconds of rest, as a video player's does. Private to platform/host/sdl/.
#pragma once

namespace platform::host::sdl {

// How long the pointer stays shown over the window after it last moved.
inline constexpr unsigned kPointerRestMs = 3000;

// Hides the pointer: at the start, and at each switch between full screen and a window.
void HidePointer();
// The pointer moved: shown, unless the game is full screen.
void PointerMoved(bool fullScreen);
// Hides the pointer once it has rested long enough; called as events are looked for.
void HideRestingPointer();

}  // namespace platform::host::sdl
