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

Range Around(const double (&values)[3], double reach) {
  return {std::min({values[0], values[1], values[2]}) - reach,
          std::max({values[0], values[1], values[2]}) + reach};
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
  const double sLow = s.low * width / q.high, sHigh = s.high * width / q.low;
  const double tLow = t.low * height / q.high, tHigh = t.high * height / q.low;
  return {sLow * sLow + tLow * tLow, sHigh * sHigh + tHigh * tHigh};
}

}  // namespace

TriangleFilter BoundTriangleFilter(const TriangleSetup& triangle, const PixelState& state) {
  const PlaneSet& set = triangle.planes;
  // Each plane at the three corners (each edge starts at one), and the largest sum of magnitudes
  // its evaluation adds up there, which bounds its rounding at every pixel between them.
  double value[3][3], terms[3] = {0.0, 0.0, 0.0};
  const int attributes[3] = {kAttrQ, kAttrUq, kAttrVq};
  for (int k = 0; k < 3; ++k) {
    const Edge& corner = triangle.edges[k];
    const double dx = static_cast<double>(corner.ax) / kSubPixelOne - set.xr;
    const double dy = static_cast<double>(corner.ay) / kSubPixelOne - set.yr;
    for (int a = 0; a < 3; ++a) {
      const Plane& plane = set.planes[attributes[a]];
      const double base = plane.base, gx = plane.gx * dx, gy = plane.gy * dy;
      value[a][k] = base + gx + gy;
      terms[a] = std::max(terms[a], std::fabs(base) + std::fabs(gx) + std::fabs(gy));
    }
  }
  const Range q = Around(value[0], kSlack * terms[0]);
  if (!(q.low > 0.0) || !std::isfinite(q.high)) return TriangleFilter::PerPixel;
  // u = uq / q lies between the corners' values, give or take the planes' rounding.
  double u[3], v[3];
  for (int k = 0; k < 3; ++k) {
    u[k] = value[1][k] / value[0][k];
    v[k] = value[2][k] / value[0][k];
  }
  const Range uExact = Around(u, 0.0), vExact = Around(v, 0.0);
  const Range uRange = Around(u, (kSlack * terms[1] + Largest(uExact) * kSlack * terms[0]) / q.low +
                                     kSlack * (1.0 + Largest(uExact)));
  const Range vRange = Around(v, (kSlack * terms[2] + Largest(vExact) * kSlack * terms[0]) / q.low +
                                     kSlack * (1.0 + Largest(vExact)));
  const Range x =
      SquaredStep(set, true, uRange, vRange, q, state.textureWidth, state.textureHeight);
  const Range y =
      SquaredStep(set, false, uRange, vRange, q, state.textureWidth, state.textureHeight);
  if (!std::isfinite(x.high) || !std::isfinite(y.high)) return TriangleFilter::PerPixel;
  if (x.high < 1.0 - kMargin && y.high < 1.0 - kMargin) return TriangleFilter::Magnified;
  if (x.low > 1.0 + kMargin || y.low > 1.0 + kMargin) return TriangleFilter::Minified;
  return TriangleFilter::PerPixel;
}

}  // namespace platform::raster
