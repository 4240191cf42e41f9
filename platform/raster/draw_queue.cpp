#include "platform/raster/draw_queue.h"

#include <algorithm>

#include "platform/raster/geometry.h"
#include "platform/raster/list_setup.h"
#include "platform/raster/optimised.h"
#include "platform/raster/reference.h"

namespace platform::raster {
namespace {

// Bands per drawing thread: enough that a thread done with a light band takes another while a
// heavy one is still being drawn.
constexpr int kBandsPerThread = 4;
// Fewer rows than this in a band cost more in walking the kept work than they share out.
constexpr int kMinBandRows = 16;

bool Overlap(int top, int bottom, int bandTop, int bandBottom) {
  return top < bandBottom && bandTop < bottom;
}

template <class Rasterizer>
void DrawKept(Rasterizer& rasterizer, std::span<const TriangleSetup> triangles, int top,
              int bottom) {
  for (const TriangleSetup& triangle : triangles) {
    if (Overlap(triangle.box.y0, triangle.box.y1, top, bottom)) rasterizer.DrawTriangle(triangle);
  }
}

template <class Rasterizer, class Line>
void DrawKept(Rasterizer& rasterizer, std::span<const Line> lines, int top, int bottom) {
  for (const Line& line : lines) {
    if (Overlap(line.rows.top, line.rows.bottom, top, bottom)) rasterizer.DrawLine(line.setup);
  }
}

}  // namespace

bool DrawQueue::AddTriangleList(const RasterContext& context, std::span<const LitVertex> vertices) {
  PixelState state;
  if (!MakePixelState(context, state)) return false;
  const std::size_t first = triangles_.size();
  SetUpTriangleList(MakeVertexStage(context), state.scissor, vertices,
                    [this](const TriangleSetup& setup) { triangles_.push_back(setup); });
  KeepList(state, context.path, false, first);
  return true;
}

bool DrawQueue::AddLineList(const RasterContext& context, std::span<const LitVertex> vertices) {
  if (context.lineWidth < 1 || context.lineWidth > kMaxLineWidth) return false;
  PixelState state;
  if (!MakePixelState(context, state)) return false;
  const std::size_t first = lines_.size();
  SetUpLineList(MakeVertexStage(context), context.lineWidth, vertices,
                [this](const LineSetup& setup) {
                  // The minor coordinate moves one way along a line: its ends are its extremes.
                  int x0, y0, x1, y1;
                  LinePixel(setup, 0, x0, y0);
                  LinePixel(setup, setup.count - 1, x1, y1);
                  lines_.push_back({setup, Rows{std::min(y0, y1), std::max(y0, y1) + 1}});
                });
  KeepList(state, context.path, true, first);
  return true;
}

void DrawQueue::KeepList(const PixelState& state, RasterPath path, bool lines, std::size_t first) {
  const std::size_t end = lines ? lines_.size() : triangles_.size();
  if (end == first) return;  // nothing of the list reaches the screen
  KeptList kept{state, path, lines, first, end - first, Rows{state.scissor.y1, state.scissor.y0}};
  for (std::size_t i = first; i < end; ++i) {
    const Rows rows = lines ? lines_[i].rows : Rows{triangles_[i].box.y0, triangles_[i].box.y1};
    kept.rows.top = std::min(kept.rows.top, rows.top);
    kept.rows.bottom = std::max(kept.rows.bottom, rows.bottom);
  }
  kept.rows.top = std::max(kept.rows.top, state.scissor.y0);
  kept.rows.bottom = std::min(kept.rows.bottom, state.scissor.y1);
  if (kept.rows.top >= kept.rows.bottom) return;
  if (state.textured && state.texture.format == TextureFormat::Palette8) {
    // The caller's palette may change before Draw; the list keeps the colours it was given.
    std::array<std::uint32_t, 256>& copy = palettes_.emplace_back();
    std::copy_n(state.texture.palette, copy.size(), copy.begin());
    kept.state.texture.palette = copy.data();
  }
  draws_.push_back(kept);
}

void DrawQueue::Draw(BandPool* pool) {
  if (!draws_.empty()) {
    Rows all{draws_.front().rows};
    for (const KeptList& list : draws_) {
      all.top = std::min(all.top, list.rows.top);
      all.bottom = std::max(all.bottom, list.rows.bottom);
    }
    const int rows = all.bottom - all.top;
    const int threads = pool ? pool->Threads() : 1;
    const int bands = std::clamp(rows / kMinBandRows, 1, threads * kBandsPerThread);
    if (!pool || bands == 1) {
      DrawBand(all);
    } else {
      pool->Run(bands, [&](int band) {
        // Bands of nearly equal height, top to bottom.
        DrawBand(Rows{all.top + static_cast<int>(std::int64_t{rows} * band / bands),
                      all.top + static_cast<int>(std::int64_t{rows} * (band + 1) / bands)});
      });
    }
  }
  draws_.clear();
  triangles_.clear();
  lines_.clear();
  palettes_.clear();
}

void DrawQueue::DrawBand(Rows band) const {
  for (const KeptList& list : draws_) {
    if (!Overlap(list.rows.top, list.rows.bottom, band.top, band.bottom)) continue;
    // The rasterizers draw no row outside the scissor's.
    PixelState state = list.state;
    state.scissor.y0 = std::max(state.scissor.y0, band.top);
    state.scissor.y1 = std::min(state.scissor.y1, band.bottom);
    auto draw = [&](auto& rasterizer) {
      if (list.lines) {
        DrawKept(rasterizer, std::span<const KeptLine>(lines_).subspan(list.first, list.count),
                 band.top, band.bottom);
      } else {
        DrawKept(rasterizer,
                 std::span<const TriangleSetup>(triangles_).subspan(list.first, list.count),
                 band.top, band.bottom);
      }
    };
    if (list.path == RasterPath::Reference) {
      ReferenceRasterizer rasterizer(state);
      draw(rasterizer);
    } else {
      OptimisedRasterizer rasterizer(state);
      draw(rasterizer);
    }
  }
}

}  // namespace platform::raster
