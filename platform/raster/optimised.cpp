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

// A triangle's rows from `firstRow` down: each row's pixels from the edge functions. The edge
// values are exact integers, so a walk started at any row meets the same values as one started at
// the top of the box.
class TriangleRows {
 public:
  TriangleRows(const TriangleSetup& triangle, int firstRow)
      : box_(triangle.box),
        edges_{EdgeWalker(triangle.edges[0], firstRow), EdgeWalker(triangle.edges[1], firstRow),
               EdgeWalker(triangle.edges[2], firstRow)} {}

  // The next row's pixels [left, right); none (left == right) where the row has none.
  void Next(int& left, int& right) {
    std::int64_t first = box_.x0, last = box_.x1 - 1;
    for (EdgeWalker& edge : edges_) {
      edge.Clip(first, last);
      edge.rowValue += edge.rowStep;
    }
    left = right = 0;
    if (first > last) return;
    // Within the box now, so the span fits an int.
    left = static_cast<int>(first);
    right = static_cast<int>(last) + 1;
  }

 private:
  const PixelRect& box_;
  EdgeWalker edges_[3];
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

// A triangle's rows take their filter by one of three policies:
// - the whole triangle: where both filters are the same, or the triangle certainly takes one;
// - band by band: where a triangle worth bounding may take either, each band of kBandRows rows
//   is judged on its own (a floor running from magnified to minified is mostly one or the other
//   band by band), and its pixels one by one where the band, too, may take either;
// - pixel by pixel: where a small triangle costs less to judge pixel by pixel than to bound.
void OptimisedRasterizer::DrawTriangle(const TriangleSetup& triangle) {
  if (!kernel_.Serves()) {
    reference_.DrawTriangle(triangle);
    return;
  }
  Begin(triangle.planes);
  if (state_.minFilter == state_.magFilter) {
    DrawRows(triangle, Drawer(FilterChoice::Magnified));  // either way
    return;
  }
  const PixelRect& box = triangle.box;
  const bool worthBounding =
      static_cast<std::int64_t>(box.x1 - box.x0) * (box.y1 - box.y0) >= kAreaWorthBounding;
  if (!worthBounding) {
    DrawRows(triangle, Drawer(FilterChoice::PerPixel));
    return;
  }
  const FilterChoice choice = BoundTriangleFilter(triangle, state_);
  if (choice != FilterChoice::PerPixel) {
    DrawRows(triangle, Drawer(choice));
  } else {
    DrawBands(triangle);
  }
}

void OptimisedRasterizer::DrawRows(const TriangleSetup& triangle, SpanDrawer span) {
  // The box lies within the scissor's columns; a band of rows narrows the scissor's rows.
  const int top = std::max(triangle.box.y0, state_.scissor.y0);
  const int bottom = std::min(triangle.box.y1, state_.scissor.y1);
  TriangleRows rows(triangle, top);
  for (int y = top; y < bottom; ++y) {
    int left, right;
    rows.Next(left, right);
    if (left < right) span(spanInputs_, y, left, right);
  }
}

// The filter bands are counted from the top of the triangle's box, wherever the scissor's rows
// begin, and each is judged on all of its rows: a triangle drawn in parts takes the filters it
// takes whole.
void OptimisedRasterizer::DrawBands(const TriangleSetup& triangle) {
  const PixelRect& box = triangle.box;
  const int top = std::max(box.y0, state_.scissor.y0);
  const int bottom = std::min(box.y1, state_.scissor.y1);
  int lefts[kBandRows], rights[kBandRows];
  for (int band = box.y0 + (top - box.y0) / kBandRows * kBandRows; band < bottom;
       band += kBandRows) {
    const int count = std::min(kBandRows, box.y1 - band);
    TriangleRows rows(triangle, band);
    PixelRect reach{box.x1, band, box.x0, band + count};
    for (int r = 0; r < count; ++r) {
      rows.Next(lefts[r], rights[r]);
      if (lefts[r] == rights[r]) continue;
      reach.x0 = std::min(reach.x0, lefts[r]);
      reach.x1 = std::max(reach.x1, rights[r]);
    }
    if (reach.x0 >= reach.x1) continue;
    const SpanDrawer span = Drawer(BoundRectangleFilter(triangle.planes, state_, reach));
    for (int r = std::max(0, top - band); r < std::min(count, bottom - band); ++r) {
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
