#include "platform/gdi/text_line_draw.h"

#include "platform/gdi/text_runs.h"
#include "platform/pixel/lane_choice.h"

namespace platform::gdi {
namespace {

TextDrawers Drawers() {
  return pixel::LanesAreAvx2() ? TextDrawersAvx2() : TextDrawersSse2();
}

}  // namespace

void DrawLineRgb565(const LineImage& line, const PixelBuffer& pixels, long long x, long long y,
                    const Rgb565Ink& ink) {
  Drawers().runs(line, pixels, x, y, ink);
  for (const LineImage::Extra& extra : line.extras) {
    const long long row = y + extra.dy;
    const long long column = x + extra.dx;
    if (row < 0 || row >= pixels.height || column < 0 || column >= pixels.width) continue;
    BlendRgb565(Row(pixels, row)[column], extra.coverage, ink);
  }
}

void BlendSpanRgb565(std::uint16_t* pixels, const std::uint8_t* coverage, long long length,
                     const Rgb565Ink& ink) {
  Drawers().span(pixels, coverage, length, ink);
}

}  // namespace platform::gdi
