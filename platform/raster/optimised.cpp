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

constexpr int kRowWorthBounding = 32;

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

SpanDrawer OptimisedRasterizer::Drawer(FilterChoice choice) const {
  auto drawer = [&](TextureFilter filter) {
    return kernel_.span[static_cast<int>(filter == TextureFilter::Point ? SpanFilter::Point
                                                                        : SpanFilter::Bilinear)];
  };
  switch (choice) {
    case FilterChoice::Magnified:
      return drawer(state_.magFilter);
    case FilterChoice::Minified:
      return drawer(state_.minFilter);
    case FilterChoice::PerPixel:
      break;
  }
  return kernel_.span[static_cast<int>(SpanFilter::PerPixel)];
}

void OptimisedRasterizer::DrawTriangle(const TriangleSetup& triangle) {
  if (!kernel_.Serves()) {
    reference_.DrawTriangle(triangle);
    return;
  }
  const PlaneSet& planes = triangle.planes;
  Begin(planes);
  // Where the triangle as a whole may take either filter, each row is judged on its own.
  const bool eitherFilter = state_.minFilter != state_.magFilter;
  const FilterChoice choice =
      eitherFilter ? BoundTriangleFilter(triangle, state_) : FilterChoice::Magnified;
  const SpanDrawer span = Drawer(choice);
  const bool perRow = choice == FilterChoice::PerPixel;
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
    if (left > right) continue;
    // Within the box now, so the span fits an int.
    const int x0 = static_cast<int>(left), x1 = static_cast<int>(right) + 1;
    // A short row costs less to judge pixel by pixel than to bound.
    const bool judgeRow = perRow && x1 - x0 >= kRowWorthBounding;
    const SpanDrawer row = judgeRow ? Drawer(BoundSpanFilter(planes, state_, y, x0, x1)) : span;
    row(spanInputs_, y, x0, x1);
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
