#include "platform/raster/raster.h"

#include "platform/raster/geometry.h"
#include "platform/raster/list_setup.h"
#include "platform/raster/optimised.h"
#include "platform/raster/pixel_state.h"
#include "platform/raster/reference.h"

namespace platform::raster {
namespace {

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
        SetUpTriangleList(stage, state.scissor, vertices,
                          [&](const TriangleSetup& setup) { rasterizer.DrawTriangle(setup); });
      });
}

bool DrawLineList(const RasterContext& context, std::span<const LitVertex> vertices) {
  if (context.lineWidth < 1 || context.lineWidth > kMaxLineWidth) return false;
  return WithRasterizer(
      context, [&](const VertexStage& stage, const PixelState&, auto& rasterizer) {
        SetUpLineList(stage, context.lineWidth, vertices,
                      [&](const LineSetup& setup) { rasterizer.DrawLine(setup); });
      });
}

}  // namespace platform::raster
