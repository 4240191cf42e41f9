#include "platform/gdi/text_line_draw.h"

#include <algorithm>
#include <cstddef>

#include "platform/core/lent_threads.h"
#include "platform/gdi/text_runs.h"
#include "platform/pixel/lane_choice.h"

namespace platform::gdi {
namespace {

// A line covering this many pixels or more (a title's at a render scale) is drawn in bands of
// rows on the threads the 3-D devices lend; a smaller one costs less than waking them.
constexpr long long kAreaWorthSharing = 64 * 1024;

TextDrawers Drawers() {
  if (pixel::LanesAreAvx512()) return TextDrawersAvx512();
  return pixel::LanesAreAvx2() ? TextDrawersAvx2() : TextDrawersSse2();
}

// The line's runs, then its extras, each clipped to the pixels.
void DrawRunsAndExtras(const LineImage& line, const PixelBuffer& pixels, long long x, long long y,
                       const Rgb565Ink& ink) {
  Drawers().runs(line, pixels, x, y, ink);
  for (const LineImage::Extra& extra : line.extras) {
    const long long row = y + extra.dy;
    const long long column = x + extra.dx;
    if (row < 0 || row >= pixels.height || column < 0 || column >= pixels.width) continue;
    BlendRgb565(Row(pixels, row)[column], extra.coverage, ink);
  }
}

}  // namespace

// Each band is the rows [top, bottom) of the pixels seen as pixels of their own: every pixel
// takes the same runs and extras in the same order as when the line is drawn whole.
void DrawLineRgb565(const LineImage& line, const PixelBuffer& pixels, long long x, long long y,
                    const Rgb565Ink& ink) {
  const long long area = static_cast<long long>(line.right - line.left) * (line.bottom - line.top);
  const int threads = area >= kAreaWorthSharing ? ThreadsLent() : 1;
  const long long top = std::clamp<long long>(y + line.top, 0, pixels.height);
  const long long bottom = std::clamp<long long>(y + line.bottom, 0, pixels.height);
  if (threads == 1 || bottom - top < threads) {
    DrawRunsAndExtras(line, pixels, x, y, ink);
    return;
  }
  RunInBands(threads, [&](int band) {
    const long long first = top + (bottom - top) * band / threads;
    const long long last = top + (bottom - top) * (band + 1) / threads;
    PixelBuffer rows = pixels;
    rows.bits += static_cast<std::ptrdiff_t>(first) * pixels.pitch;
    rows.height = static_cast<int>(last - first);
    DrawRunsAndExtras(line, rows, x, y - first, ink);
  });
}

void BlendSpanRgb565(std::uint16_t* pixels, const std::uint8_t* coverage, long long length,
                     const Rgb565Ink& ink) {
  Drawers().span(pixels, coverage, length, ink);
}

}  // namespace platform::gdi
