// The reference path: every pixel of the bounding box tested against the three edge functions,
// every covered pixel shaded from scratch with the plain formulas of pixel_math.h. Short and
// slow on purpose; it is the oracle the optimised path is held to.
#pragma once

#include "platform/raster/pixel_state.h"
#include "platform/raster/setup.h"

namespace platform::raster {

class ReferenceRasterizer {
 public:
  explicit ReferenceRasterizer(const PixelState& state) : state_(state) {}

  void DrawTriangle(const TriangleSetup& triangle) const;
  void DrawLine(const LineSetup& line) const;

 private:
  void ShadePixel(const PlaneSet& set, int x, int y) const;

  const PixelState& state_;
};

}  // namespace platform::raster
