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

// Rows judged together for their filter: few enough that most bands of a floor lie wholly on
// one side of where it turns from magnified to minified.
constexpr int kBandRows = 8;
// Bounding a triangle's filter costs about as much as deciding it for a few dozen pixels.
constexpr std::int64_t kAreaWorthBounding = 256;

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
  const PixelRect& box = triangle.box;
  // A small triangle costs less to judge pixel by pixel than to bound.
  const bool worthBounding =
      static_cast<std::int64_t>(box.x1 - box.x0) * (box.y1 - box.y0) >= kAreaWorthBounding;
  FilterChoice choice = FilterChoice::Magnified;  // either way where both filters are the same
  if (state_.minFilter != state_.magFilter) {
    choice = worthBounding ? BoundTriangleFilter(triangle, state_) : FilterChoice::PerPixel;
  }
  EdgeWalker edges[3] = {EdgeWalker(triangle.edges[0], box.y0),
                         EdgeWalker(triangle.edges[1], box.y0),
                         EdgeWalker(triangle.edges[2], box.y0)};
  // Where the triangle as a whole may take either filter, each band of rows is judged on its
  // own: a floor running from magnified to minified is mostly one or the other band by band.
  const int bandRows = choice == FilterChoice::PerPixel && worthBounding ? kBandRows : 1;
  int lefts[kBandRows], rights[kBandRows];
  for (int band = box.y0; band < box.y1; band += bandRows) {
    const int rows = std::min(bandRows, box.y1 - band);
    PixelRect reach{box.x1, band, box.x0, band + rows};
    for (int r = 0; r < rows; ++r) {
      std::int64_t left = box.x0, right = box.x1 - 1;
      for (EdgeWalker& edge : edges) {
        edge.Clip(left, right);
        edge.rowValue += edge.rowStep;
      }
      lefts[r] = rights[r] = 0;
      if (left > right) continue;
      // Within the box now, so the span fits an int.
      lefts[r] = static_cast<int>(left);
      rights[r] = static_cast<int>(right) + 1;
      reach.x0 = std::min(reach.x0, lefts[r]);
      reach.x1 = std::max(reach.x1, rights[r]);
    }
    if (reach.x0 >= reach.x1) continue;
    const SpanDrawer span =
        Drawer(bandRows > 1 ? BoundRectangleFilter(planes, state_, reach) : choice);
    for (int r = 0; r < rows; ++r) {
      if (lefts[r] < rights[r]) span(spanInputs_, band + r, lefts[r], rights[r]);
    }
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
