// The two software devices side by side, each drawing a decoded input into the flip chain's back
// buffer at the input's render scale and view, as the game draws, one of them on the input's
// drawing threads, and each picture flipped to the headless host, which keeps both for
// comparison.
#pragma once

#include "fuzz/device_input.h"

namespace device_fuzz {

// Made on first use and kept for the process: DirectDraw held exclusively in 640 × 480 × 16,
// the flip chain and Direct3D. The chain is made again when an input asks for another scale or
// view. Aborts if the platform refuses, since then nothing could be fuzzed.
void MakeScreens();

// For each device: fills the back buffer with the input's colour, plays the input and flips. The
// devices, their viewports and the input's texture are made for this input and given back, so
// every input starts from a new device's states. Aborts if the devices answer a call apart.
void DrawOnBothDevices(const DeviceInput& input);

// Aborts, naming the first pixel where the two devices' pictures differ.
void CompareBackBuffers();

}  // namespace device_fuzz
