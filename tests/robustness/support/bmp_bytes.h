// Bitmap files as bytes, built to order by the shared writer and then broken on purpose.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/bmp/bmp_writer.h"

using Bytes = std::vector<std::uint8_t>;

// The header fields the bad files lie in, and the patches that make them lie.
using bmp::kBitCountField;
using bmp::kColoursUsedField;
using bmp::kCompressionField;
using bmp::kFileSizeField;
using bmp::kHeadersEnd;
using bmp::kHeaderSizeField;
using bmp::kHeightField;
using bmp::kImageSizeField;
using bmp::kPixelOffsetField;
using bmp::kPlanesField;
using bmp::kWidthField;
using bmp::Put16;
using bmp::Put32;

// A well-formed, bottom-up file with a 40-byte info header: bits 1, 4 or 8 carry a colour table
// of tableEntries entries (0: the full 2^bits), deeper pictures none. The pixels are a pattern
// of colours, never all black.
Bytes MakeBmp(int bits, int width, int height, int tableEntries = 0);

// The first `length` bytes.
Bytes Cut(Bytes file, std::size_t length);
