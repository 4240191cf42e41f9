// A PNG file's pixels as 8-bit RGB, read with libpng's simplified interface: how the tests read
// the pictures the game's PNG writer wrote, golden pictures among them. Link PNG::PNG.
#pragma once

#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

struct PngPicture {
  int width = 0;
  int height = 0;
  std::uint32_t storedFormat = 0;  // PNG_FORMAT_* of the file as stored
  std::vector<std::uint8_t> rgb;   // width * height * 3; empty when the file could not be read
};

inline PngPicture ReadPng(const std::string& path) {
  PngPicture picture;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return picture;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.storedFormat = image.format;
  image.format = PNG_FORMAT_RGB;
  picture.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
    picture.rgb.clear();
  }
  return picture;
}
