// The widening and the spreading of surface_rows.h, written over GCC's vector extensions for a
// number of lanes: surface_rows.cpp compiles the widening for SSE2, surface_rows_avx2.cpp and
// surface_rows_avx512.cpp both for their instruction sets. Include it after the target's begin
// header, and nowhere else.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/host/sdl/surface_rows.h"

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

// Wide is a vector of 32-bit lanes. Each group of lanes reads the two registers of the line from
// its first column on: kSpreadSlack covers them at the row's end for up to sixteen lanes.
template <typename Wide>
void SpreadRowIn(const std::uint32_t* line, const int* columns, std::uint32_t* target, int count) {
  constexpr int kLanes = sizeof(Wide) / sizeof(std::uint32_t);
  static_assert(2 * kLanes <= kSpreadSlack);
  int x = 0;
  for (; x + kLanes <= count; x += kLanes) {
    const int first = columns[x];
    if (columns[x + kLanes - 1] - first >= 2 * kLanes) {  // shrunk by more than half
      SpreadRowPlain(line, columns + x, target + x, kLanes);
      continue;
    }
    Wide low, high, index;
    std::memcpy(&low, line + first, sizeof low);
    std::memcpy(&high, line + first + kLanes, sizeof high);
    std::memcpy(&index, columns + x, sizeof index);
    index -= static_cast<std::uint32_t>(first);
    const Wide spread = __builtin_shuffle(low, high, index);
    std::memcpy(target + x, &spread, sizeof spread);
  }
  SpreadRowPlain(line, columns + x, target + x, count - x);
}

}  // namespace
}  // namespace platform::host::sdl
