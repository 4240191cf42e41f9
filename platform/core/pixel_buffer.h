// A view of pixel memory as the platform's drawing code sees it: DirectDraw surfaces lend their
// memory through it to GDI (device contexts) and to the 3-D device. Internal to the platform.
#pragma once

#include <cmath>
#include <cstdint>

namespace platform {

struct PaletteColour {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

// How one pixel is stored. For RGB formats the masks say where each channel lies; a palette-
// indexed format stores an index into a 256-entry palette (4-bit indices are packed, high nibble
// first).
struct PixelLayout {
  std::uint32_t bitCount = 0;  // 4, 8, 16, 24 or 32
  bool paletteIndexed = false;
  std::uint32_t redMask = 0;
  std::uint32_t greenMask = 0;
  std::uint32_t blueMask = 0;
  std::uint32_t alphaMask = 0;
};

struct PixelBuffer {
  std::uint8_t* bits = nullptr;  // top row first
  int width = 0;
  int height = 0;
  int pitch = 0;  // bytes from one row to the next
  PixelLayout layout;
  const PaletteColour* palette = nullptr;  // 256 entries for palette-indexed layouts, or null
  // Where the game's own coordinates land in this memory: physical x = logical x × scale +
  // originX, physical y = logical y × scale. Scale 1 and origin 0 for every surface but the
  // display's at a render scale or in the wide view.
  float scale = 1.0f;
  int originX = 0;
};

// The physical column where the game's column x begins, and the physical row of its row y:
// every mapping of the game's coordinates rounds the same way, so edges drawn by different
// modules meet.
inline int PhysicalX(const PixelBuffer& buffer, int x) {
  return static_cast<int>(std::lround(static_cast<float>(x) * buffer.scale)) + buffer.originX;
}
inline int PhysicalY(const PixelBuffer& buffer, int y) {
  return static_cast<int>(std::lround(static_cast<float>(y) * buffer.scale));
}

// The display's format: 16-bit RGB 565.
inline constexpr PixelLayout kRgb565Layout{16, false, 0xF800u, 0x07E0u, 0x001Fu, 0};

}  // namespace platform
