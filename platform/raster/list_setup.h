// From a list of lit vertices to the set-up primitives the rasterizers draw: transform, clip,
// cull and set up, in the list's order. Both the immediate draws (raster.h) and the kept work
// (draw_queue.h) take their primitives from here, so they draw the same ones.
#pragma once

#include <cstddef>
#include <span>

#include "platform/raster/geometry.h"
#include "platform/raster/setup.h"

namespace platform::raster {

// Calls emit(const TriangleSetup&) for each triangle the list's triangles become.
template <class Emit>
void SetUpTriangleList(const VertexStage& stage, const PixelRect& scissor,
                       std::span<const LitVertex> vertices, Emit emit) {
  for (std::size_t first = 0; first + 3 <= vertices.size(); first += 3) {
    ClipVertex triangle[3];
    for (int i = 0; i < 3; ++i) triangle[i] = TransformVertex(stage, vertices[first + i]);
    if (stage.flat) ApplyFlatShading(triangle, 3);

    ClipVertex polygon[kMaxClipVertices];
    const int count = ClipTriangle(stage, triangle, polygon);
    ScreenVertex screen[kMaxClipVertices];
    bool drawable = count >= 3;
    for (int i = 0; i < count && drawable; ++i) drawable = ToScreen(stage, polygon[i], screen[i]);
    if (!drawable || Culled(stage.cull, screen, count)) continue;

    // The clipped polygon is convex: a fan from its first corner covers it exactly once, since
    // the fan's inner edges are shared and the fill rule gives each pixel to one side. Snapping
    // may turn a sliver of the fan around; it is drawn all the same, as part of a kept polygon.
    for (int i = 1; i + 1 < count; ++i) {
      TriangleSetup setup;
      if (SetUpTriangle(screen[0], screen[i], screen[i + 1], scissor, setup)) emit(setup);
    }
  }
}

// Calls emit(const LineSetup&) for each one-pixel line the list's lines, `width` pixels wide,
// become.
template <class Emit>
void SetUpLineList(const VertexStage& stage, int width, std::span<const LitVertex> vertices,
                   Emit emit) {
  for (std::size_t first = 0; first + 2 <= vertices.size(); first += 2) {
    ClipVertex ends[2] = {TransformVertex(stage, vertices[first]),
                          TransformVertex(stage, vertices[first + 1])};
    if (stage.flat) ApplyFlatShading(ends, 2);
    if (!ClipLine(stage, ends[0], ends[1])) continue;
    ScreenVertex a, b;
    if (!ToScreen(stage, ends[0], a) || !ToScreen(stage, ends[1], b)) continue;
    LineSetup setup;
    SetUpLine(a, b, setup);
    if (width == 1) {
      emit(setup);
      continue;
    }
    // Copies of the line one whole pixel apart across it never share a pixel, so each pixel is
    // drawn (and blended) once; the planes do not change across a line, so every copy shades its
    // pixels as the line itself would.
    setup.first -= setup.step * (width / 2);
    setup.count += width - 1;
    const std::int64_t minorStart = setup.minorStart;
    for (int across = 0; across < width; ++across) {
      setup.minorStart = minorStart + (across - width / 2) * kSubPixelOne;
      emit(setup);
    }
  }
}

}  // namespace platform::raster
