// Lines: one pixel wide, the last pixel drawn, the same pixel pipeline as triangles.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

#include "platform/raster/setup.h"
#include "tests/platform/raster/raster_test_support.h"

namespace {

using namespace platform::raster;
using namespace raster_test;

using PixelSet = std::set<std::pair<int, int>>;

class Lines : public ::testing::TestWithParam<RasterPath> {
 protected:
  PixelSet Draw(Canvas& canvas, RasterContext context, const LitVertex& a, const LitVertex& b) {
    context.path = GetParam();
    const LitVertex line[2] = {a, b};
    EXPECT_TRUE(DrawLineList(context, line));
    PixelSet drawn;
    for (int y = 0; y < canvas.height; ++y) {
      for (int x = 0; x < canvas.width; ++x) {
        if (canvas.At(x, y) != 0) drawn.insert({x, y});
      }
    }
    return drawn;
  }
};

TEST_P(Lines, EachColumnOrRowGetsTheNearestPixelAndTheLastPixelIsDrawn) {
  {
    Canvas canvas(16, 16);
    // Slope 0.4 from (2, 3) to (12, 7): rows 3, 3.4, 3.8, 4.2, … rounded.
    const PixelSet expected = {{2, 3}, {3, 3}, {4, 4},  {5, 4},  {6, 5}, {7, 5},
                               {8, 5}, {9, 6}, {10, 6}, {11, 7}, {12, 7}};
    EXPECT_EQ(Draw(canvas, PixelContext(canvas), AtPixel(2, 3), AtPixel(12, 7)), expected);
  }
  {
    Canvas canvas(16, 16);
    // Steep, drawn upwards: one pixel per row, both ends included; x 5.5 and 6.5 round up.
    const PixelSet expected = {{5, 10}, {6, 9}, {6, 8}, {7, 7}, {7, 6}};
    EXPECT_EQ(Draw(canvas, PixelContext(canvas), AtPixel(5, 10), AtPixel(7, 6)), expected);
  }
  {
    Canvas canvas(16, 16);
    const PixelSet single = {{4, 4}};
    EXPECT_EQ(Draw(canvas, PixelContext(canvas), AtPixel(4.2f, 3.9f), AtPixel(4.2f, 3.9f)), single);
  }
}

TEST_P(Lines, AWideLineCoversOnePixelOfAPictureThatManyTimesSmaller) {
  {
    // Three pixels wide: the pixel of the one-wide line with one on each side across it, and one
    // more before the first end and after the last.
    Canvas canvas(16, 16);
    RasterContext context = PixelContext(canvas);
    context.lineWidth = 3;
    PixelSet expected;
    for (int x = 1; x <= 9; ++x) {
      for (int y = 4; y <= 6; ++y) expected.insert({x, y});
    }
    EXPECT_EQ(Draw(canvas, context, AtPixel(2, 5), AtPixel(8, 5)), expected);
  }
  {
    // Two wide, steep and drawn upwards: the one-wide line's columns 4, 4, 5, 5, 5 on rows 10
    // to 6 gain the column to their left, and row 11 comes before the first end.
    Canvas canvas(16, 16);
    RasterContext context = PixelContext(canvas);
    context.lineWidth = 2;
    const PixelSet expected = {{3, 11}, {4, 11}, {3, 10}, {4, 10}, {3, 9}, {4, 9},
                               {4, 8},  {5, 8},  {4, 7},  {5, 7},  {4, 6}, {5, 6}};
    EXPECT_EQ(Draw(canvas, context, AtPixel(4, 10), AtPixel(5, 6)), expected);
  }
  {
    // Each pixel once: a translucent wide line blends every pixel it covers exactly once.
    Canvas canvas(16, 16);
    RasterContext context = PixelContext(canvas);
    context.lineWidth = 4;
    context.blendEnable = true;
    context.srcBlend = BlendFactor::One;
    context.destBlend = BlendFactor::One;
    const PixelSet drawn =
        Draw(canvas, context, AtPixel(2, 3, 0x00080408), AtPixel(11, 9, 0x00080408));
    EXPECT_EQ(drawn.size(), 4u * 13u);
    for (const auto& [x, y] : drawn) EXPECT_EQ(canvas.At(x, y), 0x0821) << x << "," << y;
  }
  Canvas canvas(4, 4);
  RasterContext context = PixelContext(canvas);
  context.lineWidth = 0;
  const LitVertex line[2] = {AtPixel(0, 0), AtPixel(3, 3)};
  EXPECT_FALSE(DrawLineList(context, line));
}

TEST_P(Lines, ClippedLinesStayInsideTheViewport) {
  Canvas canvas(16, 16);
  RasterContext context = PixelContext(canvas);
  context.viewport = Viewport{4, 4, 8, 8, 4.0f, -4.0f, 8.0f, 8.0f, 0.0f, 1.0f};
  const PixelSet drawn = Draw(canvas, context, AtPixel(-10, 8), AtPixel(30, 8));
  PixelSet expected;
  for (int x = 4; x < 12; ++x) expected.insert({x, 8});
  EXPECT_EQ(drawn, expected);
}

TEST_P(Lines, LinesGoThroughTextureKeyAndFogLikeTriangles) {
  TestTexture texture(2, 1, TextureFormat::Rgb565);
  texture.Set(0, 0, 0x0000);  // the key
  texture.Set(1, 0, 0xFFFF);
  texture.hasColourKey = true;
  Canvas canvas(8, 1);
  RasterContext context = PixelContext(canvas);
  context.texture = texture.View();
  context.colourKeyEnable = true;
  // u runs 0…1 over pixels 0…7: the first half samples the key.
  const PixelSet drawn = Draw(canvas, context, AtPixel(0, 0, 0xFFFFFFFF, 0.0f, 0.5f),
                              AtPixel(7, 0, 0xFFFFFFFF, 0.99f, 0.5f));
  const PixelSet expected = {{4, 0}, {5, 0}, {6, 0}, {7, 0}};
  EXPECT_EQ(drawn, expected);

  Canvas fogged(8, 1);
  context = PixelContext(fogged);
  context.fogEnable = true;
  context.fogMode = FogMode::Linear;
  context.fogStart = 0.0f;
  context.fogEnd = 1.0f;  // depth 0.5 is half fog
  Draw(fogged, context, AtPixel(0, 0), AtPixel(7, 0));
  EXPECT_EQ(fogged.At(3, 0), 0x8410);  // white at weight 128: 128, 128, 128
}

// The optimised path steps a line's division from pixel to pixel; every pixel must be the one
// the reference path divides out, for lines of every direction, length and sub-pixel position,
// and for a walk begun partway (a band of rows drawing its part of a line).
TEST(LineWalker, GivesEveryPixelLinePixelGives) {
  std::mt19937 random(99);
  std::uniform_int_distribution<std::int64_t> position(-40000, 40000);
  for (int round = 0; round < 20000; ++round) {
    ScreenVertex a{}, b{};
    a.x = position(random);
    a.y = position(random);
    // Short lines, long ones, and ones of no length at all.
    const std::int64_t reach = round % 3 == 0 ? 600 : 40000;
    b.x = round % 17 == 0 ? a.x : a.x + position(random) * reach / 40000;
    b.y = round % 17 == 0 ? a.y : a.y + position(random) * reach / 40000;
    LineSetup line;
    SetUpLine(a, b, line);
    LineWalker walker(line);
    for (int i = 0; i < line.count; ++i) {
      int wx, wy, px, py;
      walker.Next(wx, wy);
      LinePixel(line, i, px, py);
      ASSERT_EQ(std::make_pair(wx, wy), std::make_pair(px, py))
          << "round " << round << " pixel " << i;
    }
    const int from = static_cast<int>(random() % static_cast<unsigned>(line.count));
    LineWalker partway(line, from);
    for (int i = from; i < line.count; ++i) {
      int wx, wy, px, py;
      partway.Next(wx, wy);
      LinePixel(line, i, px, py);
      ASSERT_EQ(std::make_pair(wx, wy), std::make_pair(px, py))
          << "round " << round << " pixel " << i << " from " << from;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothPaths, Lines,
                         ::testing::Values(RasterPath::Reference, RasterPath::Optimised));

}  // namespace
