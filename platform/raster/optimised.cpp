#include "platform/raster/optimised.h"

#include <algorithm>
#include <cstdint>

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
    : state_(state),
      inputs_{&state, nullptr},
      interpolateSmooth_(SelectInterpolate(state, true)),
      interpolateFlat_(SelectInterpolate(state, false)),
      interpolate_(interpolateFlat_),
      sample_(SelectSample(state)),
      shade_(SelectShade(state)),
      write_(SelectWrite(state)),
      kernel_(SelectKernelDrawers(state, spanInputs_)) {
  if (kernel_.span == nullptr) chunk_ = Chunk{};
}

void OptimisedRasterizer::Begin(const PlaneSet& planes) {
  inputs_.planes = &planes;
  interpolate_ = planes.smoothColour ? interpolateSmooth_ : interpolateFlat_;
  if (planes.smoothColour) {
    if (kernel_.span != nullptr) SetSpanPrimitive(spanInputs_, planes, true, 0, 0);
    return;
  }
  // Constant colours: the planes' base values are what every pixel would compute.
  const Plane* p = planes.planes;
  const std::uint32_t diffuse =
      PackArgb(ToByte(p[kAttrDiffuseA].base), ToByte(p[kAttrDiffuseR].base),
               ToByte(p[kAttrDiffuseG].base), ToByte(p[kAttrDiffuseB].base));
  const std::uint32_t specular =
      PackArgb(0, ToByte(p[kAttrSpecularR].base), ToByte(p[kAttrSpecularG].base),
               ToByte(p[kAttrSpecularB].base));
  if (kernel_.span != nullptr) {
    SetSpanPrimitive(spanInputs_, planes, false, diffuse, specular);
    return;
  }
  std::fill(std::begin(chunk_.diffuse), std::end(chunk_.diffuse), diffuse);
  std::fill(std::begin(chunk_.specular), std::end(chunk_.specular), specular);
}

void OptimisedRasterizer::Flush(int count) {
  chunk_.count = count;
  std::fill(std::begin(chunk_.keep), std::end(chunk_.keep), std::uint8_t{0});
  std::fill(chunk_.keep, chunk_.keep + count, std::uint8_t{1});
  interpolate_(inputs_, chunk_);
  if (sample_ != nullptr) sample_(inputs_, chunk_);
  shade_(inputs_, chunk_);
  write_(inputs_, chunk_);
}

void OptimisedRasterizer::DrawTriangle(const TriangleSetup& triangle) {
  Begin(triangle.planes);
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
    if (kernel_.span != nullptr) {
      kernel_.span(spanInputs_, y, static_cast<int>(left), static_cast<int>(right) + 1);
      continue;
    }
    for (int x = static_cast<int>(left); x <= right; x += kChunkPixels) {
      const int count = static_cast<int>(std::min<std::int64_t>(kChunkPixels, right - x + 1));
      for (int i = 0; i < kChunkPixels; ++i) {
        chunk_.x[i] = x + i;
        chunk_.y[i] = y;
      }
      chunk_.span = true;
      Flush(count);
    }
  }
}

void OptimisedRasterizer::DrawLine(const LineSetup& line) {
  Begin(line.planes);
  if (kernel_.line != nullptr) {
    kernel_.line(spanInputs_, line);
    return;
  }
  int filled = 0;
  ForEachLinePixelInside(line, state_.scissor, [&](int x, int y) {
    chunk_.x[filled] = x;
    chunk_.y[filled] = y;
    if (++filled == kChunkPixels) {
      chunk_.span = false;
      Flush(filled);
      filled = 0;
    }
  });
  chunk_.span = false;
  if (filled > 0) Flush(filled);
}

}  // namespace platform::raster
