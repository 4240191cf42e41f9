// RGB 565 rows widened to 32-bit pixels of 8-bit channels, the window surface's usual format, by
// arithmetic in the widest lanes the processor has rather than a table lookup a pixel: the
// picture is widened whole every time it is shown, so this is the host's biggest cost at the
// display's own resolution. Every width gives the same pixels (Rgb565Conversion's table does too).
#pragma once

#include <cstdint>

namespace platform::host::sdl {

// Where a 32-bit pixel keeps its 8-bit channels: each channel's lowest bit, and the bits set in
// every pixel (an opaque alpha).
struct WidePlacement {
  int redShift = 16;
  int greenShift = 8;
  int blueShift = 0;
  std::uint32_t alwaysSet = 0;
};

// Widens `count` pixels of `source` into `target`; the channels repeat their bits (a 5-bit 31
// becomes 255), as pixel::ReplicateBits does.
using WidenRow = void (*)(const std::uint16_t* source, std::uint32_t* target, int count,
                          const WidePlacement& placement);

void WidenRowPlain(const std::uint16_t* source, std::uint32_t* target, int count,
                   const WidePlacement& placement);
void WidenRowSse2(const std::uint16_t* source, std::uint32_t* target, int count,
                  const WidePlacement& placement);
// Only where the processor has them (pixel::LanesAreAvx2, pixel::LanesAreAvx512).
void WidenRowAvx2(const std::uint16_t* source, std::uint32_t* target, int count,
                  const WidePlacement& placement);
void WidenRowAvx512(const std::uint16_t* source, std::uint32_t* target, int count,
                    const WidePlacement& placement);

// The widest of them the lanes in use allow (platform/pixel/lane_choice.h).
WidenRow ChosenWidenRow();

}  // namespace platform::host::sdl
