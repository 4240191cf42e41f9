// Builds Windows bitmap files in memory: any info header size, depth, row order and colour
// table, from pixel values given top row first. Malformed files are made by patching fields of
// the result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bmp {

// Offsets of the fields of a file with the plain 40-byte info header.
inline constexpr std::size_t kFileSizeField = 2;
inline constexpr std::size_t kPixelOffsetField = 10;
inline constexpr std::size_t kHeaderSizeField = 14;
inline constexpr std::size_t kWidthField = 18;
inline constexpr std::size_t kHeightField = 22;
inline constexpr std::size_t kPlanesField = 26;
inline constexpr std::size_t kBitCountField = 28;
inline constexpr std::size_t kCompressionField = 30;
inline constexpr std::size_t kImageSizeField = 34;
inline constexpr std::size_t kColoursUsedField = 46;
inline constexpr std::size_t kHeadersEnd = 54;  // file header and 40-byte info header

struct BmpShape {
  std::uint32_t headerSize = 40;  // 12, 40, 52, 56, 108 or 124
  int width = 0;
  int height = 0;  // negative for top-down rows
  int bitCount = 24;
  std::uint32_t compression = 0;       // 0 BI_RGB, 3 BI_BITFIELDS
  std::vector<std::uint32_t> colours;  // colour table as 0x00RRGGBB
  std::uint32_t coloursUsed = 0;       // biClrUsed as written
  bool imageSizeWritten = false;       // biSizeImage: the pixel bytes, or 0 as BI_RGB allows
  std::uint32_t masks[4] = {};         // red, green, blue, alpha for BI_BITFIELDS
  // width × |height| values, top row first: colour-table indices up to 8 bits, then raw
  // little-endian texels (0x00RRGGBB for 24 bits). Rows are padded to four bytes with zeros.
  std::vector<std::uint32_t> pixels;
};

std::vector<std::uint8_t> EncodeBmp(const BmpShape& shape);

// Overwrite a little-endian field; throw std::out_of_range past the end of the file.
void Put16(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t value);
void Put32(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t value);

// Writes bytes to path, replacing the file. False (with `error` set) when it cannot.
bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes,
                std::string& error);

}  // namespace bmp
