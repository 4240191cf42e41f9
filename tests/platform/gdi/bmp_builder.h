// Builds BMP files in memory for the reader's tests: any header size, depth, row order and colour
// table, from pixel values given top row first. Malformed files are made by editing the result.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tirravel::test {

struct BmpShape {
  std::uint32_t headerSize = 40;  // 12, 40, 52, 56, 108 or 124
  int width = 0;
  int height = 0;  // negative for top-down rows
  int bitCount = 24;
  std::uint32_t compression = 0;       // 0 BI_RGB, 3 BI_BITFIELDS
  std::vector<std::uint32_t> colours;  // colour table as 0x00RRGGBB
  std::uint32_t coloursUsed = 0;       // biClrUsed as written
  std::uint32_t masks[4] = {};         // red, green, blue, alpha for BI_BITFIELDS
  std::vector<std::uint32_t> pixels;   // width × |height| raw values, top row first
};

// Offsets of fields within a file with the default 40-byte header, for patching.
inline constexpr std::size_t kOffsetPixelOffset = 10;
inline constexpr std::size_t kOffsetHeaderSize = 14;
inline constexpr std::size_t kOffsetWidth = 18;
inline constexpr std::size_t kOffsetHeight = 22;
inline constexpr std::size_t kOffsetPlanes = 26;
inline constexpr std::size_t kOffsetBitCount = 28;
inline constexpr std::size_t kOffsetCompression = 30;
inline constexpr std::size_t kOffsetColoursUsed = 46;

std::vector<std::uint8_t> BuildBmp(const BmpShape& shape);

void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);
void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);

// Writes bytes to a fresh file under the test's temporary directory; returns its path.
std::string WriteTempFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
// Removes every file WriteTempFile made.
void RemoveTempFiles();

}  // namespace tirravel::test
