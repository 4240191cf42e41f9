#include "platform/host/sdl/picture_scaler.h"

#include <cstring>

#include "platform/pixel/rgb565.h"

namespace platform::host::sdl {
namespace {

int CountBits(std::uint32_t mask) {
  int bits = 0;
  for (; mask != 0; mask &= mask - 1) ++bits;
  return bits;
}

int LowestBit(std::uint32_t mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1u) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

// A channel of `bits` bits with value `value`, put into `mask`: widened by repeating its bits
// (as SDL's own conversion does), or narrowed by dropping the lowest.
std::uint32_t Place(std::uint32_t value, int bits, std::uint32_t mask) {
  return (pixel::ReplicateBits(value, bits, CountBits(mask)) << LowestBit(mask)) & mask;
}

// The source index under the centre of each of `target` cells spread over `source` cells.
std::vector<int> NearestMap(int source, int target) {
  std::vector<int> map(static_cast<size_t>(target));
  for (int i = 0; i < target; ++i) {
    map[i] = static_cast<int>((2LL * i + 1) * source / (2LL * target));
  }
  return map;
}

}  // namespace

Rgb565Conversion::Rgb565Conversion(const PixelLayout& layout) {
  const bool sizeKnown = layout.bytesPerPixel == 2 || layout.bytesPerPixel == 4;
  if (!sizeKnown || CountBits(layout.redMask) == 0 || CountBits(layout.greenMask) == 0 ||
      CountBits(layout.blueMask) == 0) {
    return;
  }
  bytesPerPixel_ = layout.bytesPerPixel;
  const auto byteChannel = [](std::uint32_t mask) {
    return mask != 0 && (mask >> LowestBit(mask)) == 0xFFu;
  };
  if (layout.bytesPerPixel == 4 && byteChannel(layout.redMask) && byteChannel(layout.greenMask) &&
      byteChannel(layout.blueMask)) {
    widen_ = ChosenWidenRow();
    placement_ = {LowestBit(layout.redMask), LowestBit(layout.greenMask),
                  LowestBit(layout.blueMask), layout.alphaMask};
  }
  table_.resize(65536);
  for (std::uint32_t colour = 0; colour < 65536; ++colour) {
    table_[colour] = Place(colour >> 11, 5, layout.redMask) |
                     Place((colour >> 5) & 63, 6, layout.greenMask) |
                     Place(colour & 31, 5, layout.blueMask) | layout.alphaMask;
  }
}

void Rgb565Conversion::ConvertRow(const std::uint16_t* source, std::uint32_t* target,
                                  int count) const {
  if (widen_) {
    widen_(source, target, count, placement_);
    return;
  }
  for (int x = 0; x < count; ++x) target[x] = table_[source[x]];
}

void PictureScaler::Prepare(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight) {
  const bool drawable = sourceWidth > 0 && sourceHeight > 0 && targetWidth > 0 && targetHeight > 0;
  sourceWidth_ = drawable ? sourceWidth : 0;
  columns_ = drawable ? NearestMap(sourceWidth, targetWidth) : std::vector<int>{};
  rows_ = drawable ? NearestMap(sourceHeight, targetHeight) : std::vector<int>{};
  line_.assign(static_cast<size_t>(sourceWidth_) + kSpreadSlack, 0);
  spread_ = ChosenSpreadRow();
}

void PictureScaler::Draw(const std::uint16_t* source, int sourcePitchBytes,
                         const Rgb565Conversion& conversion, std::uint8_t* target,
                         int targetPitchBytes) {
  if (!conversion.Usable() || columns_.empty()) return;
  const int width = TargetWidth();
  const size_t rowBytes = static_cast<size_t>(width) * conversion.BytesPerPixel();
  const auto* sourceBytes = reinterpret_cast<const std::uint8_t*>(source);
  for (int y = 0; y < TargetHeight(); ++y) {
    std::uint8_t* row = target + static_cast<std::ptrdiff_t>(y) * targetPitchBytes;
    if (y > 0 && rows_[y] == rows_[y - 1]) {
      std::memcpy(row, row - targetPitchBytes, rowBytes);
      continue;
    }
    const auto* sourceRow = reinterpret_cast<const std::uint16_t*>(
        sourceBytes + static_cast<std::ptrdiff_t>(rows_[y]) * sourcePitchBytes);
    if (conversion.BytesPerPixel() == 4 && width == sourceWidth_) {  // every column in turn
      conversion.ConvertRow(sourceRow, reinterpret_cast<std::uint32_t*>(row), width);
      continue;
    }
    conversion.ConvertRow(sourceRow, line_.data(), sourceWidth_);
    if (conversion.BytesPerPixel() == 4) {
      spread_(line_.data(), columns_.data(), reinterpret_cast<std::uint32_t*>(row), width);
    } else {
      auto* out = reinterpret_cast<std::uint16_t*>(row);
      for (int x = 0; x < width; ++x) out[x] = static_cast<std::uint16_t>(line_[columns_[x]]);
    }
  }
}

}  // namespace platform::host::sdl
