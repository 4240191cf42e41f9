#include "platform/raster/raster.h"

#include "platform/raster/geometry.h"
#include "platform/raster/optimised.h"
#include "platform/raster/pixel_state.h"
#include "platform/raster/reference.h"
#include "platform/raster/setup.h"

namespace platform::raster {
namespace {

template <typename Rasterizer>
void DrawTriangles(const VertexStage& stage, const PixelRect& scissor,
                   std::span<const LitVertex> vertices, Rasterizer& rasterizer) {
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
      if (SetUpTriangle(screen[0], screen[i], screen[i + 1], scissor, setup)) {
        rasterizer.DrawTriangle(setup);
      }
    }
  }
}

template <typename Rasterizer>
void DrawLines(const VertexStage& stage, int width, std::span<const LitVertex> vertices,
               Rasterizer& rasterizer) {
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
      rasterizer.DrawLine(setup);
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
      rasterizer.DrawLine(setup);
    }
  }
}

// Runs `draw` with the context's path.
template <typename Draw>
bool WithRasterizer(const RasterContext& context, Draw draw) {
  PixelState state;
  if (!MakePixelState(context, state)) return false;
  const VertexStage stage = MakeVertexStage(context);
  if (context.path == RasterPath::Reference) {
    ReferenceRasterizer rasterizer(state);
    draw(stage, state, rasterizer);
  } else {
    OptimisedRasterizer rasterizer(state);
    draw(stage, state, rasterizer);
  }
  return true;
}

}  // namespace

bool DrawTriangleList(const RasterContext& context, std::span<const LitVertex> vertices) {
  return WithRasterizer(
      context, [vertices](const VertexStage& stage, const PixelState& state, auto& rasterizer) {
        DrawTriangles(stage, state.scissor, vertices, rasterizer);
      });
}

bool DrawLineList(const RasterContext& context, std::span<const LitVertex> vertices) {
  if (context.lineWidth < 1 || context.lineWidth > kMaxLineWidth) return false;
  return WithRasterizer(context,
                        [&](const VertexStage& stage, const PixelState&, auto& rasterizer) {
                          DrawLines(stage, context.lineWidth, vertices, rasterizer);
                        });
}

}  // namespace platform::raster
