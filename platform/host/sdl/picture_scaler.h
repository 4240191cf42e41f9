// The host's own scaling, for the window-surface path (display_path.h): the RGB565 picture
// converted to the surface's pixel format and enlarged nearest neighbour onto the rectangle
// FitPicture chose, so the picture has the same place and size as on the renderer path (it
// fills the screen's height at 4:3 on a wide screen, not only the largest whole multiple, which
// on a 1366 × 768 screen would be 640 × 480). Plain C++, tested without SDL.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/host/sdl/surface_rows.h"

namespace platform::host::sdl {

// A surface's pixel layout: 2 or 4 bytes a pixel and where each channel's bits are.
struct PixelLayout {
  int bytesPerPixel = 4;
  std::uint32_t redMask = 0x00FF0000;
  std::uint32_t greenMask = 0x0000FF00;
  std::uint32_t blueMask = 0x000000FF;
  std::uint32_t alphaMask = 0;
};

// RGB565 to a layout's pixel. Channels are widened by repeating their bits (a 5-bit 31 becomes
// 255) and alpha is opaque. Pixels of four 8-bit channels are worked out in SIMD lanes
// (surface_rows.h); any other layout looks each colour up in a table of every 16-bit one. A
// default one converts nothing.
class Rgb565Conversion {
 public:
  // Empty (Usable() false) for a layout this host does not draw into: not 2 or 4 bytes a pixel,
  // or a colour channel without bits.
  Rgb565Conversion() = default;
  explicit Rgb565Conversion(const PixelLayout& layout);
  bool Usable() const { return !table_.empty(); }
  int BytesPerPixel() const { return bytesPerPixel_; }
  std::uint32_t operator()(std::uint16_t colour) const { return table_[colour]; }
  // Converts `count` pixels, one in each element of `target` whatever BytesPerPixel() is.
  void ConvertRow(const std::uint16_t* source, std::uint32_t* target, int count) const;

 private:
  int bytesPerPixel_ = 0;
  std::vector<std::uint32_t> table_;
  WidenRow widen_ = nullptr;  // null where the table converts
  WidePlacement placement_;
};

// Nearest-neighbour enlargement (or reduction) of a picture onto a target rectangle: which
// source column and row each target column and row shows, worked out once per size.
class PictureScaler {
 public:
  // For a sourceWidth × sourceHeight picture onto a targetWidth × targetHeight rectangle; any
  // size not above zero leaves nothing to draw.
  void Prepare(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight);
  int TargetWidth() const { return static_cast<int>(columns_.size()); }
  int TargetHeight() const { return static_cast<int>(rows_.size()); }
  // The source column (row) a target column (row) shows: the one under its centre.
  int SourceColumn(int targetColumn) const { return columns_[targetColumn]; }
  int SourceRow(int targetRow) const { return rows_[targetRow]; }

  // Draws the prepared picture: `source` holds sourceHeight rows of sourceWidth RGB565 pixels,
  // `target` is the rectangle's top-left pixel in memory of conversion.BytesPerPixel() a pixel,
  // 32-bit pixels aligned to 4 bytes. Rows that show the same source row as the row above are
  // copied from it; a row as wide as the source's is converted straight into the target.
  void Draw(const std::uint16_t* source, int sourcePitchBytes, const Rgb565Conversion& conversion,
            std::uint8_t* target, int targetPitchBytes);

 private:
  int sourceWidth_ = 0;
  std::vector<int> columns_;
  std::vector<int> rows_;
  SpreadRow spread_ = SpreadRowPlain;
  std::vector<std::uint32_t> line_;  // one source row, converted, and kSpreadSlack more
};

}  // namespace platform::host::sdl
