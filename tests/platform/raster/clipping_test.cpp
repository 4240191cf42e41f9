// Clipping against the viewport's clip volume and the near and far planes.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/raster/geometry.h"
#include "tests/platform/raster/raster_test_support.h"

namespace {

using namespace platform::raster;
using raster_test::AtPixel;
using raster_test::Canvas;
using raster_test::GameContext;
using raster_test::PixelContext;

constexpr std::uint16_t kUntouched = 0x1234;

class Clipping : public ::testing::TestWithParam<RasterPath> {};

// Distance from a pixel centre to the nearest edge line of a triangle given in pixels.
double DistanceToEdges(const LitVertex (&t)[3], int x, int y) {
  double nearest = 1e9;
  for (int i = 0; i < 3; ++i) {
    const LitVertex& a = t[i];
    const LitVertex& b = t[(i + 1) % 3];
    const double ex = b.x - a.x, ey = -b.y + a.y;  // AtPixel stores −y
    const double cross = ex * (y + a.y) - ey * (x - a.x);
    nearest = std::min(nearest, std::fabs(cross) / std::hypot(ex, ey));
  }
  return nearest;
}

// A 32 × 32 window in the middle of the canvas with the same pixel mapping as the whole canvas:
// what it shows of a triangle must be what the whole canvas shows there.
TEST_P(Clipping, EachSideOfTheViewportCutsExactlyWhereTheWholePictureWouldShow) {
  const LitVertex triangles[][3] = {
      {AtPixel(-20, 30), AtPixel(90, 10), AtPixel(40, 80)},     // crosses left, right and bottom
      {AtPixel(30, -40), AtPixel(45, 70), AtPixel(10, 33)},     // crosses top and bottom
      {AtPixel(5, 5), AtPixel(58, 22.5f), AtPixel(20, 59.3f)},  // corners outside on all sides
  };
  for (const auto& triangle : triangles) {
    Canvas whole(64, 64, kUntouched), window(64, 64, kUntouched);
    RasterContext full = PixelContext(whole);
    full.path = GetParam();
    ASSERT_TRUE(DrawTriangleList(full, triangle));

    RasterContext part = PixelContext(window);
    part.path = GetParam();
    part.viewport = Viewport{16, 16, 32, 32, 16.0f, -16.0f, 32.0f, 32.0f, 0.0f, 1.0f};
    ASSERT_TRUE(DrawTriangleList(part, triangle));

    int drawn = 0;
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        const bool inWindow = x >= 16 && x < 48 && y >= 16 && y < 48;
        if (!inWindow) {
          ASSERT_EQ(window.At(x, y), kUntouched) << x << "," << y;
          continue;
        }
        drawn += window.At(x, y) != kUntouched;
        // New corners are snapped to 1/256 pixel, which may move a centre lying on an edge.
        if (DistanceToEdges(triangle, x, y) > 0.01) {
          EXPECT_EQ(window.At(x, y), whole.At(x, y)) << x << "," << y;
        }
      }
    }
    EXPECT_GT(drawn, 100);
  }
}

// With identity transforms w is 1 and depth is z itself: a quad whose depth runs from −1.5 at
// x = −10 to 2.5 at x = 70 keeps only 0 ≤ depth ≤ 1, the columns from 20 up to 40.
TEST_P(Clipping, NearAndFarPlanesCutAtDepthZeroAndOne) {
  Canvas canvas(64, 16);
  RasterContext context = PixelContext(canvas);
  context.path = GetParam();
  auto at = [](float x, float y) {
    LitVertex v = AtPixel(x, y);
    v.z = (x - 20.0f) / 20.0f;
    return v;
  };
  const LitVertex quad[6] = {at(-10, -10), at(70, -10), at(70, 30),
                             at(-10, -10), at(70, 30),  at(-10, 30)};
  ASSERT_TRUE(DrawTriangleList(context, quad));
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 64; ++x) {
      EXPECT_EQ(canvas.At(x, y), x >= 20 && x < 40 ? 0xFFFF : 0) << x << "," << y;
    }
  }
}

// A floor reaching from behind the camera to 40 units ahead: only what lies ahead is drawn, and
// it ends at its far edge, 3 / 40 · 2.5 below the horizon (row 300).
TEST_P(Clipping, GeometryBehindTheEyeIsCutAtTheNearPlane) {
  Canvas canvas(640, 480);
  const float eye[3] = {0, 3, 0}, target[3] = {0, 3, 10};
  RasterContext context = GameContext(canvas, eye, target);
  context.path = GetParam();
  auto floor = [](float x, float z) { return LitVertex{x, 0, z, 0, 0xFFFFFFFF, 0, 0, 0}; };
  const LitVertex quad[6] = {floor(-20, -20), floor(20, -20), floor(20, 40),
                             floor(-20, -20), floor(20, 40),  floor(-20, 40)};
  ASSERT_TRUE(DrawTriangleList(context, quad));
  int drawnAbove = 0;
  for (int y = 0; y < 299; ++y) {
    for (int x = 0; x < 640; ++x) drawnAbove += canvas.At(x, y) != 0;
  }
  EXPECT_EQ(drawnAbove, 0);
  EXPECT_EQ(canvas.At(320, 301), 0xFFFF);
  for (int x = 0; x < 640; ++x) EXPECT_EQ(canvas.At(x, 479), 0xFFFF) << x;
}

INSTANTIATE_TEST_SUITE_P(BothPaths, Clipping,
                         ::testing::Values(RasterPath::Reference, RasterPath::Optimised));

}  // namespace

namespace {

// Nearly flat against the corner where the right and top planes meet: the corners the near and
// far planes make there fall on either side of the next planes by rounding alone, so those planes
// add two corners each. Found by search; ten corners overran the nine the clipper once had room
// for.
TEST(ClipTriangle, RoundingThatAddsTwoCornersPerPlaneStaysInBounds) {
  VertexStage stage;
  stage.xMin = -1.0f, stage.xMax = 1.0f, stage.yMin = -1.0f, stage.yMax = 1.0f;
  auto at = [](float x, float y, float z, float w) {
    ClipVertex v{};
    v.x = x, v.y = y, v.z = z, v.w = w;
    return v;
  };
  const ClipVertex triangle[3] = {
      at(0x1.874c42p+0f, 0x1.75067cp+0f, 0x1.023858p-2f, 0x1.75067cp+0f),
      at(-0x1.dcbe8ep-1f, 0x1.dcbebp-1f, 0x1.517164p+0f, 0x1.dcbeaep-1f),
      at(-0x1.d39dd6p+0f, 0x1.d39da4p+0f, -0x1.4442dep+0f, 0x1.d39d9ep+0f)};
  ClipVertex polygon[kMaxClipVertices];
  EXPECT_EQ(ClipTriangle(stage, triangle, polygon), 10);
}

}  // namespace
