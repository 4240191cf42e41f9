// Where the game's coordinates land in pixels drawn at a render scale (pixel_buffer.h): the game
// keeps its 640 × 480 layout, and each of its points lands at its position times the scale,
// moved by the origin, on the nearest pixel edge. At scale 1 and origin 0 every point is itself.
#pragma once

#include <cmath>

#include "platform/core/pixel_buffer.h"

namespace platform::gdi {

inline long long PhysicalX(const PixelBuffer& pixels, long long x) {
  return static_cast<long long>(std::floor(static_cast<double>(x) * pixels.scale + 0.5)) +
         pixels.originX;
}

inline long long PhysicalY(const PixelBuffer& pixels, long long y) {
  return static_cast<long long>(std::floor(static_cast<double>(y) * pixels.scale + 0.5));
}

// Whether the game's coordinates are the pixels' own.
inline bool Unmapped(const PixelBuffer& pixels) {
  return pixels.scale == 1.0f && pixels.originX == 0;
}

// The render scales a device context draws at: from a quarter to sixteen (a 7680-line display
// is 16 times 480).
inline bool UsableScale(const PixelBuffer& pixels) {
  return std::isfinite(pixels.scale) && pixels.scale >= 0.25f && pixels.scale <= 16.0f &&
         pixels.originX >= 0 && pixels.originX <= pixels.width;
}

}  // namespace platform::gdi
