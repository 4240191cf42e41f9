// RGB 565 channels and bit replication, the one way every module widens a colour channel: a
// channel of n bits repeated until it fills the wider one, so that full scale stays full scale
// and zero stays zero (a 5-bit 3 becomes 00011 000 = 24 in 8 bits).
#pragma once

#include <cstdint>

namespace platform::pixel {

// Repeats the `from`-bit value until it fills `to` bits; a value wider than `to` loses its lowest
// bits instead. A channel of no bits is 0.
constexpr std::uint32_t ReplicateBits(std::uint32_t value, int from, int to) {
  if (from <= 0) return 0;
  if (from >= to) return value >> (from - to);
  std::uint64_t repeated = 0;
  int filled = 0;
  for (; filled < to; filled += from) repeated = (repeated << from) | value;
  return static_cast<std::uint32_t>(repeated >> (filled - to));
}

// The replication to 8 bits of the channel widths the pixels come in, written out: they sit in
// the rasterizer's and the text blend's inner loops.
constexpr std::uint32_t Widen5(std::uint32_t c) {
  return (c << 3) | (c >> 2);
}
constexpr std::uint32_t Widen6(std::uint32_t c) {
  return (c << 2) | (c >> 4);
}
constexpr std::uint32_t Widen4(std::uint32_t c) {
  return c * 17u;
}

struct Rgb888 {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
  friend bool operator==(const Rgb888&, const Rgb888&) = default;
};

// The 8-bit channels of an RGB 565 pixel.
constexpr Rgb888 ExpandRgb565(std::uint16_t pixel) {
  return {static_cast<std::uint8_t>(Widen5(pixel >> 11)),
          static_cast<std::uint8_t>(Widen6((pixel >> 5) & 0x3Fu)),
          static_cast<std::uint8_t>(Widen5(pixel & 0x1Fu))};
}

// 8-bit channels narrowed to RGB 565 by truncation.
constexpr std::uint16_t PackRgb565(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return static_cast<std::uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
}

}  // namespace platform::pixel
