#include "platform/raster/optimised.h"

#include <algorithm>
#include <cstdint>

#include "platform/raster/filter_bound.h"
#include "platform/raster/pixel_math.h"

namespace platform::raster {
namespace {

// One edge function along a row: E(x) = rowValue − perPixel · x, with the row value stepped
// exactly from row to row.
struct EdgeWalker {
  std::int64_t rowValue;  // E at x = 0 on the current row
  std::int64_t rowStep;   // change of rowValue from one row to the next
  std::int64_t perPixel;  // decrease of E per pixel to the right (dy · 256)
  std::int64_t minimum;

  EdgeWalker(const Edge& edge, int firstRow)
      : rowValue(edge.At(0, firstRow)),
        rowStep(edge.dx * kSubPixelOne),
        perPixel(edge.dy * kSubPixelOne),
        minimum(edge.minimum) {}

  // Narrows [left, right] to the pixels of the current row with E(x) ≥ minimum.
  void Clip(std::int64_t& left, std::int64_t& right) const {
    if (perPixel < 0) {
      left = std::max(left, CeilDiv(minimum - rowValue, -perPixel));
    } else if (perPixel > 0) {
      right = std::min(right, FloorDiv(rowValue - minimum, perPixel));
    } else if (rowValue < minimum) {
      right = left - 1;
    }
  }
};

}  // namespace

OptimisedRasterizer::OptimisedRasterizer(const PixelState& state)
    : state_(state), kernel_(SelectKernelDrawers(state, spanInputs_)), reference_(state) {}

void OptimisedRasterizer::Begin(const PlaneSet& planes) {
  std::uint32_t diffuse = 0, specular = 0;
  if (!planes.smoothColour) {
    // Constant colours: the planes' base values are what every pixel would compute.
    const Plane* p = planes.planes;
    diffuse = PackArgb(ToByte(p[kAttrDiffuseA].base), ToByte(p[kAttrDiffuseR].base),
                       ToByte(p[kAttrDiffuseG].base), ToByte(p[kAttrDiffuseB].base));
    specular = PackArgb(0, ToByte(p[kAttrSpecularR].base), ToByte(p[kAttrSpecularG].base),
                        ToByte(p[kAttrSpecularB].base));
  }
  SetSpanPrimitive(spanInputs_, planes, planes.smoothColour, diffuse, specular);
}

SpanDrawer OptimisedRasterizer::ChooseSpanDrawer(const TriangleSetup& triangle) const {
  auto drawer = [&](TextureFilter filter) {
    return kernel_.span[static_cast<int>(filter == TextureFilter::Point ? SpanFilter::Point
                                                                        : SpanFilter::Bilinear)];
  };
  if (state_.minFilter == state_.magFilter) return drawer(state_.magFilter);
  switch (BoundTriangleFilter(triangle, state_)) {
    case TriangleFilter::Magnified:
      return drawer(state_.magFilter);
    case TriangleFilter::Minified:
      return drawer(state_.minFilter);
    case TriangleFilter::PerPixel:
      break;
  }
  return kernel_.span[static_cast<int>(SpanFilter::PerPixel)];
}

void OptimisedRasterizer::DrawTriangle(const TriangleSetup& triangle) {
  if (!kernel_.Serves()) {
    reference_.DrawTriangle(triangle);
    return;
  }
  Begin(triangle.planes);
  const SpanDrawer span = ChooseSpanDrawer(triangle);
  const PixelRect& box = triangle.box;
  EdgeWalker edges[3] = {EdgeWalker(triangle.edges[0], box.y0),
                         EdgeWalker(triangle.edges[1], box.y0),
                         EdgeWalker(triangle.edges[2], box.y0)};
  for (int y = box.y0; y < box.y1; ++y) {
    std::int64_t left = box.x0, right = box.x1 - 1;
    for (EdgeWalker& edge : edges) {
      edge.Clip(left, right);
      edge.rowValue += edge.rowStep;
    }
    // Within the box now, so the span fits an int.
    if (left <= right) span(spanInputs_, y, static_cast<int>(left), static_cast<int>(right) + 1);
  }
}

void OptimisedRasterizer::DrawLine(const LineSetup& line) {
  if (!kernel_.Serves()) {
    reference_.DrawLine(line);
    return;
  }
  Begin(line.planes);
  kernel_.line(spanInputs_, line);
}

}  // namespace platform::raster
