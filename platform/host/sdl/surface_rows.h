// The rows of the picture on the window surface, worked out in the widest SIMD lanes the
// processor has, since the whole picture goes through them every time it is shown: RGB 565
// widened to 32-bit pixels of 8-bit channels (the surface's usual format) by arithmetic rather
// than a table lookup a pixel, and a converted row spread over the target's columns by
// permutes rather than a load and a store a pixel. Every width gives the same pixels.
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

// How many elements past the last one a column names `line` must hold, for SpreadRow to read.
constexpr int kSpreadSlack = 32;

// target[x] = line[columns[x]] for `count` columns named in order, never going back. A group of
// lanes whose columns lie within two registers of its first is permuted out of them, any other
// pixel is copied alone.
using SpreadRow = void (*)(const std::uint32_t* line, const int* columns, std::uint32_t* target,
                           int count);

void SpreadRowPlain(const std::uint32_t* line, const int* columns, std::uint32_t* target,
                    int count);
void SpreadRowAvx2(const std::uint32_t* line, const int* columns, std::uint32_t* target, int count);
void SpreadRowAvx512(const std::uint32_t* line, const int* columns, std::uint32_t* target,
                     int count);

// The widest of them the lanes in use allow (SSE2 permutes no register by another's lanes).
SpreadRow ChosenSpreadRow();

}  // namespace platform::host::sdl
