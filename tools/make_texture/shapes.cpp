#include "tools/make_texture/shapes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// Centripetal parameterisation is not needed for these gentle outlines; the uniform
// Catmull-Rom form passes through every knot, which makes the shapes easy to place.
Point CatmullRom(Point p0, Point p1, Point p2, Point p3, double t) {
  const double t2 = t * t;
  const double t3 = t2 * t;
  auto blend = [&](double a, double b, double c, double d) {
    return 0.5 * ((2.0 * b) + (-a + c) * t + (2.0 * a - 5.0 * b + 4.0 * c - d) * t2 +
                  (-a + 3.0 * b - 3.0 * c + d) * t3);
  };
  return {blend(p0.x, p1.x, p2.x, p3.x), blend(p0.y, p1.y, p2.y, p3.y)};
}

double DistanceToSegment(Point p, Point a, Point b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double lengthSquared = dx * dx + dy * dy;
  double k = 0.0;
  if (lengthSquared > 0.0) {
    k = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0);
  }
  return Distance(p, {a.x + dx * k, a.y + dy * k});
}

}  // namespace

double Distance(Point a, Point b) {
  const double dx = a.x - b.x;
  const double dy = a.y - b.y;
  return std::sqrt(dx * dx + dy * dy);
}

Polyline SmoothLoop(const std::vector<Point>& knots, int stepsPerSpan) {
  Polyline loop;
  const std::size_t n = knots.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Point& p0 = knots[(i + n - 1) % n];
    const Point& p1 = knots[i];
    const Point& p2 = knots[(i + 1) % n];
    const Point& p3 = knots[(i + 2) % n];
    for (int step = 0; step < stepsPerSpan; ++step) {
      loop.push_back(CatmullRom(p0, p1, p2, p3, static_cast<double>(step) / stepsPerSpan));
    }
  }
  return loop;
}

Polyline CurvedStroke(Point from, Point control, Point to, int steps) {
  Polyline stroke;
  for (int step = 0; step <= steps; ++step) {
    const double t = static_cast<double>(step) / steps;
    const double a = (1.0 - t) * (1.0 - t);
    const double b = 2.0 * (1.0 - t) * t;
    const double c = t * t;
    stroke.push_back(
        {a * from.x + b * control.x + c * to.x, a * from.y + b * control.y + c * to.y});
  }
  return stroke;
}

bool Contains(const Polyline& loop, Point p) {
  bool inside = false;
  const std::size_t n = loop.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const Point& a = loop[i];
    const Point& b = loop[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) {
      inside = !inside;
    }
  }
  return inside;
}

double DistanceToLoop(const Polyline& loop, Point p) {
  double best = DistanceToSegment(p, loop.back(), loop.front());
  for (std::size_t i = 1; i < loop.size(); ++i) {
    best = std::min(best, DistanceToSegment(p, loop[i - 1], loop[i]));
  }
  return best;
}

double DistanceToStroke(const Polyline& stroke, Point p) {
  double best = Distance(p, stroke.front());
  for (std::size_t i = 1; i < stroke.size(); ++i) {
    best = std::min(best, DistanceToSegment(p, stroke[i - 1], stroke[i]));
  }
  return best;
}
