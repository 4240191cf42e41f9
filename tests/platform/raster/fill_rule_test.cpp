// Coverage: which pixel centres a triangle owns, by the top-left rule.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/platform/raster/path_test.h"
#include "tests/platform/raster/raster_test_support.h"

namespace {

using namespace platform::raster;
using namespace raster_test;

class FillRule : public PathTest {};

TEST_P(FillRule, RectangleFromZeroToFiveFillsTwentyFivePixelsWhicheverWayItIsSplit) {
  const LitVertex a = AtPixel(0, 0), b = AtPixel(5, 0), c = AtPixel(5, 5), d = AtPixel(0, 5);
  const std::vector<std::vector<LitVertex>> splits = {
      {a, b, c, a, c, d},  // along a–c, one winding
      {a, c, b, a, d, c},  // the same, other winding
      {a, b, d, b, c, d},  // along b–d
  };
  for (const auto& quad : splits) {
    Canvas canvas(8, 8);
    ASSERT_TRUE(DrawTriangleList(Context(canvas), quad));
    EXPECT_EQ(canvas.Count(0xFFFF), 25);
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 5; ++x) EXPECT_EQ(canvas.At(x, y), 0xFFFF) << x << "," << y;
    }
  }
}

TEST_P(FillRule, PixelCentreExactlyOnAnEdgeGoesToTheTopOrLeftSideOnly) {
  // A thin triangle whose slanted edge passes through pixel centres (1, 1), (2, 2), (3, 3).
  Canvas canvas(8, 8);
  const LitVertex lower[3] = {AtPixel(0, 0), AtPixel(4, 4), AtPixel(0, 4)};  // left of diagonal
  ASSERT_TRUE(DrawTriangleList(Context(canvas), lower));
  // The diagonal is the triangle's right-hand edge: centres on it are not drawn; (0, 0) lies on
  // both its left edge and the diagonal, so it is not drawn either.
  for (int i = 0; i < 4; ++i) EXPECT_EQ(canvas.At(i, i), 0) << i;
  EXPECT_EQ(canvas.At(0, 1), 0xFFFF);
  EXPECT_EQ(canvas.At(2, 3), 0xFFFF);

  Canvas other(8, 8);
  const LitVertex upper[3] = {AtPixel(0, 0), AtPixel(4, 0), AtPixel(4, 4)};  // right of it
  ASSERT_TRUE(DrawTriangleList(Context(other), upper));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(other.At(i, i), 0xFFFF) << i;
}

// Random meshes over the square [2, 60) × [2, 60): each triangle adds one step of red with an
// additive blend, so a gap shows as 0 and a pixel drawn twice as 2.
TEST_P(FillRule, TrianglesSharingEdgesLeaveNoGapAndDrawNoPixelTwice) {
  constexpr int kGrid = 6;
  constexpr float kLow = 2.0f, kHigh = 60.0f, kStep = (kHigh - kLow) / kGrid;
  std::mt19937 random(5);
  // Corners move by at most 0.2 of a cell each way, which keeps every quad convex: both of its
  // triangles then lie inside it, whichever diagonal splits it.
  std::uniform_real_distribution<float> jitter(-0.2f * kStep, 0.2f * kStep);
  for (int round = 0; round < 10; ++round) {
    float px[kGrid + 1][kGrid + 1], py[kGrid + 1][kGrid + 1];
    for (int j = 0; j <= kGrid; ++j) {
      for (int i = 0; i <= kGrid; ++i) {
        const bool edgeX = i == 0 || i == kGrid, edgeY = j == 0 || j == kGrid;
        px[j][i] = kLow + i * kStep + (edgeX ? 0.0f : jitter(random));
        py[j][i] = kLow + j * kStep + (edgeY ? 0.0f : jitter(random));
      }
    }
    std::vector<LitVertex> mesh;
    const std::uint32_t oneStep = 0xFF080000u;  // red 8: 1 in the five red bits
    auto corner = [&](int i, int j) { return AtPixel(px[j][i], py[j][i], oneStep); };
    for (int j = 0; j < kGrid; ++j) {
      for (int i = 0; i < kGrid; ++i) {
        const bool flip = (random() & 1) != 0;  // diagonal direction and winding vary
        const LitVertex a = corner(i, j), b = corner(i + 1, j), c = corner(i + 1, j + 1),
                        d = corner(i, j + 1);
        if (flip) {
          mesh.insert(mesh.end(), {a, b, d, c, b, d});
        } else {
          mesh.insert(mesh.end(), {a, c, b, a, d, c});
        }
      }
    }
    Canvas canvas(64, 64);
    RasterContext context = Context(canvas);
    context.blendEnable = true;
    context.srcBlend = BlendFactor::One;
    context.destBlend = BlendFactor::One;
    context.specularEnable = false;
    ASSERT_TRUE(DrawTriangleList(context, mesh));
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        const bool inside = x >= 2 && x < 60 && y >= 2 && y < 60;
        ASSERT_EQ(canvas.At(x, y) >> 11, inside ? 1 : 0)
            << "round " << round << " at " << x << "," << y;
      }
    }
  }
}

// The screen's y points down, so (4, 4) → (28, 4) → (4, 28) runs clockwise as seen.
TEST_P(FillRule, EachCullModeDropsItsOwnWindingOnly) {
  const LitVertex clockwise[3] = {AtPixel(4, 4), AtPixel(28, 4), AtPixel(4, 28)};
  const LitVertex counterClockwise[3] = {AtPixel(4, 4), AtPixel(4, 28), AtPixel(28, 4)};
  struct Case {
    CullMode cull;
    bool clockwiseDrawn, counterClockwiseDrawn;
  };
  for (const Case& c : {Case{CullMode::None, true, true}, Case{CullMode::Clockwise, false, true},
                        Case{CullMode::CounterClockwise, true, false}}) {
    for (const bool isClockwise : {true, false}) {
      Canvas canvas(32, 32);
      RasterContext context = PixelContext(canvas);
      context.path = GetParam();
      context.cull = c.cull;
      ASSERT_TRUE(DrawTriangleList(context, isClockwise ? clockwise : counterClockwise));
      const bool drawn = isClockwise ? c.clockwiseDrawn : c.counterClockwiseDrawn;
      EXPECT_EQ(canvas.Count(0xFFFF), drawn ? 300 : 0)
          << static_cast<int>(c.cull) << (isClockwise ? " clockwise" : " counter-clockwise");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothPaths, FillRule,
                         ::testing::Values(RasterPath::Reference, RasterPath::Optimised));

}  // namespace
