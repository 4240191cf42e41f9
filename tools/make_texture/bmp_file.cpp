#include "tools/make_texture/bmp_file.h"

std::vector<std::uint8_t> EncodeBmp24(const RgbImage& image) {
  bmp::BmpShape shape;
  shape.width = image.width;
  shape.height = image.height;  // positive: bottom-up
  shape.imageSizeWritten = true;
  shape.pixels.reserve(image.pixels.size());
  for (const Rgb& texel : image.pixels) {
    shape.pixels.push_back(std::uint32_t{texel.r} << 16 | std::uint32_t{texel.g} << 8 | texel.b);
  }
  return bmp::EncodeBmp(shape);
}
