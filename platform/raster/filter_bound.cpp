#include "platform/raster/filter_bound.h"

#include <algorithm>
#include <cmath>

namespace platform::raster {
namespace {

// Relative slack on every bound. Per-pixel values are computed in float from float planes, so
// each strays from the exact one by a few parts in 10^7 of the terms it sums; this covers them
// many times over.
constexpr double kSlack = 1e-5;
// Squared lengths this close to 1 are left to the pixels.
constexpr double kMargin = 1e-3;

struct Range {
  double low, high;
};

Range Around(const double (&values)[4], double reach) {
  return {std::min({values[0], values[1], values[2], values[3]}) - reach,
          std::max({values[0], values[1], values[2], values[3]}) + reach};
}

double Largest(const Range& range) {
  return std::max(std::fabs(range.low), std::fabs(range.high));
}

// The extremes of |gradient − value · qGradient| for value within the range.
Range Magnitude(double gradient, double qGradient, Range value) {
  const double a = gradient - value.low * qGradient;
  const double b = gradient - value.high * qGradient;
  const double reach = kSlack * (std::fabs(gradient) + Largest(value) * std::fabs(qGradient));
  const double high = std::max(std::fabs(a), std::fabs(b)) + reach;
  const double low = (a > 0.0) == (b > 0.0) ? std::min(std::fabs(a), std::fabs(b)) - reach : 0.0;
  return {std::max(low, 0.0), high};
}

// The range of the squared texel-space length of one screen step along x or y.
Range SquaredStep(const PlaneSet& set, bool alongX, Range u, Range v, Range q, double width,
                  double height) {
  auto gradient = [&](int attribute) {
    const Plane& plane = set.planes[attribute];
    return static_cast<double>(alongX ? plane.gx : plane.gy);
  };
  const Range s = Magnitude(gradient(kAttrUq), gradient(kAttrQ), u);
  const Range t = Magnitude(gradient(kAttrVq), gradient(kAttrQ), v);
  const double nearest = 1.0 / q.low, farthest = 1.0 / q.high;
  const double sLow = s.low * width * farthest, sHigh = s.high * width * nearest;
  const double tLow = t.low * height * farthest, tHigh = t.high * height * nearest;
  return {sLow * sLow + tLow * tLow, sHigh * sHigh + tHigh * tHigh};
}

// The bound over the points' convex hull (screen positions in pixels): there u = uq / q lies
// between the points' values, since its lines of equal value are straight.
FilterChoice BoundOver(const PlaneSet& set, const PixelState& state, const double (*points)[2],
                       int count) {
  // Each plane at the points, and the largest sum of magnitudes its evaluation adds up there,
  // which bounds its rounding at every pixel between them.
  constexpr int kMaxPoints = 4;
  double value[3][kMaxPoints], terms[3] = {0.0, 0.0, 0.0};
  const int attributes[3] = {kAttrQ, kAttrUq, kAttrVq};
  for (int k = 0; k < count; ++k) {
    const double dx = points[k][0] - set.xr, dy = points[k][1] - set.yr;
    for (int a = 0; a < 3; ++a) {
      const Plane& plane = set.planes[attributes[a]];
      const double base = plane.base, gx = plane.gx * dx, gy = plane.gy * dy;
      value[a][k] = base + gx + gy;
      terms[a] = std::max(terms[a], std::fabs(base) + std::fabs(gx) + std::fabs(gy));
    }
  }
  for (int k = count; k < kMaxPoints; ++k) {
    for (int a = 0; a < 3; ++a) value[a][k] = value[a][0];
  }
  const Range q = Around(value[0], kSlack * terms[0]);
  if (!(q.low > 0.0) || !std::isfinite(q.high)) return FilterChoice::PerPixel;
  double u[kMaxPoints], v[kMaxPoints];
  for (int k = 0; k < kMaxPoints; ++k) {
    const double invQ = 1.0 / value[0][k];
    u[k] = value[1][k] * invQ;
    v[k] = value[2][k] * invQ;
  }
  // u = uq / q lies between the points' values, give or take the planes' rounding.
  const Range uExact = Around(u, 0.0), vExact = Around(v, 0.0);
  const Range uRange = Around(u, (kSlack * terms[1] + Largest(uExact) * kSlack * terms[0]) / q.low +
                                     kSlack * (1.0 + Largest(uExact)));
  const Range vRange = Around(v, (kSlack * terms[2] + Largest(vExact) * kSlack * terms[0]) / q.low +
                                     kSlack * (1.0 + Largest(vExact)));
  const Range x =
      SquaredStep(set, true, uRange, vRange, q, state.textureWidth, state.textureHeight);
  const Range y =
      SquaredStep(set, false, uRange, vRange, q, state.textureWidth, state.textureHeight);
  if (!std::isfinite(x.high) || !std::isfinite(y.high)) return FilterChoice::PerPixel;
  if (x.high < 1.0 - kMargin && y.high < 1.0 - kMargin) return FilterChoice::Magnified;
  if (x.low > 1.0 + kMargin || y.low > 1.0 + kMargin) return FilterChoice::Minified;
  return FilterChoice::PerPixel;
}

}  // namespace

FilterChoice BoundTriangleFilter(const TriangleSetup& triangle, const PixelState& state) {
  double corners[3][2];
  for (int k = 0; k < 3; ++k) {
    // Each edge starts at a corner.
    corners[k][0] = static_cast<double>(triangle.edges[k].ax) / kSubPixelOne;
    corners[k][1] = static_cast<double>(triangle.edges[k].ay) / kSubPixelOne;
  }
  return BoundOver(triangle.planes, state, corners, 3);
}

FilterChoice BoundRectangleFilter(const PlaneSet& planes, const PixelState& state,
                                  const PixelRect& rectangle) {
  const double left = rectangle.x0, right = rectangle.x1 - 1;
  const double top = rectangle.y0, bottom = rectangle.y1 - 1;
  const double corners[4][2] = {{left, top}, {right, top}, {left, bottom}, {right, bottom}};
  return BoundOver(planes, state, corners, 4);
}

}  // namespace platform::raster
