// A frame's drawing kept for later: each list is transformed, clipped and set up when it is
// given, and kept with its pixel state (target, texture, palette) until Draw, which draws all of
// it in bands of rows, one band per thread at a time. Every band draws the kept primitives in the
// order they were given, each clipped to the band's rows, so every pixel sees the same operations
// in the same order as when each list is drawn at once (raster.h): the picture is the same for
// any number of threads and bands.
//
// What it draws reads the texture memory and writes the target memory the contexts named: they
// must stay in place and unchanged by others until Draw.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "platform/raster/band_pool.h"
#include "platform/raster/pixel_state.h"
#include "platform/raster/raster.h"
#include "platform/raster/setup.h"

namespace platform::raster {

class DrawQueue {
 public:
  // Sets up and keeps a list as DrawTriangleList and DrawLineList would draw it; false, keeping
  // nothing, where they would fail.
  bool AddTriangleList(const RasterContext& context, std::span<const LitVertex> vertices);
  bool AddLineList(const RasterContext& context, std::span<const LitVertex> vertices);

  bool Empty() const { return draws_.empty(); }
  // Triangles and one-pixel lines kept.
  std::size_t Primitives() const { return triangles_.size() + lines_.size(); }

  // Draws everything kept and forgets it: in bands on the pool, or in one band on the caller
  // without one.
  void Draw(BandPool* pool);

 private:
  // The rows [top, bottom) a primitive or a list reaches.
  struct Rows {
    int top, bottom;
  };
  struct KeptLine {
    LineSetup setup;
    Rows rows;
  };
  // One list: its primitives are triangles_ or lines_ [first, first + count).
  struct KeptList {
    PixelState state;
    RasterPath path;
    bool lines;
    std::size_t first, count;
    Rows rows;
  };

  // Keeps the state of a list whose primitives were just appended from `first` on.
  void KeepList(const PixelState& state, RasterPath path, bool lines, std::size_t first);
  void DrawBand(Rows band) const;

  std::vector<KeptList> draws_;
  std::vector<TriangleSetup> triangles_;
  std::vector<KeptLine> lines_;
  std::deque<std::array<std::uint32_t, 256>> palettes_;  // copies the kept states point to
};

}  // namespace platform::raster
