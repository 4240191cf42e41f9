// A kept line's runs clipped to the pixels they land on, and drawn with the lanes of one
// instruction set: text_runs_sse2.cpp, text_runs_avx2.cpp and text_runs_avx512.cpp compile the one
// drawing of text_runs_lanes.h for each. Internal to text_line_draw.cpp and those three.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/core/pixel_buffer.h"
#include "platform/gdi/rgb565_blend.h"
#include "platform/gdi/text_line.h"

namespace platform::gdi {

// The part of a run that lands inside the pixels.
struct RunSpan {
  std::uint16_t* pixels;
  const std::uint8_t* coverage;  // null for a solid run
  long long length;
};

inline std::uint16_t* Row(const PixelBuffer& pixels, long long y) {
  return reinterpret_cast<std::uint16_t*>(pixels.bits +
                                          static_cast<std::ptrdiff_t>(y) * pixels.pitch);
}

// Whether everything the line touches drawn for the point (x, y) lies inside the pixels, so that
// no run needs clipping.
inline bool LineInside(const LineImage& line, const PixelBuffer& pixels, long long x, long long y) {
  return x + line.left >= 0 && y + line.top >= 0 && x + line.right <= pixels.width &&
         y + line.bottom <= pixels.height;
}

// The run's span for the point (x, y), clipped unless the line is `inside`; false when nothing
// of it lands inside.
inline bool ClipRun(const LineImage& line, const LineImage::Run& run, const PixelBuffer& pixels,
                    long long x, long long y, bool inside, RunSpan& span) {
  long long first = 0, last = run.length;
  const long long row = y + run.dy;
  const long long start = x + run.dx;
  if (!inside) {
    if (row < 0 || row >= pixels.height) return false;
    first = std::max(0LL, -start);
    last = std::min<long long>(run.length, pixels.width - start);
    if (first >= last) return false;
  }
  const std::uint8_t* coverage = run.solid ? nullptr : line.coverage.data() + run.coverage + first;
  span = {Row(pixels, row) + (start + first), coverage, last - first};
  return true;
}

// The drawing of text_runs_lanes.h compiled for one instruction set: eight pixels at a time
// with SSE2, sixteen with AVX2, thirty-two with AVX-512 (for processors that have them only).
struct TextDrawers {
  // The line's runs for the point (x, y). The ink comes by value: a copy no pixel store can
  // alias, so its lanes are made once per line rather than once per block.
  void (*runs)(const LineImage& line, const PixelBuffer& pixels, long long x, long long y,
               Rgb565Ink ink);
  // The ink over `length` pixels by their coverage.
  void (*span)(std::uint16_t* pixels, const std::uint8_t* coverage, long long length,
               Rgb565Ink ink);
};
TextDrawers TextDrawersSse2();
TextDrawers TextDrawersAvx2();
TextDrawers TextDrawersAvx512();

}  // namespace platform::gdi
