// The one widening of rgb565_widening.h, written over GCC's vector extensions for a number of
// lanes: rgb565_widening.cpp compiles it for SSE2, rgb565_widening_avx2.cpp and
// rgb565_widening_avx512.cpp for their instruction sets. Include it after the target's begin
// header, and nowhere else.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/host/sdl/rgb565_widening.h"

namespace platform::host::sdl {
namespace {

// Narrow and Wide are vectors of as many 16-bit and 32-bit lanes. (They come as parameters, not
// as a number of lanes: GCC 12 converts no vector whose type depends on the template.)
template <typename Narrow, typename Wide>
void WidenRowIn(const std::uint16_t* source, std::uint32_t* target, int count,
                const WidePlacement& placement) {
  constexpr int kLanes = sizeof(Wide) / sizeof(std::uint32_t);
  // Copied, so that the stores into the row are not taken to change them.
  const int redShift = placement.redShift, greenShift = placement.greenShift;
  const int blueShift = placement.blueShift;
  const std::uint32_t alwaysSet = placement.alwaysSet;
  int x = 0;
  for (; x + kLanes <= count; x += kLanes) {
    Narrow narrow;
    std::memcpy(&narrow, source + x, sizeof narrow);
    const Wide colour = __builtin_convertvector(narrow, Wide);
    const Wide red = colour >> 11;
    const Wide green = (colour >> 5) & 0x3Fu;
    const Wide blue = colour & 0x1Fu;
    const Wide placed = ((red << 3) | (red >> 2)) << redShift |
                        ((green << 2) | (green >> 4)) << greenShift |
                        ((blue << 3) | (blue >> 2)) << blueShift | alwaysSet;
    std::memcpy(target + x, &placed, sizeof placed);
  }
  WidenRowPlain(source + x, target + x, count - x, placement);
}

}  // namespace
}  // namespace platform::host::sdl
