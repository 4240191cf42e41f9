// Single pixels and block copies, with GDI's colour conversion between formats. At a render scale
// a pixel of the game's is the block of pixels it covers.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/core/last_error.h"
#include "platform/gdi/gdi_state.h"
#include "platform/gdi/pixel_codec.h"
#include "platform/gdi/render_scale.h"

using platform::Fail;
using platform::gdi::Canvas;
using platform::gdi::PixelCodec;
using platform::gdi::Rgb;

namespace {

PixelCodec CodecOf(const Canvas& canvas) {
  return PixelCodec(canvas.pixels.layout, canvas.pixels.palette, canvas.paletteSize);
}

// The pixels a point of the game covers, clipped to the canvas: at a render scale a block of
// them, [left, right) × [top, bottom).
struct Block {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return left >= right || top >= bottom; }
};

Block BlockOf(const platform::PixelBuffer& pixels, int x, int y) {
  auto clip = [](long long value, int size) {
    return static_cast<int>(std::clamp<long long>(value, 0, size));
  };
  if (platform::gdi::Unmapped(pixels)) {
    if (x < 0 || y < 0 || x >= pixels.width || y >= pixels.height) return {};
    return {x, y, x + 1, y + 1};
  }
  return {clip(platform::gdi::PhysicalX(pixels, x), pixels.width),
          clip(platform::gdi::PhysicalY(pixels, y), pixels.height),
          clip(platform::gdi::PhysicalX(pixels, x + 1LL), pixels.width),
          clip(platform::gdi::PhysicalY(pixels, y + 1LL), pixels.height)};
}

// The canvas of a context and the pixels the game's point (x, y) covers in it, when any.
std::optional<std::pair<Canvas, Block>> CanvasAt(HDC dc, int x, int y) {
  const HDC__* context = platform::gdi::FindContext(dc);
  if (!context) return std::nullopt;
  std::optional<Canvas> canvas = platform::gdi::CanvasOf(*context);
  if (!canvas) return std::nullopt;
  const Block block = BlockOf(canvas->pixels, x, y);
  if (block.Empty()) return std::nullopt;
  return std::pair{*canvas, block};
}

COLORREF ColourOf(Rgb rgb) {
  return RGB(rgb.red, rgb.green, rgb.blue);
}
Rgb RgbOf(COLORREF colour) {
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

bool SameLayout(const platform::PixelLayout& a, const platform::PixelLayout& b) {
  return a.bitCount == b.bitCount && a.paletteIndexed == b.paletteIndexed &&
         a.redMask == b.redMask && a.greenMask == b.greenMask && a.blueMask == b.blueMask &&
         a.alphaMask == b.alphaMask;
}

// Turns raw source pixels into raw target pixels. Indices are copied unchanged when both
// palettes agree on every source entry (GDI's identity palette); otherwise each colour goes to
// the nearest target entry, remembered per source index or colour since matching is slow.
class RawConverter {
 public:
  RawConverter(const Canvas& source, const Canvas& target)
      : source_(CodecOf(source)), target_(CodecOf(target)) {
    const auto& from = source.pixels;
    const auto& to = target.pixels;
    identical_ = SameLayout(from.layout, to.layout) &&
                 (!from.layout.paletteIndexed || PalettesAgree(source, target));
    targetIndexed_ = to.layout.paletteIndexed;
    if (!identical_ && from.layout.paletteIndexed) {
      const int entries = 1 << from.layout.bitCount;
      for (int i = 0; i < entries; ++i) {
        byIndex_[i] = target_.Encode(source_.Decode(static_cast<std::uint32_t>(i)));
      }
    }
    sourceIndexed_ = from.layout.paletteIndexed;
  }

  std::uint32_t operator()(std::uint32_t raw) {
    if (identical_) return raw;
    if (sourceIndexed_) return byIndex_[raw & 0xFF];
    const Rgb colour = source_.Decode(raw);
    if (!targetIndexed_) return target_.Encode(colour);
    const std::uint32_t key = ColourOf(colour);
    auto found = byColour_.find(key);
    if (found == byColour_.end()) found = byColour_.emplace(key, target_.Encode(colour)).first;
    return found->second;
  }

 private:
  static bool PalettesAgree(const Canvas& source, const Canvas& target) {
    // Only a full source palette says what every stored index means.
    const int entries = 1 << source.pixels.layout.bitCount;
    if (source.paletteSize != entries || target.paletteSize < entries) return false;
    for (int i = 0; i < source.paletteSize; ++i) {
      const auto& a = source.pixels.palette[i];
      const auto& b = target.pixels.palette[i];
      if (a.red != b.red || a.green != b.green || a.blue != b.blue) return false;
    }
    return true;
  }

  PixelCodec source_;
  PixelCodec target_;
  bool identical_ = false;
  bool sourceIndexed_ = false;
  bool targetIndexed_ = false;
  std::array<std::uint32_t, 256> byIndex_{};
  std::unordered_map<std::uint32_t, std::uint32_t> byColour_;
};

// The run of offsets i in [0, count) for which both start + i and otherStart + i lie in their
// ranges [0, size) and [0, otherSize); empty (first >= last) when there is none.
struct Span {
  long long first;
  long long last;
};
Span Overlap(long long start, long long size, long long otherStart, long long otherSize,
             long long count) {
  return {std::max({0LL, -start, -otherStart}),
          std::min({count, size - start, otherSize - otherStart})};
}

// The game's rectangle (x, y, width, height) of a picture at a render scale, or of a source at
// one: every pixel the rectangle covers in the target takes the colour of the game's pixel it
// shows in the source, read where that pixel begins. What lies outside either is left alone.
struct Rectangle {
  int x, y, width, height;
};
void CopyMapped(const Canvas& from, const Canvas& target, Rectangle area, int sourceX,
                int sourceY) {
  const platform::PixelBuffer& to = target.pixels;
  const platform::PixelBuffer& source = from.pixels;
  // For each physical column and row the rectangle covers in the target, the source pixel it
  // shows (or -1: outside the source).
  auto sources = [](long long first, int size, float scale, int count, auto targetEdge,
                    auto sourceEdge, int sourceSize) {
    std::vector<int> map;
    // Pixels of the game's left of or above the target are skipped without a look (short of
    // the bound by more than the float product's error).
    const double beyond = -static_cast<double>(targetEdge(0)) / scale;
    const long long skipped =
        static_cast<long long>(std::max(0.0, beyond - 2 - std::abs(beyond) * 1e-6));
    for (long long i = skipped; i < count && targetEdge(i) < size; ++i) {
      const long long begin = std::max<long long>(targetEdge(i), 0);
      const long long end = std::min<long long>(targetEdge(i + 1), size);
      const long long read = sourceEdge(i);
      for (long long p = begin; p < end; ++p) {
        map.resize(static_cast<std::size_t>(p - first + 1), -1);
        map[static_cast<std::size_t>(p - first)] =
            read >= 0 && read < sourceSize ? static_cast<int>(read) : -1;
      }
    }
    return map;
  };
  const long long firstColumn = std::max<long long>(platform::gdi::PhysicalX(to, area.x), 0);
  const long long firstRow = std::max<long long>(platform::gdi::PhysicalY(to, area.y), 0);
  const std::vector<int> columns = sources(
      firstColumn, to.width, to.scale, area.width,
      [&](long long i) { return platform::gdi::PhysicalX(to, area.x + i); },
      [&](long long i) { return platform::gdi::PhysicalX(source, sourceX + i); }, source.width);
  const std::vector<int> rows = sources(
      firstRow, to.height, to.scale, area.height,
      [&](long long i) { return platform::gdi::PhysicalY(to, area.y + i); },
      [&](long long i) { return platform::gdi::PhysicalY(source, sourceY + i); }, source.height);
  // Read everything before writing, so a copy within one picture is safe.
  RawConverter convert(from, target);
  std::vector<std::uint32_t> block;
  for (int row : rows) {
    for (int column : columns) {
      if (row >= 0 && column >= 0) {
        block.push_back(convert(platform::gdi::ReadRawPixel(source, column, row)));
      }
    }
  }
  std::size_t next = 0;
  for (std::size_t j = 0; j < rows.size(); ++j) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (rows[j] < 0 || columns[i] < 0) continue;
      platform::gdi::WriteRawPixel(to, static_cast<int>(firstColumn + static_cast<long long>(i)),
                                   static_cast<int>(firstRow + static_cast<long long>(j)),
                                   block[next++]);
    }
  }
}

}  // namespace

COLORREF GetPixel(HDC dc, int x, int y) {
  const auto at = CanvasAt(dc, x, y);
  if (!at) return CLR_INVALID;
  const auto& [canvas, block] = *at;
  return ColourOf(
      CodecOf(canvas).Decode(platform::gdi::ReadRawPixel(canvas.pixels, block.left, block.top)));
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour) {
  const auto at = CanvasAt(dc, x, y);
  if (!at) return CLR_INVALID;
  const auto& [canvas, block] = *at;
  const PixelCodec codec = CodecOf(canvas);
  const std::uint32_t raw = codec.Encode(RgbOf(colour));
  for (int row = block.top; row < block.bottom; ++row) {
    for (int column = block.left; column < block.right; ++column) {
      platform::gdi::WriteRawPixel(canvas.pixels, column, row, raw);
    }
  }
  return ColourOf(codec.Decode(raw));
}

BOOL BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD operation) {
  if (operation != SRCCOPY) {
    return Fail(FALSE, "BitBlt: only SRCCOPY is supported");
  }
  const HDC__* targetContext = platform::gdi::FindContext(dc);
  const HDC__* sourceContext = platform::gdi::FindContext(source);
  if (!targetContext || !sourceContext || width < 0 || height < 0) {
    return Fail(FALSE, "BitBlt: unknown device context or negative size");
  }
  const std::optional<Canvas> target = platform::gdi::CanvasOf(*targetContext);
  const std::optional<Canvas> from = platform::gdi::CanvasOf(*sourceContext);
  if (!target || !from) return TRUE;  // nothing to copy from or into
  if (!platform::gdi::Unmapped(target->pixels) || !platform::gdi::Unmapped(from->pixels)) {
    CopyMapped(*from, *target, {x, y, width, height}, sourceX, sourceY);
    return TRUE;
  }
  const Span columns = Overlap(x, target->pixels.width, sourceX, from->pixels.width, width);
  const Span rows = Overlap(y, target->pixels.height, sourceY, from->pixels.height, height);
  if (columns.first >= columns.last || rows.first >= rows.last) return TRUE;

  // Read the whole block before writing any of it, so a copy within one picture is safe.
  RawConverter convert(*from, *target);
  std::vector<std::uint32_t> block;
  block.reserve(
      static_cast<std::size_t>((columns.last - columns.first) * (rows.last - rows.first)));
  for (long long j = rows.first; j < rows.last; ++j) {
    for (long long i = columns.first; i < columns.last; ++i) {
      block.push_back(convert(platform::gdi::ReadRawPixel(
          from->pixels, static_cast<int>(sourceX + i), static_cast<int>(sourceY + j))));
    }
  }
  std::size_t next = 0;
  for (long long j = rows.first; j < rows.last; ++j) {
    for (long long i = columns.first; i < columns.last; ++i) {
      platform::gdi::WriteRawPixel(target->pixels, static_cast<int>(x + i), static_cast<int>(y + j),
                                   block[next++]);
    }
  }
  return TRUE;
}
