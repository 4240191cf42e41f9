// Reads BMP files: the 14-byte file header, an info header of 12 (the old core header), 40, 52,
// 56, 108 or 124 bytes, a colour table, and uncompressed or bit-field pixel rows of 1, 4, 8, 16,
// 24 or 32 bits in either row order. Every size and offset is checked against the file before it
// is used, and absurd dimensions are refused before anything is allocated.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/core/pixel_buffer.h"

namespace platform::gdi {

// The picture as the file stores it: rows padded to 4 bytes, in the file's order.
struct BmpImage {
  int width = 0;
  int height = 0;                          // always positive
  bool topDown = false;                    // the file's first row is the top one
  int stride = 0;                          // bytes per stored row
  PixelLayout layout;                      // bit count and, for 16 and 32 bits, the channel masks
  std::vector<PaletteColour> colourTable;  // up to 256 entries for 1, 4 and 8 bits, else empty
  std::vector<std::uint8_t> rows;          // stride × height bytes
};

// The largest picture accepted: each side at most this many pixels, and the pixel data at most
// kMaxBmpPixelBytes, so a lying header cannot make us allocate gigabytes.
inline constexpr std::int64_t kMaxBmpSide = 16384;
inline constexpr std::int64_t kMaxBmpPixelBytes = 256 * 1024 * 1024;

// Parses a whole BMP file held in memory. Returns the picture, or nothing with *reason set to one
// line saying what is wrong ("file is truncated (pixel data needs 196608 bytes, 1000 present)").
std::optional<BmpImage> ParseBmp(std::span<const std::uint8_t> file, std::string* reason);

// Reads the file at path and parses it; the reason then starts with the path
// ("Texture.bmp: file not found").
std::optional<BmpImage> ReadBmpFile(const std::string& path, std::string* reason);

}  // namespace platform::gdi
