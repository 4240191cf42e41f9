// A colour blended over RGB 565 pixels by coverage, exactly as through the general codec:
// channels widened by bit replication, mixed as (over·c + under·(255 − c) + 127) / 255 and
// narrowed by truncation. One pixel at a time; text_runs_lanes.h blends a register of pixels at a
// time to the same pixels.
#pragma once

#include <cstdint>

#include "platform/gdi/pixel_codec.h"
#include "platform/pixel/rgb565.h"

namespace platform::gdi {

// The text colour, and its own pixel, which full coverage writes.
struct Rgb565Ink {
  Rgb colour;
  std::uint16_t solid;
};

inline std::uint8_t Mix(std::uint8_t over, std::uint8_t under, int coverage) {
  return static_cast<std::uint8_t>((over * coverage + under * (255 - coverage) + 127) / 255);
}

inline void BlendRgb565(std::uint16_t& target, int coverage, const Rgb565Ink& ink) {
  if (coverage == 0) return;
  if (coverage == 255) {
    target = ink.solid;
    return;
  }
  const pixel::Rgb888 under = pixel::ExpandRgb565(target);
  target = pixel::PackRgb565(Mix(ink.colour.red, under.red, coverage),
                             Mix(ink.colour.green, under.green, coverage),
                             Mix(ink.colour.blue, under.blue, coverage));
}

}  // namespace platform::gdi
