// The per-triangle filter bound answers only where every pixel agrees: a triangle it calls
// magnified or minified has no pixel the per-pixel test judges otherwise.
#include <gtest/gtest.h>

#include "platform/raster/filter_bound.h"
#include "platform/raster/pixel_math.h"

namespace {

using namespace platform::raster;

// A right triangle of `size` pixels with texture coordinates 0 to `reach` along both legs, on a
// 256 × 256 texture; perspective makes q fall from 1 at the corner to `farQ` along the legs.
FilterChoice Classify(float size, float reach, float farQ, int& pixelsMinified, int& pixels) {
  ScreenVertex v[3] = {};
  const float corners[3][2] = {{0, 0}, {size, 0}, {0, size}};
  for (int k = 0; k < 3; ++k) {
    v[k].x = static_cast<std::int64_t>(corners[k][0] * kSubPixelOne) + 8 * kSubPixelOne;
    v[k].y = static_cast<std::int64_t>(corners[k][1] * kSubPixelOne) + 8 * kSubPixelOne;
    const float q = k == 0 ? 1.0f : farQ;
    v[k].attributes[kAttrQ] = q;
    v[k].attributes[kAttrUq] = (k == 1 ? reach : 0.0f) * q;
    v[k].attributes[kAttrVq] = (k == 2 ? reach : 0.0f) * q;
  }
  TriangleSetup setup;
  EXPECT_TRUE(SetUpTriangle(v[0], v[1], v[2], PixelRect{0, 0, 4096, 4096}, setup));
  PixelState state{};
  state.textured = true;
  state.textureWidth = state.textureHeight = 256.0f;
  pixelsMinified = pixels = 0;
  const PlaneSet& set = setup.planes;
  for (int y = setup.box.y0; y < setup.box.y1; ++y) {
    for (int x = setup.box.x0; x < setup.box.x1; ++x) {
      if (!setup.edges[0].Covers(x, y) || !setup.edges[1].Covers(x, y) ||
          !setup.edges[2].Covers(x, y)) {
        continue;
      }
      const float dx = static_cast<float>(x - set.xr), dy = static_cast<float>(y - set.yr);
      const float q = EvaluatePlane(set.planes[kAttrQ], dx, dy);
      const float u = EvaluatePlane(set.planes[kAttrUq], dx, dy) * (1.0f / q);
      const float v = EvaluatePlane(set.planes[kAttrVq], dx, dy) * (1.0f / q);
      pixelsMinified += Minified(set, state, u, v, q);
      ++pixels;
    }
  }
  return BoundTriangleFilter(setup, state);
}

TEST(FilterBound, CertainOnlyWhereEveryPixelAgrees) {
  struct Case {
    float size, reach, farQ;
    FilterChoice expected;
  };
  const Case cases[] = {
      {100, 0.2f, 1.0f, FilterChoice::Magnified},    // half a texel a pixel, flat
      {100, 2.0f, 1.0f, FilterChoice::Minified},     // five texels a pixel, flat
      {100, 0.2f, 0.8f, FilterChoice::Magnified},    // receding, at most 0.65 texels a pixel
      {100, 1.0f, 0.2f, FilterChoice::PerPixel},     // receding from 0.5 texels a pixel to 13
      {100, 0.3905f, 1.0f, FilterChoice::PerPixel},  // 0.9997 texels a pixel: too near to call
  };
  for (const Case& c : cases) {
    int minified = 0, pixels = 0;
    const FilterChoice got = Classify(c.size, c.reach, c.farQ, minified, pixels);
    EXPECT_EQ(got, c.expected) << c.size << " " << c.reach << " " << c.farQ;
    if (got == FilterChoice::Magnified) {
      EXPECT_EQ(minified, 0);
    } else if (got == FilterChoice::Minified) {
      EXPECT_EQ(minified, pixels);
    }
    if (c.expected == FilterChoice::PerPixel && c.farQ != 1.0f) {
      EXPECT_GT(minified, 0);
      EXPECT_LT(minified, pixels);
    }
  }
}

}  // namespace
