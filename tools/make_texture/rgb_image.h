// A plain 24-bit picture, stored top row first.
#pragma once

#include <cstddef>
#include <vector>

#include "tools/make_texture/colour.h"

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // width * height, row by row from the top

  RgbImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h) {}

  // x and y are not checked; callers stay inside the picture.
  Rgb& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  const Rgb& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
