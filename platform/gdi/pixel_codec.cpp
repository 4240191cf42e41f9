#include "platform/gdi/pixel_codec.h"

#include <bit>
#include <cstring>
#include <limits>

#include "platform/pixel/rgb565.h"

namespace platform::gdi {
namespace {

// GDI narrows 8-bit channels by dropping low bits; wider channels get the byte replicated.
std::uint32_t NarrowChannel(std::uint8_t value, int bits) {
  if (bits <= 8) return static_cast<std::uint32_t>(value) >> (8 - bits);
  return pixel::ReplicateBits(value, 8, bits);
}

std::uint8_t* RowStart(const PixelBuffer& buffer, int y) {
  return buffer.bits + static_cast<std::ptrdiff_t>(y) * buffer.pitch;
}

}  // namespace

std::uint8_t WidenChannel(std::uint32_t value, int bits) {
  return static_cast<std::uint8_t>(pixel::ReplicateBits(value, bits, 8));
}

Channel ChannelOfMask(std::uint32_t mask) {
  if (mask == 0) return {};
  return {std::countr_zero(mask), std::popcount(mask)};
}

PixelCodec::PixelCodec(const PixelLayout& layout, const PaletteColour* palette, int paletteSize)
    : layout_(layout),
      palette_(layout.paletteIndexed ? palette : nullptr),
      paletteSize_(layout.paletteIndexed && palette ? paletteSize : 0),
      red_(ChannelOfMask(layout.redMask)),
      green_(ChannelOfMask(layout.greenMask)),
      blue_(ChannelOfMask(layout.blueMask)),
      alphaMask_(layout.alphaMask) {}

Rgb PixelCodec::Decode(std::uint32_t raw) const {
  if (layout_.paletteIndexed) {
    // An index past the palette reads as black rather than from beyond it.
    if (!palette_ || raw >= static_cast<std::uint32_t>(paletteSize_)) return {0, 0, 0};
    const PaletteColour& entry = palette_[raw];
    return {entry.red, entry.green, entry.blue};
  }
  auto channel = [raw](std::uint32_t mask, Channel c) {
    return WidenChannel((raw & mask) >> c.shift, c.bits);
  };
  return {channel(layout_.redMask, red_), channel(layout_.greenMask, green_),
          channel(layout_.blueMask, blue_)};
}

std::uint32_t PixelCodec::Encode(Rgb colour) const {
  if (layout_.paletteIndexed) return NearestIndex(colour);
  auto channel = [](std::uint8_t value, Channel c) {
    return c.bits == 0 ? 0u : NarrowChannel(value, c.bits) << c.shift;
  };
  // GDI knows nothing of alpha; surfaces with an alpha channel get it opaque, so a texture
  // filled through GDI draws as it looks.
  return channel(colour.red, red_) | channel(colour.green, green_) | channel(colour.blue, blue_) |
         alphaMask_;
}

std::uint32_t PixelCodec::NearestIndex(Rgb colour) const {
  if (hasLast_ && lastColour_ == colour) return lastIndex_;
  std::uint32_t best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (int i = 0; i < paletteSize_; ++i) {
    const int dr = palette_[i].red - colour.red;
    const int dg = palette_[i].green - colour.green;
    const int db = palette_[i].blue - colour.blue;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<std::uint32_t>(i);
      if (distance == 0) break;
    }
  }
  lastColour_ = colour;
  lastIndex_ = best;
  hasLast_ = true;
  return best;
}

std::uint32_t ReadRawPixel(const PixelBuffer& buffer, int x, int y) {
  const std::uint8_t* row = RowStart(buffer, y);
  switch (buffer.layout.bitCount) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
      return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    case 8:
      return row[x];
    case 16:
      return static_cast<std::uint32_t>(row[2 * x]) |
             (static_cast<std::uint32_t>(row[2 * x + 1]) << 8);
    case 24: {
      const std::uint8_t* p = row + 3 * x;
      return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
             (static_cast<std::uint32_t>(p[2]) << 16);
    }
    default: {
      std::uint32_t value;
      std::memcpy(&value, row + 4 * x, 4);
      return value;
    }
  }
}

void WriteRawPixel(const PixelBuffer& buffer, int x, int y, std::uint32_t raw) {
  std::uint8_t* row = RowStart(buffer, y);
  switch (buffer.layout.bitCount) {
    case 1: {
      const std::uint8_t bit = static_cast<std::uint8_t>(0x80u >> (x & 7));
      row[x >> 3] =
          static_cast<std::uint8_t>((raw & 1u) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      break;
    }
    case 4: {
      std::uint8_t& byte = row[x >> 1];
      byte = (x & 1) ? static_cast<std::uint8_t>((byte & 0xF0u) | (raw & 0x0Fu))
                     : static_cast<std::uint8_t>((byte & 0x0Fu) | ((raw & 0x0Fu) << 4));
      break;
    }
    case 8:
      row[x] = static_cast<std::uint8_t>(raw);
      break;
    case 16:
      row[2 * x] = static_cast<std::uint8_t>(raw);
      row[2 * x + 1] = static_cast<std::uint8_t>(raw >> 8);
      break;
    case 24:
      row[3 * x] = static_cast<std::uint8_t>(raw);
      row[3 * x + 1] = static_cast<std::uint8_t>(raw >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(raw >> 16);
      break;
    default:
      std::memcpy(row + 4 * x, &raw, 4);
      break;
  }
}

bool IsDrawableLayout(const PixelLayout& layout) {
  const std::uint32_t bits = layout.bitCount;
  if (layout.paletteIndexed) return bits == 1 || bits == 4 || bits == 8;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  const std::uint32_t all = layout.redMask | layout.greenMask | layout.blueMask | layout.alphaMask;
  const std::uint32_t room = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1u;
  return (layout.redMask | layout.greenMask | layout.blueMask) != 0 && (all & ~room) == 0;
}

}  // namespace platform::gdi
