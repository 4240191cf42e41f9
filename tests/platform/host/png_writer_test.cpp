#include "platform/host/headless/png_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/png_reader.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(PngWriter, WritesRgbWithBitReplicationAndHonoursPitch) {
  // Two rows of three pixels each, with two unused pixels of padding at the end of each row.
  const int width = 3, height = 2, pitchPixels = 5;
  std::vector<std::uint16_t> bits(pitchPixels * height, 0xDEAD);
  const std::uint16_t row0[] = {0xF800, 0x07E0, 0x001F};  // pure red, green, blue
  const std::uint16_t row1[] = {0x0000, 0xFFFF, 0x8410};  // black, white, r=16 g=32 b=16
  for (int x = 0; x < width; ++x) {
    bits[x] = row0[x];
    bits[pitchPixels + x] = row1[x];
  }
  const TempFolder folder;
  const std::string path = folder.File("pitch.png");
  std::string error;
  ASSERT_TRUE(platform::WriteRgb565Png(path, bits.data(), width, height, pitchPixels * 2, &error))
      << error;

  const PngPicture png = ReadPng(path);
  ASSERT_EQ(png.width, width);
  ASSERT_EQ(png.height, height);
  EXPECT_EQ(png.storedFormat, PNG_FORMAT_RGB);
  const std::vector<std::uint8_t> expected = {
      255, 0, 0, 0,   255, 0,   0,   0,   255,  // row 0
      0,   0, 0, 255, 255, 255, 132, 130, 132,  // row 1: 16<<3|16>>2, 32<<2|32>>4
  };
  EXPECT_EQ(png.rgb, expected);
}

TEST(PngWriter, ReportsFailuresWithTheFileAndReason) {
  const std::uint16_t pixel = 0;
  std::string error;
  EXPECT_FALSE(platform::WriteRgb565Png("/nonexistent-dir/x.png", &pixel, 1, 1, 2, &error));
  EXPECT_NE(error.find("/nonexistent-dir/x.png"), std::string::npos) << error;
  EXPECT_NE(error.find("No such file"), std::string::npos) << error;

  error.clear();
  const TempFolder folder;
  const std::string bad = folder.File("bad.png");
  EXPECT_FALSE(platform::WriteRgb565Png(bad, &pixel, 2, 1, 2, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(platform::WriteRgb565Png(bad, nullptr, 1, 1, 2, &error));
  EXPECT_FALSE(platform::WriteRgb565Png(bad, &pixel, 0, 1, 2, &error));
  EXPECT_FALSE(std::filesystem::exists(bad));
}

}  // namespace
