// Turning stored pixels into colours and colours into stored pixels, the way GDI does it for
// every layout a device context can draw into: packed RGB of any masks, and 1-, 4- and 8-bit
// palette indices.
#pragma once

#include <cstdint>

#include "platform/core/pixel_buffer.h"

namespace platform::gdi {

struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Widens an n-bit channel value to 8 bits by bit replication (a 5-bit 31 becomes 255).
std::uint8_t WidenChannel(std::uint32_t value, int bits);

// One channel of a packed RGB layout: where it lies and how wide it is.
struct Channel {
  int shift = 0;
  int bits = 0;
};
Channel ChannelOfMask(std::uint32_t mask);

// Decodes and encodes the pixels of one layout. RGB values are widened by bit replication and
// narrowed by truncation (so white is all ones, black all zeros, and a value read back and
// written again is unchanged); alpha bits are written opaque. Indexed layouts decode through the
// palette and encode to the nearest of its first paletteSize entries (the first of equals wins).
class PixelCodec {
 public:
  PixelCodec(const PixelLayout& layout, const PaletteColour* palette, int paletteSize);

  Rgb Decode(std::uint32_t raw) const;
  std::uint32_t Encode(Rgb colour) const;

 private:
  std::uint32_t NearestIndex(Rgb colour) const;

  PixelLayout layout_;
  const PaletteColour* palette_;  // null for RGB layouts
  int paletteSize_;               // usable entries for indexed layouts
  Channel red_, green_, blue_;
  std::uint32_t alphaMask_;
  // The last colour matched to an index: pictures repeat colours run after run, and a search
  // of the palette costs up to 256 distances.
  mutable Rgb lastColour_{};
  mutable std::uint32_t lastIndex_ = 0;
  mutable bool hasLast_ = false;
};

// Raw access to one pixel of a buffer; the caller keeps (x, y) inside it. Rows may run either
// way (a negative pitch walks a bottom-up bitmap top row first).
std::uint32_t ReadRawPixel(const PixelBuffer& buffer, int x, int y);
void WriteRawPixel(const PixelBuffer& buffer, int x, int y, std::uint32_t raw);

// Whether a layout is one the codec and the raw accessors handle.
bool IsDrawableLayout(const PixelLayout& layout);

}  // namespace platform::gdi
