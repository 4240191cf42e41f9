// Helpers for the rasterizer tests: a target to draw into, and contexts that map clip space
// straight to pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/raster/raster.h"

namespace raster_test {

using platform::raster::LitVertex;
using platform::raster::RasterContext;

// A canvas fill that no drawing in the tests produces, to tell untouched pixels.
inline constexpr std::uint16_t kUntouched = 0x1234;

// An 8-bit colour as RGB 565, cut as the pipeline cuts it.
constexpr std::uint16_t Rgb565(int r, int g, int b) {
  return static_cast<std::uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

struct Canvas {
  Canvas(int width, int height, std::uint16_t fill = 0)
      : width(width), height(height), pixels(static_cast<std::size_t>(width) * height, fill) {}

  std::uint16_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  int Count(std::uint16_t value) const;
  platform::raster::RenderTarget Target() {
    return platform::raster::RenderTarget{pixels.data(), width, height, width};
  }

  int width;
  int height;
  std::vector<std::uint16_t> pixels;
};

// A context drawing into the canvas in which a vertex at (x, −y) lands on pixel position (x, y):
// identity transforms, the viewport's clip volume the size of the canvas in pixels.
RasterContext PixelContext(Canvas& canvas);

// A vertex for PixelContext at pixel position (x, y), depth 0.5.
LitVertex AtPixel(float x, float y, std::uint32_t diffuse = 0xFFFFFFFF, float tu = 0.0f,
                  float tv = 0.0f);

// The game's camera and viewport: 640 × 480, the projection with near 1, far 150 and
// c/s = 2.5, a camera looking from eye towards target.
RasterContext GameContext(Canvas& canvas, const float eye[3], const float target[3]);

// A texture of 32-bit texels held by the test.
struct TestTexture {
  TestTexture(int width, int height, platform::raster::TextureFormat format);
  platform::raster::TextureView View() const;
  void Set(int x, int y, std::uint32_t raw);

  int width;
  int height;
  platform::raster::TextureFormat format;
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint32_t> palette;
  bool hasColourKey = false;
  std::uint32_t colourKey = 0;
};

}  // namespace raster_test
