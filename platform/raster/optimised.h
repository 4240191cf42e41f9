// The optimised path: each triangle row becomes one span whose ends come straight from the edge
// functions (no per-pixel coverage test). The span kernel draws the rows and lines of the states
// it serves (span.h, SSE2 or AVX2), with the filter a triangle or a row certainly takes where
// filter_bound.h knows it; the reference path's per-pixel code draws the other states. Draws
// exactly what ReferenceRasterizer draws.
#pragma once

#include "platform/raster/filter_bound.h"
#include "platform/raster/pixel_state.h"
#include "platform/raster/reference.h"
#include "platform/raster/setup.h"
#include "platform/raster/span.h"

namespace platform::raster {

class OptimisedRasterizer {
 public:
  explicit OptimisedRasterizer(const PixelState& state);

  void DrawTriangle(const TriangleSetup& triangle);
  void DrawLine(const LineSetup& line);

 private:
  // Sets the kernel's inputs for a primitive shaded from these planes.
  void Begin(const PlaneSet& planes);
  // The row drawer for a filter choice.
  SpanDrawer Drawer(FilterChoice choice) const;
  // The triangle's rows, each with the one drawer.
  void DrawRows(const TriangleSetup& triangle, SpanDrawer span);
  // The triangle's rows in bands, each band with the filter it certainly takes, if any.
  void DrawBands(const TriangleSetup& triangle);

  const PixelState& state_;
  SpanInputs spanInputs_;
  KernelDrawers kernel_;  // none where the kernel does not serve the state
  ReferenceRasterizer reference_;
};

}  // namespace platform::raster
