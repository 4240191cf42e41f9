// Triangle and line set-up shared by both paths: integer edge functions with the top-left rule,
// the pixels worth visiting, and the attribute planes every pixel is shaded from.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/raster/geometry.h"

namespace platform::raster {

// a / b rounded down and up, for b > 0.
inline std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return a % b != 0 && a < 0 ? q - 1 : q;
}
inline std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
  return -FloorDiv(-a, b);
}

// One attribute as a plane over the screen: its value at the reference pixel and its change per
// pixel to the right (gx) and per pixel down (gy).
struct Plane {
  float base;
  float gx;
  float gy;
};

// The value of a plane dx, dy pixels from the reference pixel. Both paths evaluate exactly this
// expression, in this order, so they agree to the bit; a path may compute (base + gy · dy) once
// per row, since it is the same operation on the same operands.
inline float EvaluatePlane(const Plane& plane, float dx, float dy) {
  return (plane.base + plane.gy * dy) + plane.gx * dx;
}

struct PlaneSet {
  Plane planes[kAttrCount];
  int xr, yr;         // the reference pixel the planes are measured from
  bool smoothColour;  // some colour plane has a gradient (otherwise colours are constant)
};

// A rectangle of pixels, [x0, x1) × [y0, y1).
struct PixelRect {
  int x0, y0, x1, y1;
  bool Contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

// An integer edge function: positive on the inside, in 1/65536 pixel² units. A pixel centre
// exactly on the edge counts as inside only on a top edge (horizontal, the triangle below it)
// or a left edge (the triangle to its right): `minimum` is 0 there and 1 elsewhere, which is the
// top-left rule written as a bias.
struct Edge {
  std::int64_t dx, dy;  // edge direction, in 1/256 pixel
  std::int64_t ax, ay;  // edge start, in 1/256 pixel
  std::int64_t minimum;

  // The edge function at the centre of pixel (x, y).
  std::int64_t At(int x, int y) const {
    return dx * (std::int64_t{y} * kSubPixelOne - ay) - dy * (std::int64_t{x} * kSubPixelOne - ax);
  }
  bool Covers(int x, int y) const { return At(x, y) >= minimum; }
};

struct TriangleSetup {
  Edge edges[3];
  PixelRect box;  // the bounding box of the pixel centres, within the scissor; never empty
  PlaneSet planes;
};

// Sets up a triangle of either winding. Returns false when it covers no pixel centre of the
// scissor rectangle for certain (zero area, or a bounding box outside the scissor).
bool SetUpTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                   const PixelRect& scissor, TriangleSetup& out);

// A line walks its major axis (the one it is longer along) one pixel at a time, from the pixel
// nearest its first end to the pixel nearest its last end, both included. The minor coordinate
// of each pixel is the line's exact position there, rounded to the nearest pixel (halves up).
struct LineSetup {
  bool xMajor;
  int first, step, count;  // major coordinate of the first pixel, ±1, number of pixels
  // Minor coordinate of major pixel p: floor((minorStart · den + (p · 256 − majorStart) · num
  // + 128 · den) / (256 · den)); den is 0 for a line of zero length.
  std::int64_t majorStart, minorStart, num, den;
  PlaneSet planes;  // gradients along the major axis only
};

// Sets up the line from a to b (nothing is ever rejected: a point still draws one pixel).
void SetUpLine(const ScreenVertex& a, const ScreenVertex& b, LineSetup& out);

// The index-th pixel of the line (index 0 to count − 1). It may lie outside the scissor.
void LinePixel(const LineSetup& line, int index, int& x, int& y);

// The line's pixels in order, the same as LinePixel gives, with the division stepped: the
// quotient and remainder move by fixed amounts from one pixel to the next.
class LineWalker {
 public:
  // From the line's pixel `first` on (0 to count − 1): its division is done anew there, exactly,
  // so the walk meets the same pixels as one started at the line's first pixel.
  explicit LineWalker(const LineSetup& line, int first = 0);
  // The next pixel; call it line.count times.
  void Next(int& x, int& y) {
    const int minor = static_cast<int>(quotient_);
    x = xMajor_ ? major_ : minor;
    y = xMajor_ ? minor : major_;
    major_ += step_;
    quotient_ += quotientStep_;
    remainder_ += remainderStep_;
    if (remainder_ >= divisor_) {
      remainder_ -= divisor_;
      ++quotient_;
    }
  }

 private:
  bool xMajor_;
  int major_, step_;
  std::int64_t quotient_, remainder_;  // the minor coordinate and what is left over
  std::int64_t quotientStep_,
      remainderStep_;  // their change per pixel, 0 ≤ remainderStep_ < divisor_
  std::int64_t divisor_;
};

// The indices [begin, end) of the line's pixels that may lie in the area's rows: for a line
// along y exactly those (its row is its major coordinate), for one along x all of them.
inline void LinePixelsInRows(const LineSetup& line, const PixelRect& area, int& begin, int& end) {
  begin = 0;
  end = line.count;
  if (line.xMajor) return;
  // Row first + i · step lies in [y0, y1).
  begin = std::max(begin, line.step > 0 ? area.y0 - line.first : line.first - (area.y1 - 1));
  end = std::min(end, line.step > 0 ? area.y1 - line.first : line.first - area.y0 + 1);
}

}  // namespace platform::raster
