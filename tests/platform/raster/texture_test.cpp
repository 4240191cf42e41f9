// Texturing: perspective-correct coordinates, filters, address modes, formats and the colour key.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/platform/raster/raster_test_support.h"

namespace {

using namespace platform::raster;
using namespace raster_test;

class Texturing : public ::testing::TestWithParam<RasterPath> {
 protected:
  // A quad over pixels [x0, x1) × [y0, y1) with texture coordinates u0…u1 and v0…v1 reaching the
  // pixel edges, so that pixel i samples at its centre (i + 0.5) / n of the way across.
  void DrawQuad(RasterContext context, float x0, float y0, float x1, float y1, float u0, float v0,
                float u1, float v1) {
    context.path = GetParam();
    const LitVertex a = AtPixel(x0 - 0.5f, y0 - 0.5f, 0xFFFFFFFF, u0, v0);
    const LitVertex b = AtPixel(x1 - 0.5f, y0 - 0.5f, 0xFFFFFFFF, u1, v0);
    const LitVertex c = AtPixel(x1 - 0.5f, y1 - 0.5f, 0xFFFFFFFF, u1, v1);
    const LitVertex d = AtPixel(x0 - 0.5f, y1 - 0.5f, 0xFFFFFFFF, u0, v1);
    const LitVertex quad[6] = {a, b, c, a, c, d};
    ASSERT_TRUE(DrawTriangleList(context, quad));
  }
};

// A floor seen from 3 units up: every pixel's texel is computed from the ray through its centre.
// Texel (i, j) of a 32 × 32 texture is red 8i, green 8j, which RGB 565 keeps exactly.
TEST_P(Texturing, PerspectiveCorrectCoordinatesMatchTheRayThroughEachPixel) {
  TestTexture texture(32, 32, TextureFormat::Xrgb8888);
  for (int j = 0; j < 32; ++j) {
    for (int i = 0; i < 32; ++i) texture.Set(i, j, (i * 8u) << 16 | (j * 8u) << 8);
  }
  auto mismatches = [&](bool perspective) {
    Canvas canvas(640, 480, kUntouched);
    const float eye[3] = {0, 3, 0}, target[3] = {0, 3, 10};
    RasterContext context = GameContext(canvas, eye, target);
    context.path = GetParam();
    context.perspective = perspective;
    context.texture = texture.View();
    auto floor = [](float x, float z) {
      return LitVertex{x, 0, z, 0, 0xFFFFFFFF, 0, (x + 8.0f) / 16.0f, (z - 2.0f) / 32.0f};
    };
    const LitVertex quad[6] = {floor(-8, 2), floor(8, 2),  floor(8, 34),
                               floor(-8, 2), floor(8, 34), floor(-8, 34)};
    EXPECT_TRUE(DrawTriangleList(context, quad));
    int wrong = 0, checked = 0;
    for (int py = 0; py < 480; ++py) {
      for (int px = 0; px < 640; ++px) {
        if (canvas.At(px, py) == kUntouched) continue;
        const double a = (px - 320.0) / 800.0, b = (0.75 - py / 320.0) / 2.5;
        const double t = -3.0 / b;  // where the ray meets the floor
        const double s = ((a * t + 8.0) / 16.0) * 32.0, tt = ((t - 2.0) / 32.0) * 32.0;
        const bool nearBoundary =
            std::fabs(s - std::round(s)) < 0.02 || std::fabs(tt - std::round(tt)) < 0.02;
        const int i = static_cast<int>(std::floor(s)), j = static_cast<int>(std::floor(tt));
        ++checked;
        if (!nearBoundary && canvas.At(px, py) != Rgb565(i * 8, j * 8, 0)) ++wrong;
      }
    }
    EXPECT_GT(checked, 20000);
    return wrong;
  };
  EXPECT_EQ(mismatches(true), 0);
  // The check has teeth: screen-linear coordinates miss on much of the floor.
  EXPECT_GT(mismatches(false), 10000);
}

TEST_P(Texturing, KeyColourTexelsAreNotDrawnWhateverTheFilter) {
  TestTexture texture(8, 8, TextureFormat::Rgb565);
  for (int j = 0; j < 8; ++j) {
    for (int i = 0; i < 8; ++i) texture.Set(i, j, (i + j) % 2 == 0 ? 0x0000 : 0xFFFF);
  }
  texture.hasColourKey = true;
  texture.colourKey = 0x0000;
  for (const TextureFilter filter : {TextureFilter::Point, TextureFilter::Bilinear}) {
    for (const bool keyEnabled : {true, false}) {
      Canvas canvas(8, 8, kUntouched);
      RasterContext context = PixelContext(canvas);
      context.texture = texture.View();
      context.colourKeyEnable = keyEnabled;
      context.magFilter = context.minFilter = filter;
      DrawQuad(context, 0, 0, 8, 8, 0, 0, 1, 1);
      for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
          const bool keyed = (x + y) % 2 == 0;
          if (keyed && keyEnabled) {
            EXPECT_EQ(canvas.At(x, y), kUntouched) << x << "," << y;
          } else {
            EXPECT_NE(canvas.At(x, y), kUntouched) << x << "," << y;
          }
        }
      }
    }
  }
}

TEST_P(Texturing, PaletteKeyIsAnIndexAndIgnoredBitsDoNotMatter) {
  TestTexture palette(2, 1, TextureFormat::Palette8);
  palette.palette[0] = 0x000000;
  palette.palette[7] = 0x000000;  // the same colour as index 0, but not the key
  palette.Set(0, 0, 0);
  palette.Set(1, 0, 7);
  palette.hasColourKey = true;
  palette.colourKey = 0;
  TestTexture xrgb(2, 1, TextureFormat::Xrgb8888);
  xrgb.Set(0, 0, 0xAB000000u);  // black with junk in the unused byte: still the key
  xrgb.Set(1, 0, 0x00000001u);
  xrgb.hasColourKey = true;
  xrgb.colourKey = 0;
  for (const TestTexture* texture : {&palette, &xrgb}) {
    Canvas canvas(2, 1, kUntouched);
    RasterContext context = PixelContext(canvas);
    context.texture = texture->View();
    context.colourKeyEnable = true;
    DrawQuad(context, 0, 0, 2, 1, 0, 0, 1, 1);
    EXPECT_EQ(canvas.At(0, 0), kUntouched);
    EXPECT_EQ(canvas.At(1, 0), 0x0000);
  }
}

TEST_P(Texturing, EveryFormatDecodesToTheSameColour) {
  struct Case {
    TextureFormat format;
    std::uint32_t raw;
    std::uint16_t expected;
  };
  // Orange (255, 170, 0) where the format can say it: five green bits widen 21 to 173.
  const Case cases[] = {
      {TextureFormat::Rgb565, 0xFD40, 0xFD40},     {TextureFormat::Rgb555, 0x7EA0, 0xFD60},
      {TextureFormat::Argb1555, 0xFEA0, 0xFD60},   {TextureFormat::Argb4444, 0xFFA0, 0xFD40},
      {TextureFormat::Xrgb8888, 0xFFAA00, 0xFD40}, {TextureFormat::Argb8888, 0xFFFFAA00, 0xFD40},
      {TextureFormat::Palette8, 3, 0xFD40},
  };
  for (const Case& c : cases) {
    TestTexture texture(1, 1, c.format);
    texture.palette[3] = 0xFFAA00;
    texture.Set(0, 0, c.raw);
    Canvas canvas(1, 1);
    RasterContext context = PixelContext(canvas);
    context.texture = texture.View();
    DrawQuad(context, 0, 0, 1, 1, 0, 0, 1, 1);
    EXPECT_EQ(canvas.At(0, 0), c.expected) << static_cast<int>(c.format);
  }
}

// A 1-texel checkerboard shrunk four times: the minification filter decides what shows; the
// same texture enlarged eight times shows the magnification filter (nearest), whatever min is.
TEST_P(Texturing, MinificationAndMagnificationFiltersApplyWhereTheyShould) {
  TestTexture texture(64, 64, TextureFormat::Rgb565);
  for (int j = 0; j < 64; ++j) {
    for (int i = 0; i < 64; ++i) texture.Set(i, j, (i + j) % 2 == 0 ? 0x0000 : 0xFFFF);
  }
  auto draw = [&](TextureFilter min, TextureFilter mag, float uvExtent) {
    Canvas canvas(16, 16);
    RasterContext context = PixelContext(canvas);
    context.texture = texture.View();
    context.minFilter = min;
    context.magFilter = mag;
    DrawQuad(context, 0, 0, 16, 16, 0, 0, uvExtent, uvExtent);
    return canvas;
  };
  const Canvas bilinear = draw(TextureFilter::Bilinear, TextureFilter::Point, 1.0f);
  const Canvas point = draw(TextureFilter::Point, TextureFilter::Bilinear, 1.0f);
  for (int i = 0; i < 16; ++i) {
    // Each pixel centre sits where four texels meet: two black, two white.
    EXPECT_EQ(bilinear.At(i, (i * 7) % 16), Rgb565(128, 128, 128));
    const std::uint16_t p = point.At(i, (i * 7) % 16);
    EXPECT_TRUE(p == 0x0000 || p == 0xFFFF) << p;
  }
  const Canvas magnified = draw(TextureFilter::Bilinear, TextureFilter::Point, 0.125f);
  for (int i = 0; i < 16; ++i) {
    const std::uint16_t p = magnified.At(i, 3);
    EXPECT_TRUE(p == 0x0000 || p == 0xFFFF) << p;
  }
}

TEST_P(Texturing, AddressModesWrapMirrorAndClamp) {
  TestTexture texture(4, 1, TextureFormat::Rgb565);
  const std::uint16_t colours[4] = {0xF800, 0x07E0, 0x001F, 0xFFFF};
  for (int i = 0; i < 4; ++i) texture.Set(i, 0, colours[i]);
  const int wrap[12] = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3};
  const int mirror[12] = {3, 2, 1, 0, 0, 1, 2, 3, 3, 2, 1, 0};
  const int clamp[12] = {0, 0, 0, 0, 0, 1, 2, 3, 3, 3, 3, 3};
  const std::pair<TextureAddress, const int*> modes[] = {{TextureAddress::Wrap, wrap},
                                                         {TextureAddress::Mirror, mirror},
                                                         {TextureAddress::Clamp, clamp}};
  for (const auto& [mode, expected] : modes) {
    Canvas canvas(12, 1);
    RasterContext context = PixelContext(canvas);
    context.texture = texture.View();
    context.address = mode;
    DrawQuad(context, 0, 0, 12, 1, -1, 0, 2, 1);  // u from −1 to 2: three copies
    for (int x = 0; x < 12; ++x) {
      EXPECT_EQ(canvas.At(x, 0), colours[expected[x]]) << static_cast<int>(mode) << " at " << x;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothPaths, Texturing,
                         ::testing::Values(RasterPath::Reference, RasterPath::Optimised));

}  // namespace
