// The optimised path: each triangle row becomes one span whose ends come straight from the edge
// functions (no per-pixel coverage test). The span kernel draws the rows of the states it serves
// (span.h, SSE2 or AVX2); other spans and lines run in chunks through the state-specialised SSE2
// stages of stages.h. Draws exactly what ReferenceRasterizer draws.
#pragma once

#include "platform/raster/pixel_state.h"
#include "platform/raster/setup.h"
#include "platform/raster/span.h"
#include "platform/raster/stages.h"

namespace platform::raster {

class OptimisedRasterizer {
 public:
  explicit OptimisedRasterizer(const PixelState& state);

  void DrawTriangle(const TriangleSetup& triangle);
  void DrawLine(const LineSetup& line);

 private:
  // Prepares the chunk and stages for a primitive shaded from these planes.
  void Begin(const PlaneSet& planes);
  // Runs the stages over the first `count` pixels of the chunk.
  void Flush(int count);

  const PixelState& state_;
  StageInputs inputs_;
  Stage interpolateSmooth_;  // for primitives whose colours vary
  Stage interpolateFlat_;    // for primitives of one colour: diffuse and specular filled once
  Stage interpolate_;        // the one of the two for the current primitive
  Stage sample_;             // null when untextured
  Stage shade_;
  Stage write_;
  Chunk chunk_;  // cleared only when the chunk stages draw
  SpanInputs spanInputs_;
  KernelDrawers kernel_;  // whole triangle rows and lines, for the states it serves; else none
};

}  // namespace platform::raster
