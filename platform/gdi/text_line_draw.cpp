#include "platform/gdi/text_line_draw.h"

#include <algorithm>
#include <cstring>

#include "platform/pixel/lane_choice.h"

namespace platform::gdi {
namespace {

std::uint16_t* Row(const PixelBuffer& pixels, long long y) {
  return reinterpret_cast<std::uint16_t*>(pixels.bits +
                                          static_cast<std::ptrdiff_t>(y) * pixels.pitch);
}

// The part of a run that lands inside the pixels.
struct Span {
  std::uint16_t* pixels;
  const std::uint8_t* coverage;
  long long length;
};

bool Inside(const LineImage& line, const PixelBuffer& pixels, long long x, long long y) {
  return x + line.left >= 0 && y + line.top >= 0 && x + line.right <= pixels.width &&
         y + line.bottom <= pixels.height;
}

bool SpanOf(const LineImage& line, const LineImage::Run& run, const PixelBuffer& pixels,
            long long x, long long y, bool inside, Span& span) {
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

// From `column` to the span's end, eight and then one at a time.
void FinishSpan(const Span& span, long long column, const Rgb565Ink& ink) {
  for (; column + 8 <= span.length; column += 8) {
    std::uint64_t eight;
    std::memcpy(&eight, span.coverage + column, sizeof eight);
    if (eight == ~std::uint64_t{0}) {
      std::fill_n(span.pixels + column, 8, ink.solid);
    } else if (eight != 0) {
      BlendEightRgb565(span.pixels + column, span.coverage + column, ink);
    }
  }
  for (; column < span.length; ++column)
    BlendRgb565(span.pixels[column], span.coverage[column], ink);
}

// The ink comes by value in both passes: a copy no pixel store can alias, so its lanes are made
// once per line rather than once per block.
void DrawRunsSse2(const LineImage& line, const PixelBuffer& pixels, long long x, long long y,
                  const Rgb565Ink ink) {
  const bool inside = Inside(line, pixels, x, y);
  Span span;
  for (const LineImage::Run& run : line.runs) {
    if (!SpanOf(line, run, pixels, x, y, inside, span)) continue;
    if (run.solid) {
      std::fill_n(span.pixels, span.length, ink.solid);
    } else {
      FinishSpan(span, 0, ink);
    }
  }
}

__attribute__((target("avx2"))) void DrawRunsAvx2(const LineImage& line, const PixelBuffer& pixels,
                                                  long long x, long long y, const Rgb565Ink ink) {
  const bool inside = Inside(line, pixels, x, y);
  const __m256i solid = _mm256_set1_epi16(static_cast<short>(ink.solid));
  const __m128i full = _mm_set1_epi8(-1);
  Span span;
  for (const LineImage::Run& run : line.runs) {
    if (!SpanOf(line, run, pixels, x, y, inside, span)) continue;
    long long column = 0;
    if (run.solid) {
      for (; column + 16 <= span.length; column += 16) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(span.pixels + column), solid);
      }
      std::fill(span.pixels + column, span.pixels + span.length, ink.solid);
      continue;
    }
    for (; column + 16 <= span.length; column += 16) {
      const __m128i cover =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(span.coverage + column));
      if (_mm_testc_si128(cover, full)) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(span.pixels + column), solid);
      } else if (!_mm_testz_si128(cover, cover)) {
        BlendSixteenRgb565(span.pixels + column, span.coverage + column, ink);
      }
    }
    if (column < span.length) FinishSpan(span, column, ink);  // only where clipping cut the run
  }
}

}  // namespace

void DrawLineRgb565(const LineImage& line, const PixelBuffer& pixels, long long x, long long y,
                    const Rgb565Ink& ink) {
  if (pixel::LanesAreAvx2()) {
    DrawRunsAvx2(line, pixels, x, y, ink);
  } else {
    DrawRunsSse2(line, pixels, x, y, ink);
  }
  for (const LineImage::Extra& extra : line.extras) {
    const long long row = y + extra.dy;
    const long long column = x + extra.dx;
    if (row < 0 || row >= pixels.height || column < 0 || column >= pixels.width) continue;
    BlendRgb565(Row(pixels, row)[column], extra.coverage, ink);
  }
}

}  // namespace platform::gdi
