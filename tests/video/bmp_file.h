// Writes small uncompressed bottom-up BMP files for the device tests.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace device_test {

// pixels: width × height values, top row first: colour-table indices for 8 bits, X1R5G5B5 for
// 16, 0x00RRGGBB for 24. colours: the 8-bit colour table as 0x00RRGGBB.
inline std::string WriteBmp(const std::string& name, int width, int height, int bits,
                            const std::vector<std::uint32_t>& pixels,
                            const std::vector<std::uint32_t>& colours = {}) {
  std::vector<std::uint8_t> bytes;
  auto put = [&bytes](std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  const int rowBytes = (width * bits / 8 + 3) & ~3;
  const int tableBytes = static_cast<int>(colours.size()) * 4;
  const int offset = 14 + 40 + tableBytes;
  put('B' | ('M' << 8), 2);
  put(offset + rowBytes * height, 4);
  put(0, 4);
  put(offset, 4);
  put(40, 4);
  put(width, 4);
  put(height, 4);
  put(1, 2);
  put(bits, 2);
  put(0, 4);  // BI_RGB
  put(rowBytes * height, 4);
  put(2835, 4);
  put(2835, 4);
  put(static_cast<std::uint32_t>(colours.size()), 4);
  put(0, 4);
  for (std::uint32_t colour : colours) put(colour, 4);  // blue, green, red, 0
  for (int y = height - 1; y >= 0; --y) {
    const std::size_t start = bytes.size();
    for (int x = 0; x < width; ++x) put(pixels[y * width + x], bits / 8);
    while (bytes.size() - start < static_cast<std::size_t>(rowBytes)) bytes.push_back(0);
  }
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path;
}

}  // namespace device_test
