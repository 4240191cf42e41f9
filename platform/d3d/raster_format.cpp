#include "platform/d3d/raster_format.h"

namespace platform::d3d {

std::optional<raster::TextureFormat> RasterFormatOf(const PixelLayout& layout) {
  using raster::TextureFormat;
  if (layout.paletteIndexed) {
    if (layout.bitCount == 8) return TextureFormat::Palette8;
    return std::nullopt;
  }
  const auto masks = [&layout](std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
    return layout.redMask == r && layout.greenMask == g && layout.blueMask == b &&
           layout.alphaMask == a;
  };
  if (layout.bitCount == 16) {
    if (masks(0xF800, 0x07E0, 0x001F, 0)) return TextureFormat::Rgb565;
    if (masks(0x7C00, 0x03E0, 0x001F, 0)) return TextureFormat::Rgb555;
    if (masks(0x7C00, 0x03E0, 0x001F, 0x8000)) return TextureFormat::Argb1555;
    if (masks(0x0F00, 0x00F0, 0x000F, 0xF000)) return TextureFormat::Argb4444;
  }
  if (layout.bitCount == 32) {
    if (masks(0xFF0000, 0x00FF00, 0x0000FF, 0)) return TextureFormat::Xrgb8888;
    if (masks(0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000u)) return TextureFormat::Argb8888;
  }
  return std::nullopt;
}

}  // namespace platform::d3d
