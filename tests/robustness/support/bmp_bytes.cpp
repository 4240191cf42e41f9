#include "tests/robustness/support/bmp_bytes.h"

void Put16(Bytes& file, std::size_t at, std::uint16_t value) {
  file.at(at) = static_cast<std::uint8_t>(value);
  file.at(at + 1) = static_cast<std::uint8_t>(value >> 8);
}

void Put32(Bytes& file, std::size_t at, std::uint32_t value) {
  Put16(file, at, static_cast<std::uint16_t>(value));
  Put16(file, at + 2, static_cast<std::uint16_t>(value >> 16));
}

Bytes Cut(Bytes file, std::size_t length) {
  file.resize(length);
  return file;
}

Bytes MakeBmp(int bits, int width, int height, int tableEntries) {
  const int entries = bits <= 8 ? (tableEntries > 0 ? tableEntries : 1 << bits) : 0;
  const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  const std::size_t tableBytes = static_cast<std::size_t>(entries) * 4;
  const std::size_t pixelOffset = kHeadersEnd + tableBytes;
  Bytes file(pixelOffset + stride * static_cast<std::size_t>(height));
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, kFileSizeField, static_cast<std::uint32_t>(file.size()));
  Put32(file, kPixelOffsetField, static_cast<std::uint32_t>(pixelOffset));
  Put32(file, kHeaderSizeField, 40);
  Put32(file, kWidthField, static_cast<std::uint32_t>(width));
  Put32(file, kHeightField, static_cast<std::uint32_t>(height));
  Put16(file, kPlanesField, 1);
  Put16(file, kBitCountField, static_cast<std::uint16_t>(bits));
  Put32(file, kImageSizeField, static_cast<std::uint32_t>(stride * height));
  if (bits <= 8 && tableEntries > 0)
    Put32(file, kColoursUsedField, static_cast<std::uint32_t>(entries));
  for (int i = 0; i < entries; ++i) {  // blue, green, red, reserved
    file[kHeadersEnd + i * 4] = static_cast<std::uint8_t>(i * 3);
    file[kHeadersEnd + i * 4 + 1] = static_cast<std::uint8_t>(255 - i);
    file[kHeadersEnd + i * 4 + 2] = static_cast<std::uint8_t>(i * 7 + 1);
  }
  for (std::size_t i = pixelOffset; i < file.size(); ++i) {
    file[i] = static_cast<std::uint8_t>((i * 37 + 11) % 251 + 1);
  }
  return file;
}
