// The two software devices side by side, each drawing a decoded input into its own 640 × 480
// back buffer: the optimised ("MMX") device into the flip chain's back buffer, as the game
// draws, and the reference ("RGB") device into an off-screen 3-D surface, as the benchmarks
// play captures back.
#pragma once

#include "fuzz/device_input.h"

namespace device_fuzz {

// Made on first use and kept for the process: DirectDraw held exclusively in 640 × 480 × 16,
// the flip chain, the off-screen target and Direct3D. Aborts if the platform refuses, since then
// nothing could be fuzzed.
void MakeScreens();

// Fills both back buffers with the input's colour and plays the input on each device. The
// devices, their viewports and the input's texture are made for this input and given back, so
// every input starts from a new device's states. Aborts if the devices answer a call apart.
void DrawOnBothDevices(const DeviceInput& input);

// Aborts, naming the first pixel where the two back buffers differ.
void CompareBackBuffers();

}  // namespace device_fuzz
