// Windows bitmap files of the plainest kind: 24 bits per pixel, uncompressed (BI_RGB), rows
// stored bottom-up, each padded to a multiple of four bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/make_texture/rgb_image.h"

// The complete file: BITMAPFILEHEADER, BITMAPINFOHEADER (40 bytes), then the pixel rows.
std::vector<std::uint8_t> EncodeBmp24(const RgbImage& image);

// Writes bytes to path, replacing the file. False (with `error` set) when it cannot.
bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes,
                std::string& error);
