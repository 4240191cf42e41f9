#include "platform/host/sdl/picture_scaler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/testing.h"

namespace {

using platform::host::sdl::PictureScaler;
using platform::host::sdl::PixelLayout;
using platform::host::sdl::Rgb565Conversion;
using platform::host::sdl::SpreadRow;
using platform::host::sdl::WidenRow;
using platform::host::sdl::WidePlacement;

constexpr PixelLayout kArgb8888{4, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
constexpr PixelLayout kAbgr8888{4, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
constexpr PixelLayout kRgb565{2, 0xF800, 0x07E0, 0x001F, 0};

TEST(Rgb565Conversion, WidensEachChannelAsBitReplicationDoes) {
  const Rgb565Conversion toArgb(kArgb8888);
  ASSERT_TRUE(toArgb.Usable());
  for (std::uint32_t v = 0; v < 32; ++v) {
    const std::uint32_t wide = (v << 3) | (v >> 2);
    EXPECT_EQ(toArgb(static_cast<std::uint16_t>(v << 11)), 0xFF000000 | wide << 16) << v;
    EXPECT_EQ(toArgb(static_cast<std::uint16_t>(v)), 0xFF000000 | wide) << v;
  }
  for (std::uint32_t v = 0; v < 64; ++v) {
    const std::uint32_t wide = (v << 2) | (v >> 4);
    EXPECT_EQ(toArgb(static_cast<std::uint16_t>(v << 5)), 0xFF000000 | wide << 8) << v;
  }
  EXPECT_EQ(Rgb565Conversion(kAbgr8888)(0xF800), 0xFF0000FFu);  // red lands in the low byte
}

TEST(Rgb565Conversion, SameLayoutIsIdentityAndUnknownLayoutsAreRefused) {
  const Rgb565Conversion same(kRgb565);
  ASSERT_TRUE(same.Usable());
  EXPECT_EQ(same.BytesPerPixel(), 2);
  for (std::uint32_t colour = 0; colour < 65536; ++colour) {
    ASSERT_EQ(same(static_cast<std::uint16_t>(colour)), colour);
  }
  EXPECT_FALSE(Rgb565Conversion({3, 0xFF0000, 0xFF00, 0xFF, 0}).Usable());
  EXPECT_FALSE(Rgb565Conversion({4, 0, 0xFF00, 0xFF, 0}).Usable());
}

// Every colour, in rows of every length up to two lanes of AVX-512 and one of none of the
// widths, widened by each lane width the processor has as the table converts it.
TEST(Rgb565Conversion, EveryLaneWidthWidensAsTheTableDoes) {
  std::vector<WidenRow> widths = {platform::host::sdl::WidenRowPlain,
                                  platform::host::sdl::WidenRowSse2};
  if (platform::testing::LanesAreAvx2()) widths.push_back(platform::host::sdl::WidenRowAvx2);
  if (platform::testing::LanesAreAvx512()) widths.push_back(platform::host::sdl::WidenRowAvx512);
  std::vector<std::uint16_t> colours(65536 + 21);
  for (size_t i = 0; i < colours.size(); ++i) colours[i] = static_cast<std::uint16_t>(i * 40503);
  const std::pair<PixelLayout, WidePlacement> layouts[] = {
      {kArgb8888, {16, 8, 0, 0xFF000000}},
      {kAbgr8888, {0, 8, 16, 0xFF000000}},
      {{4, 0xFF000000, 0x00FF0000, 0x0000FF00, 0}, {24, 16, 8, 0}}};
  for (const auto& [layout, placement] : layouts) {
    const Rgb565Conversion table(layout);
    std::vector<std::uint32_t> expected(colours.size());
    for (size_t i = 0; i < colours.size(); ++i) expected[i] = table(colours[i]);
    for (size_t w = 0; w < widths.size(); ++w) {
      for (int count : {0, 1, 3, 7, 15, 17, 31, 33, static_cast<int>(colours.size())}) {
        std::vector<std::uint32_t> row(colours.size() + 1, 0x5A5A5A5A);
        widths[w](colours.data(), row.data(), count, placement);
        for (int i = 0; i < count; ++i) ASSERT_EQ(row[i], expected[i]) << w << " " << i;
        ASSERT_EQ(row[count], 0x5A5A5A5Au) << w << " " << count;  // nothing past the row
      }
    }
  }
}

// Spreading a row over the columns of enlargements, of a reduction by less than half (permuted)
// and by more (copied pixel by pixel), at lengths that leave a partial group: each lane width
// the processor has gives every column its pixel and writes nothing past the row.
TEST(PictureScaler, EveryLaneWidthSpreadsARowAsThePlainCodeDoes) {
  std::vector<SpreadRow> widths = {platform::host::sdl::SpreadRowPlain};
  if (platform::testing::LanesAreAvx2()) widths.push_back(platform::host::sdl::SpreadRowAvx2);
  if (platform::testing::LanesAreAvx512()) widths.push_back(platform::host::sdl::SpreadRowAvx512);
  const std::pair<int, int> sizes[] = {{640, 1440}, {640, 1280}, {1440, 1280}, {3, 7}, {100, 37}};
  for (const auto& [from, to] : sizes) {
    PictureScaler scaler;
    scaler.Prepare(from, 1, to, 1);
    std::vector<int> columns(static_cast<size_t>(to));
    for (int x = 0; x < to; ++x) columns[x] = scaler.SourceColumn(x);
    std::vector<std::uint32_t> line(static_cast<size_t>(from) + platform::host::sdl::kSpreadSlack);
    for (size_t i = 0; i < line.size(); ++i) line[i] = static_cast<std::uint32_t>(i * 2654435761u);
    for (size_t w = 0; w < widths.size(); ++w) {
      std::vector<std::uint32_t> row(static_cast<size_t>(to) + 1, 0x5A5A5A5A);
      widths[w](line.data(), columns.data(), row.data(), to);
      for (int x = 0; x < to; ++x)
        ASSERT_EQ(row[x], line[columns[x]]) << from << " " << w << " " << x;
      ASSERT_EQ(row[to], 0x5A5A5A5Au) << from << " " << w;
    }
  }
}

TEST(PictureScaler, EverySourcePixelShowsTwoOrThreeTimesOnA1080Screen) {
  PictureScaler scaler;
  scaler.Prepare(640, 480, 1440, 1080);
  ASSERT_EQ(scaler.TargetWidth(), 1440);
  ASSERT_EQ(scaler.TargetHeight(), 1080);
  std::vector<int> columnShown(640), rowShown(480);
  for (int x = 0; x < 1440; ++x) ++columnShown.at(scaler.SourceColumn(x));
  for (int y = 0; y < 1080; ++y) ++rowShown.at(scaler.SourceRow(y));
  for (int shown : columnShown) EXPECT_TRUE(shown == 2 || shown == 3) << shown;
  for (int shown : rowShown) EXPECT_TRUE(shown == 2 || shown == 3) << shown;
  scaler.Prepare(640, 480, 1280, 960);
  for (int x = 0; x < 1280; ++x) ASSERT_EQ(scaler.SourceColumn(x), x / 2);
  scaler.Prepare(640, 480, 0, 960);
  EXPECT_EQ(scaler.TargetWidth(), 0);
}

// A 3 × 2 picture onto a 7 × 5 rectangle at (2, 1) of a 12 × 8 target: each pixel is its
// nearest source pixel converted, and nothing outside the rectangle is written.
template <typename Pixel>
void ExpectScaledInPlace(const PixelLayout& layout) {
  const std::uint16_t source[2][4] = {{0xF800, 0x07E0, 0x001F, 0}, {0xFFFF, 0x0000, 0x1234, 0}};
  const Rgb565Conversion conversion(layout);
  PictureScaler scaler;
  scaler.Prepare(3, 2, 7, 5);
  constexpr int kWidth = 12, kHeight = 8;
  const Pixel untouched = static_cast<Pixel>(0x5A5A5A5A);
  std::vector<Pixel> target(kWidth * kHeight, untouched);
  scaler.Draw(&source[0][0], sizeof source[0], conversion,
              reinterpret_cast<std::uint8_t*>(&target[1 * kWidth + 2]), kWidth * sizeof(Pixel));
  // The source column and row under each target pixel's centre.
  const int columns[7] = {0, 0, 1, 1, 1, 2, 2};
  const int rows[5] = {0, 0, 1, 1, 1};
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool inside = x >= 2 && x < 9 && y >= 1 && y < 6;
      const Pixel expected =
          inside ? static_cast<Pixel>(conversion(source[rows[y - 1]][columns[x - 2]])) : untouched;
      ASSERT_EQ(target[y * kWidth + x], expected) << x << "," << y;
    }
  }
}

TEST(PictureScaler, DrawsOnlyItsRectangleInBothPixelSizes) {
  ExpectScaledInPlace<std::uint32_t>(kArgb8888);
  ExpectScaledInPlace<std::uint16_t>(kRgb565);
}

// A picture as wide as its rectangle is converted straight into the target's rows: each pixel
// converted in place, the rows repeated where it is enlarged only in height, nothing around it.
TEST(PictureScaler, ConvertsAPictureOfTheRectanglesWidthStraightIn) {
  constexpr int kColumns = 37, kWidth = 40, kHeight = 6;
  std::vector<std::uint16_t> source(kColumns * 2);
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint16_t>(i * 2731);
  const Rgb565Conversion conversion(kAbgr8888);
  PictureScaler scaler;
  scaler.Prepare(kColumns, 2, kColumns, 4);
  std::vector<std::uint32_t> target(kWidth * kHeight, 0x5A5A5A5A);
  scaler.Draw(source.data(), kColumns * 2, conversion,
              reinterpret_cast<std::uint8_t*>(&target[kWidth + 1]), kWidth * 4);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool inside = x >= 1 && x <= kColumns && y >= 1 && y <= 4;
      const std::uint32_t expected =
          inside ? conversion(source[(y - 1) / 2 * kColumns + x - 1]) : 0x5A5A5A5Au;
      ASSERT_EQ(target[y * kWidth + x], expected) << x << "," << y;
    }
  }
}

}  // namespace
