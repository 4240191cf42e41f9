// Single pixels and block copies, with GDI's colour conversion between formats.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/core/last_error.h"
#include "platform/gdi/gdi_state.h"
#include "platform/gdi/pixel_codec.h"

using platform::gdi::Canvas;
using platform::gdi::PixelCodec;
using platform::gdi::Rgb;

namespace {

PixelCodec CodecOf(const Canvas& canvas) {
  return PixelCodec(canvas.pixels.layout, canvas.pixels.palette, canvas.paletteSize);
}

std::optional<Canvas> CanvasAt(HDC dc, int x, int y) {
  const HDC__* context = platform::gdi::FindContext(dc);
  if (!context) return std::nullopt;
  std::optional<Canvas> canvas = platform::gdi::CanvasOf(*context);
  if (!canvas || x < 0 || y < 0 || x >= canvas->pixels.width || y >= canvas->pixels.height) {
    return std::nullopt;
  }
  return canvas;
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

}  // namespace

COLORREF GetPixel(HDC dc, int x, int y) {
  const std::optional<Canvas> canvas = CanvasAt(dc, x, y);
  if (!canvas) return CLR_INVALID;
  return ColourOf(CodecOf(*canvas).Decode(platform::gdi::ReadRawPixel(canvas->pixels, x, y)));
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour) {
  const std::optional<Canvas> canvas = CanvasAt(dc, x, y);
  if (!canvas) return CLR_INVALID;
  const PixelCodec codec = CodecOf(*canvas);
  const std::uint32_t raw = codec.Encode(RgbOf(colour));
  platform::gdi::WriteRawPixel(canvas->pixels, x, y, raw);
  return ColourOf(codec.Decode(raw));
}

BOOL BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD operation) {
  if (operation != SRCCOPY) {
    platform::SetLastErrorText("BitBlt: only SRCCOPY is supported");
    return FALSE;
  }
  const HDC__* targetContext = platform::gdi::FindContext(dc);
  const HDC__* sourceContext = platform::gdi::FindContext(source);
  if (!targetContext || !sourceContext || width < 0 || height < 0) {
    platform::SetLastErrorText("BitBlt: unknown device context or negative size");
    return FALSE;
  }
  const std::optional<Canvas> target = platform::gdi::CanvasOf(*targetContext);
  const std::optional<Canvas> from = platform::gdi::CanvasOf(*sourceContext);
  if (!target || !from) return TRUE;  // nothing to copy from or into
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
