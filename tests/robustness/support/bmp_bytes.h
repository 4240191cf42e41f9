// Bitmap files as bytes, built to order and then broken on purpose.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Offsets of the header fields the bad files lie in.
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

// A well-formed, bottom-up file with a 40-byte info header: bits 1, 4 or 8 carry a colour table
// of tableEntries entries (0: the full 2^bits), deeper pictures none. The pixels are a pattern
// of colours, never all black.
Bytes MakeBmp(int bits, int width, int height, int tableEntries = 0);

// Overwrites a little-endian field.
void Put16(Bytes& file, std::size_t at, std::uint16_t value);
void Put32(Bytes& file, std::size_t at, std::uint32_t value);

// The first `length` bytes.
Bytes Cut(Bytes file, std::size_t length);
