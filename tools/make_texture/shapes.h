// Plane geometry for painting: points, smooth closed outlines and open strokes made of short
// straight segments, inside tests and distances.
#pragma once

#include <vector>

struct Point {
  double x;
  double y;
};

using Polyline = std::vector<Point>;

// A closed Catmull-Rom curve through `knots` (at least three), `stepsPerSpan` segments between
// neighbouring knots. The result does not repeat its first point at the end.
Polyline SmoothLoop(const std::vector<Point>& knots, int stepsPerSpan);

// A quadratic Bezier stroke from `from` to `to`, bent towards `control`, in `steps` segments.
Polyline CurvedStroke(Point from, Point control, Point to, int steps);

// Even-odd test against a closed polyline; points exactly on the outline may go either way.
bool Contains(const Polyline& loop, Point p);

// Shortest distance from p to the closed polyline's outline.
double DistanceToLoop(const Polyline& loop, Point p);

// Shortest distance from p to the open polyline (at least one point).
double DistanceToStroke(const Polyline& stroke, Point p);

double Distance(Point a, Point b);
