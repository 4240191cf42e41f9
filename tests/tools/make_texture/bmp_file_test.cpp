#include "tools/make_texture/bmp_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

TEST(Bmp24, StoresRowsBottomUpInBgrOrderPaddedToFourBytes) {
  // Three texels per row: 9 bytes of colour and 3 of padding.
  RgbImage image(3, 2);
  image.At(0, 0) = {255, 0, 0};
  image.At(1, 0) = {0, 255, 0};
  image.At(2, 0) = {0, 0, 255};
  image.At(0, 1) = {1, 2, 3};
  image.At(1, 1) = {4, 5, 6};
  image.At(2, 1) = {7, 8, 9};
  const std::vector<std::uint8_t> bytes = EncodeBmp24(image);
  ASSERT_EQ(bytes.size(), 54u + 2 * 12);
  EXPECT_EQ(bytes[2], 54 + 24);  // file size, little-endian
  EXPECT_EQ(bytes[10], 54);      // pixel offset
  EXPECT_EQ(bytes[18], 3);       // width
  EXPECT_EQ(bytes[22], 2);       // height
  EXPECT_EQ(bytes[28], 24);      // bits per pixel
  EXPECT_EQ(bytes[34], 24);      // size of the pixel data
  const std::vector<std::uint8_t> bottomRow(bytes.begin() + 54, bytes.begin() + 66);
  const std::vector<std::uint8_t> topRow(bytes.begin() + 66, bytes.end());
  EXPECT_EQ(bottomRow, (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0}));
  EXPECT_EQ(topRow, (std::vector<std::uint8_t>{0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0}));
}

TEST(Bmp24, WriteBytesReplacesTheFileOrReportsWhyNot) {
  const TempFolder folder;
  const std::filesystem::path path = folder.Path() / "Texture.bmp";
  std::string error;
  ASSERT_TRUE(WriteBytes(path.string(), {1, 2, 3, 4}, error)) << error;
  ASSERT_TRUE(WriteBytes(path.string(), {9, 8}, error)) << error;
  std::ifstream file(path, std::ios::binary);
  const std::vector<char> content{std::istreambuf_iterator<char>(file),
                                  std::istreambuf_iterator<char>()};
  EXPECT_EQ(content, (std::vector<char>{9, 8}));

  EXPECT_FALSE(WriteBytes("/nonexistent-directory/Texture.bmp", {1}, error));
  EXPECT_NE(error.find("/nonexistent-directory/Texture.bmp"), std::string::npos);
}

}  // namespace
