// Clipping against the viewport's clip volume and the near and far planes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "platform/raster/geometry.h"
#include "platform/raster/setup.h"
#include "tests/platform/raster/raster_test_support.h"

namespace {

using namespace platform::raster;
using namespace raster_test;

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

// Coordinates a broken scene can hand in: ordinary, huge, tiny, denormal, zero and non-finite.
float AdversarialCoordinate(std::mt19937& random) {
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  static const float kSpecial[] = {0.0f,  -0.0f,  1e-30f,    -1e-30f, 1e-40f,
                                   1e30f, -1e30f, kInfinity, kNaN};
  const float ordinary = std::uniform_real_distribution<float>(-3.0f, 3.0f)(random);
  return random() % 6 == 0 ? kSpecial[random() % 9] : ordinary;
}

// The pixel centres inside the bounding box of the clipped polygon's snapped corners, or an
// empty rectangle when it is not drawn.
PixelRect ScreenExtent(const RasterContext& context, const LitVertex (&triangle)[3]) {
  const VertexStage stage = MakeVertexStage(context);
  ClipVertex clip[3], polygon[kMaxClipVertices];
  for (int i = 0; i < 3; ++i) clip[i] = TransformVertex(stage, triangle[i]);
  const int count = ClipTriangle(stage, clip, polygon);
  PixelRect extent{0, 0, 0, 0};
  std::int64_t x0 = INT64_MAX, y0 = INT64_MAX, x1 = INT64_MIN, y1 = INT64_MIN;
  for (int i = 0; i < count; ++i) {
    ScreenVertex v;
    if (!ToScreen(stage, polygon[i], v)) return extent;
    x0 = std::min(x0, v.x), y0 = std::min(y0, v.y), x1 = std::max(x1, v.x), y1 = std::max(y1, v.y);
  }
  if (count < 3) return extent;
  auto ceilPixel = [](std::int64_t s) { return static_cast<int>(CeilDiv(s, kSubPixelOne)); };
  auto floorPixel = [](std::int64_t s) { return static_cast<int>(FloorDiv(s, kSubPixelOne)); };
  return PixelRect{ceilPixel(x0), ceilPixel(y0), floorPixel(x1) + 1, floorPixel(y1) + 1};
}

// Triangles with broken coordinates through a perspective camera whose w is the depth, so that
// corners sit behind the eye, on it, or at the near plane: whatever is drawn lies inside the
// clipped polygon's screen extent, and both paths draw the same.
TEST(ClipTriangle, AdversarialTrianglesDrawOnlyInsideTheirClippedExtentOnBothPaths) {
  std::mt19937 random(7);
  int drawnTriangles = 0;
  for (int round = 0; round < 3000; ++round) {
    Canvas reference(48, 40, kUntouched), optimised(48, 40, kUntouched);
    RasterContext context = PixelContext(reference);
    context.viewport = Viewport{0, 0, 48, 40, -1.0f, 1.0f, 2.0f, 2.0f, 0.0f, 1.0f};
    Matrix projection{};
    projection.m[0] = projection.m[5] = 1.0f;
    projection.m[10] = 0.5f, projection.m[11] = 1.0f, projection.m[14] = -0.25f;
    context.projection = projection;
    context.perspective = true;
    context.fogEnable = true, context.fogMode = FogMode::Linear, context.fogEnd = 4.0f;
    context.fogColour = 0x00FF0000;
    LitVertex triangle[3];
    for (LitVertex& v : triangle) {
      const float x = AdversarialCoordinate(random);
      const float y = AdversarialCoordinate(random);
      const float z = AdversarialCoordinate(random);
      const auto colour = static_cast<std::uint32_t>(random());
      v = LitVertex{
          x, y, z, 0, colour, 0, AdversarialCoordinate(random), AdversarialCoordinate(random)};
    }
    const PixelRect extent = ScreenExtent(context, triangle);
    context.path = RasterPath::Reference;
    ASSERT_TRUE(DrawTriangleList(context, triangle));
    context.path = RasterPath::Optimised;
    context.target = optimised.Target();
    ASSERT_TRUE(DrawTriangleList(context, triangle));
    ASSERT_EQ(reference.pixels, optimised.pixels) << "round " << round;
    bool drawn = false;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 48; ++x) {
        if (reference.At(x, y) == kUntouched) continue;
        drawn = true;
        ASSERT_TRUE(extent.Contains(x, y)) << "round " << round << " pixel " << x << "," << y;
      }
    }
    drawnTriangles += drawn;
  }
  EXPECT_GT(drawnTriangles, 300);
}

}  // namespace
