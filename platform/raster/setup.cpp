#include "platform/raster/setup.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace platform::raster {
namespace {

// The pixel whose centre is nearest to a sub-pixel coordinate; halves go up.
std::int64_t NearestPixel(std::int64_t subPixel) {
  return FloorDiv(subPixel + kSubPixelOne / 2, kSubPixelOne);
}

double ToPixels(std::int64_t subPixel) {
  return static_cast<double>(subPixel) / static_cast<double>(kSubPixelOne);
}

// Set-up arithmetic is done in double; a plane too steep for a float saturates instead of being
// converted out of range.
float ToFloat(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (value != value) return std::numeric_limits<float>::quiet_NaN();
  return static_cast<float>(std::clamp(value, -kMax, kMax));
}

Plane MakePlane(double base, double gx, double gy) {
  return Plane{ToFloat(base), ToFloat(gx), ToFloat(gy)};
}

bool HasColourGradient(const PlaneSet& set) {
  for (int k = kAttrDiffuseR; k < kAttrCount; ++k) {
    if (set.planes[k].gx != 0.0f || set.planes[k].gy != 0.0f) return true;
  }
  return false;
}

Edge MakeEdge(const ScreenVertex& a, const ScreenVertex& b) {
  Edge edge;
  edge.dx = b.x - a.x;
  edge.dy = b.y - a.y;
  edge.ax = a.x;
  edge.ay = a.y;
  // With the inside to the positive side: a left edge runs upwards (dy < 0), a top edge runs to
  // the right (dy == 0, dx > 0).
  const bool topLeft = edge.dy < 0 || (edge.dy == 0 && edge.dx > 0);
  edge.minimum = topLeft ? 0 : 1;
  return edge;
}

// The planes through three vertices, from their snapped positions, so that what is interpolated
// matches what is covered. They are measured from the pixel nearest the first vertex: every
// covered pixel lies within the triangle's reach of it, while a corner of the bounding box can
// lie far off a sliver, where its steep planes take huge values that cancel badly in float.
void SetUpTrianglePlanes(const ScreenVertex* v[3], PlaneSet& out) {
  const int xr = static_cast<int>(NearestPixel(v[0]->x));
  const int yr = static_cast<int>(NearestPixel(v[0]->y));
  const double x0 = ToPixels(v[0]->x), y0 = ToPixels(v[0]->y);
  const double e1x = ToPixels(v[1]->x) - x0, e1y = ToPixels(v[1]->y) - y0;
  const double e2x = ToPixels(v[2]->x) - x0, e2y = ToPixels(v[2]->y) - y0;
  const double inverseArea = 1.0 / (e1x * e2y - e2x * e1y);
  for (int k = 0; k < kAttrCount; ++k) {
    const double a0 = v[0]->attributes[k];
    const double d1 = v[1]->attributes[k] - a0;
    const double d2 = v[2]->attributes[k] - a0;
    const double gx = (d1 * e2y - d2 * e1y) * inverseArea;
    const double gy = (d2 * e1x - d1 * e2x) * inverseArea;
    out.planes[k] = MakePlane(a0 + gx * (xr - x0) + gy * (yr - y0), gx, gy);
  }
  out.xr = xr;
  out.yr = yr;
  out.smoothColour = HasColourGradient(out);
}

}  // namespace

bool SetUpTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                   const PixelRect& scissor, TriangleSetup& out) {
  const std::int64_t area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
  if (area == 0) return false;
  // Culling was decided on the whole clipped polygon: either winding drawn here is turned so
  // that the inside is positive.
  const ScreenVertex* v[3] = {&a, &b, &c};
  if (area < 0) std::swap(v[1], v[2]);

  out.edges[0] = MakeEdge(*v[0], *v[1]);
  out.edges[1] = MakeEdge(*v[1], *v[2]);
  out.edges[2] = MakeEdge(*v[2], *v[0]);

  const std::int64_t minX = std::min({a.x, b.x, c.x}), maxX = std::max({a.x, b.x, c.x});
  const std::int64_t minY = std::min({a.y, b.y, c.y}), maxY = std::max({a.y, b.y, c.y});
  // Screen positions are bounded (ToScreen), so these fit an int.
  out.box.x0 = static_cast<int>(std::max<std::int64_t>(CeilDiv(minX, kSubPixelOne), scissor.x0));
  out.box.y0 = static_cast<int>(std::max<std::int64_t>(CeilDiv(minY, kSubPixelOne), scissor.y0));
  out.box.x1 =
      static_cast<int>(std::min<std::int64_t>(FloorDiv(maxX, kSubPixelOne) + 1, scissor.x1));
  out.box.y1 =
      static_cast<int>(std::min<std::int64_t>(FloorDiv(maxY, kSubPixelOne) + 1, scissor.y1));
  if (out.box.x0 >= out.box.x1 || out.box.y0 >= out.box.y1) return false;

  SetUpTrianglePlanes(v, out.planes);
  return true;
}

void SetUpLine(const ScreenVertex& a, const ScreenVertex& b, LineSetup& out) {
  const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
  out.xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  const std::int64_t majorA = out.xMajor ? a.x : a.y, majorB = out.xMajor ? b.x : b.y;
  const std::int64_t minorA = out.xMajor ? a.y : a.x, minorB = out.xMajor ? b.y : b.x;

  out.first = static_cast<int>(NearestPixel(majorA));
  const int last = static_cast<int>(NearestPixel(majorB));
  out.step = last >= out.first ? 1 : -1;
  out.count = (last - out.first) * out.step + 1;
  // The slope num/den with den ≥ 0, so the floor division in LinePixel needs no sign cases.
  const std::int64_t dMajor = majorB - majorA;
  out.majorStart = majorA;
  out.minorStart = minorA;
  out.den = dMajor < 0 ? -dMajor : dMajor;
  out.num = dMajor < 0 ? -(minorB - minorA) : minorB - minorA;

  const double start = ToPixels(majorA);
  const double length = ToPixels(majorB) - start;
  for (int k = 0; k < kAttrCount; ++k) {
    const double a0 = a.attributes[k];
    const double g = length != 0.0 ? (b.attributes[k] - a0) / length : 0.0;
    const double base = a0 + g * (out.first - start);
    out.planes.planes[k] = out.xMajor ? MakePlane(base, g, 0.0) : MakePlane(base, 0.0, g);
  }
  out.planes.xr = out.xMajor ? out.first : 0;
  out.planes.yr = out.xMajor ? 0 : out.first;
  out.planes.smoothColour = HasColourGradient(out.planes);
}

void LinePixel(const LineSetup& line, int index, int& x, int& y) {
  const int major = line.first + index * line.step;
  std::int64_t minor;
  if (line.den == 0) {
    minor = NearestPixel(line.minorStart);
  } else {
    const std::int64_t numerator =
        line.minorStart * line.den +
        (std::int64_t{major} * kSubPixelOne - line.majorStart) * line.num +
        kSubPixelOne / 2 * line.den;
    minor = FloorDiv(numerator, kSubPixelOne * line.den);
  }
  x = line.xMajor ? major : static_cast<int>(minor);
  y = line.xMajor ? static_cast<int>(minor) : major;
}

LineWalker::LineWalker(const LineSetup& line, int first)
    : xMajor_(line.xMajor), major_(line.first + first * line.step), step_(line.step) {
  if (line.den == 0) {
    // A line of no length: one minor coordinate for every pixel (there is only one).
    quotient_ = FloorDiv(line.minorStart + kSubPixelOne / 2, kSubPixelOne);
    remainder_ = quotientStep_ = remainderStep_ = 0;
    divisor_ = 1;
    return;
  }
  // LinePixel's numerator at the first pixel walked, and its change per pixel.
  divisor_ = kSubPixelOne * line.den;
  const std::int64_t numerator =
      line.minorStart * line.den +
      (std::int64_t{major_} * kSubPixelOne - line.majorStart) * line.num +
      kSubPixelOne / 2 * line.den;
  quotient_ = FloorDiv(numerator, divisor_);
  remainder_ = numerator - quotient_ * divisor_;
  const std::int64_t change = std::int64_t{line.step} * kSubPixelOne * line.num;
  quotientStep_ = FloorDiv(change, divisor_);
  remainderStep_ = change - quotientStep_ * divisor_;
}

}  // namespace platform::raster
