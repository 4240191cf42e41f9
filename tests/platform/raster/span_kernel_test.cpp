// The span kernel (the optimised path's whole-row drawing for the states the game uses) draws
// what the reference path draws, with SSE2, AVX2 and AVX-512, and it really is what draws the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/raster/pixel_state.h"
#include "platform/raster/span.h"
#include "platform/testing.h"
#include "tests/platform/raster/game_scene.h"
#include "tests/platform/raster/path_test.h"
#include "tests/platform/raster/random_cases.h"
#include "tests/platform/raster/raster_test_support.h"

namespace {

using namespace platform::raster;
using platform::testing::Lanes;
using platform::testing::LanesAreAvx2;
using platform::testing::LanesAreAvx512;
using platform::testing::UseLanes;
using namespace raster_test;

// A power-of-two texture of one of the kernel's formats, random texels, often with a key that
// occurs in it.
TestTexture KernelTexture(Random& random) {
  const int sizes[] = {1, 2, 4, 8, 16, 64};
  const TextureFormat format =
      Pick(random, 2) == 0 ? TextureFormat::Xrgb8888 : TextureFormat::Palette8;
  TestTexture texture(sizes[Pick(random, 6)], sizes[Pick(random, 6)], format);
  for (auto& byte : texture.bytes) byte = static_cast<std::uint8_t>(random());
  for (auto& colour : texture.palette) colour = random();
  for (int y = 0; y < texture.height; ++y) {
    for (int x = 0; x < texture.width; ++x) {
      if (Pick(random, 5) == 0) texture.Set(x, y, 0);  // black: the key below
    }
  }
  texture.hasColourKey = Pick(random, 3) != 0;
  texture.colourKey = format == TextureFormat::Palette8 ? 0u : 0xFF000000u;  // the top byte is
                                                                             // not compared
  return texture;
}

// The states the kernel serves, drawn at random, with a camera at the origin looking along +z.
RasterContext KernelContext(Random& random, Canvas& canvas, const TestTexture& texture) {
  RasterContext c = raster_test::PixelContext(canvas);
  c.viewport = Viewport{0,
                        0,
                        static_cast<std::uint32_t>(canvas.width),
                        static_cast<std::uint32_t>(canvas.height),
                        -1.0f,
                        0.75f,
                        2.0f,
                        1.5f,
                        0,
                        1};
  c.projection = OriginCameraProjection();
  c.texture = texture.View();
  c.colourKeyEnable = Pick(random, 4) != 0;
  c.shadeMode = Pick(random, 3) == 0 ? ShadeMode::Flat : ShadeMode::Gouraud;
  c.perspective = Pick(random, 4) != 0;
  c.magFilter = static_cast<TextureFilter>(Pick(random, 2));
  c.minFilter = static_cast<TextureFilter>(Pick(random, 2));
  c.specularEnable = Pick(random, 2) == 0;
  c.blendEnable = Pick(random, 2) == 0;
  c.srcBlend = BlendFactor::One;
  c.destBlend = BlendFactor::InvSrcAlpha;
  c.fogEnable = Pick(random, 4) != 0;
  c.fogMode = FogMode::Linear;
  c.fogStart = Uniform(random, 0.0f, 6.0f);
  c.fogEnd = c.fogStart + Uniform(random, 0.5f, 12.0f);
  c.fogColour = random();
  return c;
}

// Triangles of every size in front of the camera, some far enough to be wholly fogged.
std::vector<LitVertex> KernelTriangles(Random& random, int count) {
  std::vector<LitVertex> vertices;
  for (int i = 0; i < count; ++i) {
    const float cx = Uniform(random, -10, 10), cy = Uniform(random, -8, 8),
                cz = Uniform(random, 1, 25);
    const float reach = Pick(random, 2) == 0 ? 1.0f : 12.0f;
    for (int k = 0; k < 3; ++k) {
      LitVertex v{};
      v.x = cx + Uniform(random, -reach, reach);
      v.y = cy + Uniform(random, -reach, reach);
      v.z = std::max(0.5f, cz + Uniform(random, -reach, reach));
      // White, opaque or any colour; no specular or any.
      const std::uint32_t opaque = 0xFF000000u | static_cast<std::uint32_t>(random());
      const std::uint32_t colours[] = {0xFFFFFFFFu, opaque, static_cast<std::uint32_t>(random())};
      v.diffuse = colours[Pick(random, 3)];
      v.specular = Pick(random, 3) == 0 ? 0xFF000000u : random();
      v.tu = Uniform(random, -2, 3);
      v.tv = Uniform(random, -2, 3);
      vertices.push_back(v);
    }
  }
  return vertices;
}

// Lines of every length in front of the camera, with the triangles' colours and coordinates.
std::vector<LitVertex> KernelLines(Random& random, int count) {
  std::vector<LitVertex> vertices = KernelTriangles(random, count);
  vertices.resize(static_cast<std::size_t>(count) * 2);
  if (count > 1) vertices[3] = vertices[2];  // a line of no length
  return vertices;
}

class SpanKernel : public ::testing::TestWithParam<Lanes> {
 protected:
  void SetUp() override {
    UseLanes(GetParam());
    if (GetParam() == Lanes::Avx2 && !LanesAreAvx2()) {
      GTEST_SKIP() << "this processor lacks AVX2";
    }
    if (GetParam() == Lanes::Widest && !LanesAreAvx512()) {
      GTEST_SKIP() << "this processor lacks AVX-512: its widest lanes are tested as AVX2 or SSE2";
    }
  }
  void TearDown() override { UseLanes(Lanes::Widest); }
};

TEST_P(SpanKernel, DrawsWhatTheReferenceDrawsOverRandomTrianglesLinesAndStates) {
  Random random(13 - static_cast<int>(GetParam()));  // 11 for SSE2, 12 for AVX2, 13 for AVX-512
  long long drawn = 0;
  for (int round = 0; round < 300; ++round) {
    const TestTexture texture = KernelTexture(random);
    // Odd sizes: spans end in partial groups. Now and then the game's, for lines longer than the
    // kernel walks at a time.
    const bool large = round % 25 == 0;
    Canvas reference(large ? 640 : 61, large ? 480 : 47),
        optimised(reference.width, reference.height);
    RasterContext context = KernelContext(random, reference, texture);
    // Random pixels, or the fog colour everywhere as the game's cleared background is, with a
    // few pixels of other colours.
    const bool fogBackground = Pick(random, 3) == 0;
    const std::uint32_t fog = context.fogColour;
    const auto fog565 =
        static_cast<std::uint16_t>((fog >> 8 & 0xF800) | (fog >> 5 & 0x07E0) | (fog >> 3 & 0x001F));
    for (auto& pixel : reference.pixels) {
      pixel =
          fogBackground && Pick(random, 50) != 0 ? fog565 : static_cast<std::uint16_t>(random());
    }
    optimised.pixels = reference.pixels;
    const std::vector<std::uint16_t> before = reference.pixels;
    PixelState state;
    ASSERT_TRUE(MakePixelState(context, state));
    SpanInputs inputs;
    ASSERT_TRUE(SelectKernelDrawers(state, inputs).Serves()) << "round " << round;

    const auto triangles = KernelTriangles(random, 5);
    const auto lines = KernelLines(random, 8);
    ASSERT_TRUE(DrawOnBothPaths(context, optimised, triangles, lines));
    int differences = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
      differences += reference.pixels[i] != optimised.pixels[i];
      drawn += reference.pixels[i] != before[i];
    }
    ASSERT_EQ(differences, 0) << "round " << round << " format " << static_cast<int>(texture.format)
                              << " " << texture.width << "x" << texture.height;
  }
  EXPECT_GT(drawn, 150000);
}

TEST_P(SpanKernel, ServesTheGamesStatesAndNotOthers) {
  Canvas canvas(640, 480);
  const float eye[3] = {0, 3, 0}, target[3] = {0, 3, 10};
  const raster_test::GameScene scene;
  RasterContext context =
      raster_test::GameSceneContext(canvas, eye, target, true, RasterPath::Optimised);
  context.texture = scene.texture.View();
  PixelState state;
  SpanInputs inputs;
  ASSERT_TRUE(MakePixelState(context, state));
  EXPECT_TRUE(SelectKernelDrawers(state, inputs).Serves());

  context.textureBlend = TextureBlend::Decal;  // a state the reference's code draws instead
  ASSERT_TRUE(MakePixelState(context, state));
  EXPECT_FALSE(SelectKernelDrawers(state, inputs).Serves());
}

std::string LanesName(const ::testing::TestParamInfo<Lanes>& info) {
  switch (info.param) {
    case Lanes::Sse2:
      return "Sse2";
    case Lanes::Avx2:
      return "Avx2";
    case Lanes::Widest:
      break;
  }
  return "Avx512";
}

INSTANTIATE_TEST_SUITE_P(Lanes, SpanKernel,
                         ::testing::Values(Lanes::Sse2, Lanes::Avx2, Lanes::Widest), LanesName);

}  // namespace
