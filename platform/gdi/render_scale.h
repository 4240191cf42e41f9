// Where the game's coordinates land in pixels drawn at a render scale (pixel_buffer.h): the game
// keeps its 640 × 480 layout, and each of its points lands at its position times the scale
// (rounded as the display's surfaces round it, so text, fills and the 3-D picture meet), moved by
// the origin. At scale 1 every point is itself plus the origin. Coordinates beyond an int's range
// (a text's pen far off the picture) are mapped without overflow.
#pragma once

#include <cmath>

#include "platform/core/pixel_buffer.h"

namespace platform::gdi {

inline long long PhysicalX(const PixelBuffer& pixels, long long x) {
  if (pixels.scale == 1.0f) return x + pixels.originX;
  return std::llround(static_cast<float>(x) * pixels.scale) + pixels.originX;
}

inline long long PhysicalY(const PixelBuffer& pixels, long long y) {
  if (pixels.scale == 1.0f) return y;
  return std::llround(static_cast<float>(y) * pixels.scale);
}

// Whether the game's coordinates are the pixels' own.
inline bool Unmapped(const PixelBuffer& pixels) {
  return pixels.scale == 1.0f && pixels.originX == 0;
}

// The render scales a device context draws at: from a quarter to 18, beyond the largest the
// display's surfaces are made at (a side of 8192 pixels is 17 times 480).
inline bool UsableScale(const PixelBuffer& pixels) {
  return std::isfinite(pixels.scale) && pixels.scale >= 0.25f && pixels.scale <= 18.0f &&
         pixels.originX >= 0 && pixels.originX <= pixels.width;
}

}  // namespace platform::gdi
