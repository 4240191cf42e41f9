// The pixel pipeline after texturing: shading, specular, fog, blending; and bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "tests/platform/raster/path_test.h"
#include "tests/platform/raster/raster_test_support.h"

namespace {

using namespace platform::raster;
using namespace raster_test;

class Pipeline : public PathTest {
 protected:
  // Covers the whole canvas with one colour pair.
  static std::vector<LitVertex> Cover(const Canvas& canvas, std::uint32_t diffuse,
                                      std::uint32_t specular = 0) {
    const float w = static_cast<float>(canvas.width), h = static_cast<float>(canvas.height);
    LitVertex a = AtPixel(-1, -1, diffuse, 0, 0), b = AtPixel(w, -1, diffuse, 1, 0),
              c = AtPixel(w, h, diffuse, 1, 1), d = AtPixel(-1, h, diffuse, 0, 1);
    for (LitVertex* v : {&a, &b, &c, &d}) v->specular = specular;
    return {a, b, c, a, c, d};
  }
};

TEST_P(Pipeline, SpecularIsAddedAfterTheTextureAndSaturates) {
  Canvas canvas(4, 4);
  RasterContext context = Context(canvas);
  ASSERT_TRUE(DrawTriangleList(context, Cover(canvas, 0xFFC86432, 0xFF646464)));
  EXPECT_EQ(canvas.At(1, 1), Rgb565(255, 200, 150));

  context.specularEnable = false;
  ASSERT_TRUE(DrawTriangleList(context, Cover(canvas, 0xFFC86432, 0xFF646464)));
  EXPECT_EQ(canvas.At(1, 1), Rgb565(200, 100, 50));

  TestTexture grey(1, 1, TextureFormat::Xrgb8888);
  grey.Set(0, 0, 0x808080);
  context.texture = grey.View();
  context.specularEnable = true;
  ASSERT_TRUE(DrawTriangleList(context, Cover(canvas, 0xFFFFFFFF, 0xFFC80000)));
  EXPECT_EQ(canvas.At(1, 1), Rgb565(255, 128, 128));
}

TEST_P(Pipeline, ModulateMultipliesAndDecalReplaces) {
  TestTexture texel(1, 1, TextureFormat::Xrgb8888);
  texel.Set(0, 0, 0xC86432);  // 200, 100, 50
  Canvas canvas(4, 4);
  RasterContext context = Context(canvas);
  context.texture = texel.View();
  context.specularEnable = false;
  ASSERT_TRUE(DrawTriangleList(context, Cover(canvas, 0xFF80FF00)));
  EXPECT_EQ(canvas.At(2, 2), Rgb565(100, 100, 0));  // 200 · 128 / 255 = 100.4
  context.textureBlend = TextureBlend::Decal;
  ASSERT_TRUE(DrawTriangleList(context, Cover(canvas, 0xFF80FF00)));
  EXPECT_EQ(canvas.At(2, 2), Rgb565(200, 100, 50));
}

TEST_P(Pipeline, GouraudInterpolatesAndFlatTakesTheFirstVertex) {
  Canvas canvas(256, 1);
  RasterContext context = Context(canvas);
  const LitVertex a = AtPixel(-0.5f, -1, 0xFF000000), b = AtPixel(255.5f, -1, 0xFFFF0000),
                  c = AtPixel(255.5f, 2, 0xFFFF0000), d = AtPixel(-0.5f, 2, 0xFF000000);
  const LitVertex ramp[6] = {a, b, c, a, c, d};
  ASSERT_TRUE(DrawTriangleList(context, ramp));
  for (int x = 0; x < 256; ++x) {
    const int red = static_cast<int>(std::lround((x + 0.5) * 255.0 / 256.0));
    EXPECT_EQ(canvas.At(x, 0) >> 11, red >> 3) << x;
  }
  context.shadeMode = ShadeMode::Flat;
  ASSERT_TRUE(DrawTriangleList(context, ramp));
  for (int x = 0; x < 256; ++x) EXPECT_EQ(canvas.At(x, 0), 0) << x;
}

// A wall facing the camera at a given depth, fog from 10.1 to 50.
std::uint16_t FoggedWall(RasterPath path, float depth, std::uint32_t fogColour) {
  Canvas canvas(640, 480);
  const float eye[3] = {0, 0, 0}, target[3] = {0, 0, 10};
  RasterContext context = GameContext(canvas, eye, target);
  context.path = path;
  context.perspective = true;
  context.fogEnable = true;
  context.fogMode = FogMode::Linear;
  context.fogStart = 10.1f;
  context.fogEnd = 50.0f;
  context.fogColour = fogColour;
  const float half = depth * 0.2f;
  auto at = [depth](float x, float y) {
    return LitVertex{x, y, depth, 0, 0xFFFFFFFF, 0xFF000000, 0, 0};
  };
  const LitVertex wall[6] = {at(-half, half), at(half, half),  at(half, -half),
                             at(-half, half), at(half, -half), at(-half, -half)};
  EXPECT_TRUE(DrawTriangleList(context, wall));
  return canvas.At(320, 240);
}

TEST_P(Pipeline, LinearFogFadesFromTenPointOneToFiftyUnits) {
  EXPECT_EQ(FoggedWall(GetParam(), 10.1f, 0xFF000000), 0xFFFF);
  // At 30: factor 20 / 39.9 = 0.501, weight 128: 255 · 128 / 256 rounds to 128.
  EXPECT_EQ(FoggedWall(GetParam(), 30.0f, 0xFF000000), Rgb565(128, 128, 128));
  EXPECT_EQ(FoggedWall(GetParam(), 50.0f, 0xFF000000), 0x0000);
  EXPECT_EQ(FoggedWall(GetParam(), 80.0f, 0xFF000000), 0x0000);
  // A coloured fog mixes in: (255 · 128 + 64 · 128 + 128) >> 8 = 160 and so on.
  EXPECT_EQ(FoggedWall(GetParam(), 30.0f, 0xFF408020), Rgb565(160, 192, 144));
  EXPECT_EQ(FoggedWall(GetParam(), 50.0f, 0xFF408020), Rgb565(64, 128, 32));
}

TEST_P(Pipeline, BlendAddsTheSourceToWhatItsAlphaLeavesOfTheTarget) {
  Canvas canvas(4, 4, 0x07E0);  // green
  RasterContext context = Context(canvas);
  context.blendEnable = true;
  context.destBlend = BlendFactor::InvSrcAlpha;  // source factor one: the game's blend
  ASSERT_TRUE(DrawTriangleList(context, Cover(canvas, 0x80FF0000)));
  EXPECT_EQ(canvas.At(1, 1), Rgb565(255, 127, 0));  // 255 · 127 / 255 of the green stays

  Canvas other(4, 4, 0x07E0);
  context = Context(other);
  context.blendEnable = true;
  context.srcBlend = BlendFactor::SrcAlpha;
  context.destBlend = BlendFactor::InvSrcAlpha;
  ASSERT_TRUE(DrawTriangleList(context, Cover(other, 0x80FF0000)));
  EXPECT_EQ(other.At(1, 1), Rgb565(128, 127, 0));

  // A texture with alpha decides the source alpha: 4-bit alpha 8 is 136.
  TestTexture texel(1, 1, TextureFormat::Argb4444);
  texel.Set(0, 0, 0x8F00);
  Canvas textured(4, 4, 0x07E0);
  context = Context(textured);
  context.texture = texel.View();
  context.blendEnable = true;
  context.destBlend = BlendFactor::InvSrcAlpha;
  ASSERT_TRUE(DrawTriangleList(context, Cover(textured, 0xFFFFFFFF)));
  EXPECT_EQ(textured.At(1, 1), Rgb565(255, 119, 0));  // 255 · 119 / 255
}

TEST_P(Pipeline, UnusableContextsDrawNothingAndSaySo) {
  Canvas canvas(8, 8, kUntouched);
  TestTexture texture(4, 4, TextureFormat::Palette8);
  std::vector<RasterContext> broken(6, Context(canvas));
  broken[0].target.pixels = nullptr;
  broken[1].viewport.dwX = 4;  // 4 + 8 columns do not fit in 8
  broken[2].viewport.dvClipWidth = 0.0f;
  broken[3].viewport.dvClipHeight = std::numeric_limits<float>::quiet_NaN();
  broken[4].texture = texture.View();
  broken[4].texture->palette = nullptr;
  broken[5].texture = texture.View();
  broken[5].texture->pitch = 3;
  for (const RasterContext& context : broken) {
    EXPECT_FALSE(DrawTriangleList(context, Cover(canvas, 0xFFFFFFFF)));
    EXPECT_FALSE(DrawLineList(context, Cover(canvas, 0xFFFFFFFF)));
  }
  EXPECT_EQ(canvas.Count(kUntouched), 64);
}

TEST_P(Pipeline, BrokenVerticesSkipTheirTriangleOnly) {
  Canvas canvas(8, 8, kUntouched);
  std::vector<LitVertex> vertices = Cover(canvas, 0xFFFFFFFF);
  vertices[0].x = std::numeric_limits<float>::quiet_NaN();  // first triangle, first line
  vertices[3].x = std::numeric_limits<float>::quiet_NaN();  // second triangle, second line
  vertices[4].y = std::numeric_limits<float>::infinity();   // second triangle, third line
  ASSERT_TRUE(DrawTriangleList(Context(canvas), vertices));
  ASSERT_TRUE(DrawLineList(Context(canvas), vertices));
  EXPECT_EQ(canvas.Count(kUntouched), 64);
  // The same vertices made sound draw.
  vertices = Cover(canvas, 0xFFFFFFFF);
  ASSERT_TRUE(DrawTriangleList(Context(canvas), vertices));
  EXPECT_EQ(canvas.Count(0xFFFF), 64);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, Pipeline,
                         ::testing::Values(RasterPath::Reference, RasterPath::Optimised));

}  // namespace
