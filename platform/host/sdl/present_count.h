// The number of pictures the host has shown, for the window benchmark (bench/window/): where
// TIRRAVEL_PRESENT_COUNT names a file, the running count is written there, as a decimal number
// of fixed width, after every present. Without that variable nothing is counted or written.
// Private to platform/host/sdl/.
#pragma once

namespace platform::host::sdl {

// Called once for each picture shown.
void CountPresent();

}  // namespace platform::host::sdl
