#include "platform/host/headless/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct DecodedPng {
  int width = 0;
  int height = 0;
  int bitDepth = 0;
  int colourType = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3
};

DecodedPng ReadPng(const std::string& path) {
  DecodedPng decoded;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return decoded;
  decoded.width = static_cast<int>(image.width);
  decoded.height = static_cast<int>(image.height);
  decoded.colourType = static_cast<int>(image.format);
  image.format = PNG_FORMAT_RGB;
  decoded.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, decoded.rgb.data(), 0, nullptr)) decoded.rgb.clear();
  return decoded;
}

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("tirravel_png_" + name)).string();
}

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
  const std::string path = TempPath("pitch.png");
  std::string error;
  ASSERT_TRUE(platform::WriteRgb565Png(path, bits.data(), width, height, pitchPixels * 2, &error))
      << error;

  const DecodedPng png = ReadPng(path);
  ASSERT_EQ(png.width, width);
  ASSERT_EQ(png.height, height);
  EXPECT_EQ(png.colourType, PNG_FORMAT_RGB);
  const std::vector<std::uint8_t> expected = {
      255, 0, 0, 0,   255, 0,   0,   0,   255,  // row 0
      0,   0, 0, 255, 255, 255, 132, 130, 132,  // row 1: 16<<3|16>>2, 32<<2|32>>4
  };
  EXPECT_EQ(png.rgb, expected);
  std::filesystem::remove(path);
}

TEST(PngWriter, ReportsFailuresWithTheFileAndReason) {
  const std::uint16_t pixel = 0;
  std::string error;
  EXPECT_FALSE(platform::WriteRgb565Png("/nonexistent-dir/x.png", &pixel, 1, 1, 2, &error));
  EXPECT_NE(error.find("/nonexistent-dir/x.png"), std::string::npos) << error;
  EXPECT_NE(error.find("No such file"), std::string::npos) << error;

  error.clear();
  EXPECT_FALSE(platform::WriteRgb565Png(TempPath("bad.png"), &pixel, 2, 1, 2, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(platform::WriteRgb565Png(TempPath("bad.png"), nullptr, 1, 1, 2, &error));
  EXPECT_FALSE(platform::WriteRgb565Png(TempPath("bad.png"), &pixel, 0, 1, 2, &error));
  EXPECT_FALSE(std::filesystem::exists(TempPath("bad.png")));
}

}  // namespace
