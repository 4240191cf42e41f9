#include "tests/robustness/support/bmp_bytes.h"

Bytes Cut(Bytes file, std::size_t length) {
  file.resize(length);
  return file;
}

Bytes MakeBmp(int bits, int width, int height, int tableEntries) {
  bmp::BmpShape shape;
  shape.width = width;
  shape.height = height;
  shape.bitCount = bits;
  shape.imageSizeWritten = true;
  const int entries = bits <= 8 ? (tableEntries > 0 ? tableEntries : 1 << bits) : 0;
  if (bits <= 8 && tableEntries > 0) shape.coloursUsed = static_cast<std::uint32_t>(entries);
  for (int i = 0; i < entries; ++i) {  // 0x00RRGGBB
    const std::uint32_t blue = static_cast<std::uint8_t>(i * 3);
    const std::uint32_t green = static_cast<std::uint8_t>(255 - i);
    const std::uint32_t red = static_cast<std::uint8_t>(i * 7 + 1);
    shape.colours.push_back(red << 16 | green << 8 | blue);
  }
  shape.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  Bytes file = bmp::EncodeBmp(shape);
  // Every byte of the rows, padding too, from a pattern that is never zero.
  const std::size_t pixelOffset = kHeadersEnd + shape.colours.size() * 4;
  for (std::size_t i = pixelOffset; i < file.size(); ++i) {
    file[i] = static_cast<std::uint8_t>((i * 37 + 11) % 251 + 1);
  }
  return file;
}
