// Writes small uncompressed bottom-up BMP files for the device tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"
#include "tools/bmp/bmp_writer.h"

namespace device_test {

// The process's folder for the files below: ctest runs the tests of one fixture side by side,
// each writing the same names.
inline const TempFolder& BitmapFolder() {
  static const TempFolder folder;
  return folder;
}

// pixels: width × height values, top row first: colour-table indices for 8 bits, X1R5G5B5 for
// 16, 0x00RRGGBB for 24. colours: the 8-bit colour table as 0x00RRGGBB.
inline std::string WriteBmp(const std::string& name, int width, int height, int bits,
                            const std::vector<std::uint32_t>& pixels,
                            const std::vector<std::uint32_t>& colours = {}) {
  bmp::BmpShape shape;
  shape.width = width;
  shape.height = height;
  shape.bitCount = bits;
  shape.colours = colours;
  shape.coloursUsed = static_cast<std::uint32_t>(colours.size());
  shape.imageSizeWritten = true;
  shape.pixels = pixels;
  const std::string path = BitmapFolder().File(name);
  std::string error;
  EXPECT_TRUE(bmp::WriteBytes(path, bmp::EncodeBmp(shape), error)) << error;
  return path;
}

}  // namespace device_test
