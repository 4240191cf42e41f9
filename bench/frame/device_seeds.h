// Seeds for the device fuzzer, taken from a capture of the title screen: a few frames' opening
// states, then chosen draws (course cells with their outlines in sight, the butterfly's wings,
// cells crossing the near plane) with their transforms, the capture's texture scaled down to
// 16 x 16, all written in the fuzzer's input format (fuzz/device_input.h), each seed at another
// of the render scales and views. Every number is written in its exact form (the tag for four
// raw bytes), so the fuzzer draws what the game drew.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bench/capture/capture.h"

namespace bench {

struct DeviceSeed {
  std::string name;  // e.g. title_cells_0: what it draws, and the frame it comes from
  std::vector<std::uint8_t> bytes;
};

// The seeds of a title screen capture (one with at least one frame that draws).
std::vector<DeviceSeed> DeviceSeeds(const capture::Capture& capture);

}  // namespace bench
