// The painter's picture as a Windows bitmap file of the plainest kind: 24 bits per pixel,
// uncompressed (BI_RGB), rows stored bottom-up, each padded to a multiple of four bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/bmp/bmp_writer.h"
#include "tools/make_texture/rgb_image.h"

// The complete file: BITMAPFILEHEADER, BITMAPINFOHEADER (40 bytes), then the pixel rows.
std::vector<std::uint8_t> EncodeBmp24(const RgbImage& image);

using bmp::WriteBytes;
