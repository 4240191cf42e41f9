// The optimised path draws exactly what the reference path draws: over many random triangles,
// lines and states (half of them states its span kernel serves), and over pictures like the
// game's. So does either path when the lists are kept and drawn later in bands of rows on three
// threads (draw_queue.h): a band that skipped, repeated or reordered any of its work would blend
// some pixel differently.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/raster/band_pool.h"
#include "platform/raster/draw_queue.h"
#include "platform/raster/pixel_state.h"
#include "platform/raster/span.h"
#include "tests/platform/raster/game_scene.h"
#include "tests/platform/raster/path_test.h"
#include "tests/platform/raster/random_cases.h"
#include "tests/platform/raster/raster_test_support.h"

namespace {

using namespace platform::raster;
using namespace raster_test;

// Any format and size, or (`forKernel`) one of the span kernel's formats at a power-of-two size.
TestTexture RandomTexture(Random& random, bool forKernel) {
  static const int kSizes[] = {1, 2, 8, 16, 32, 64, 3, 5, 37};  // the powers of two first
  const auto format = forKernel ? (Coin(random) ? TextureFormat::Xrgb8888 : TextureFormat::Palette8)
                                : static_cast<TextureFormat>(Pick(random, 7));
  const int sizes = forKernel ? 6 : 9;
  TestTexture texture(kSizes[Pick(random, sizes)], kSizes[Pick(random, sizes)], format);
  for (auto& byte : texture.bytes) byte = static_cast<std::uint8_t>(random());
  for (auto& colour : texture.palette) colour = random();
  texture.hasColourKey = Coin(random);
  // A key that occurs: the raw value of some texel (its first bytes).
  const std::uint8_t* b = texture.bytes.data();
  texture.colourKey = b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
  return texture;
}

// A context with every state drawn at random, or (`forKernel`) with those the span kernel
// decides by as it asks for them: wrapped, modulated, and blended as the game blends. Either
// pixel-like clip space with identity transforms, or a perspective camera at the origin looking
// along +z.
RasterContext RandomContext(Random& random, Canvas& canvas, const TestTexture* texture,
                            bool forKernel) {
  RasterContext c = raster_test::PixelContext(canvas);
  if (Coin(random)) {
    c.viewport = Viewport{0, 0, 48, 40, -1.0f, 0.75f, 2.0f, 1.5f, 0.0f, 1.0f};
    c.projection = OriginCameraProjection();
  }
  if (Coin(random))
    c.viewport.dwX = 3, c.viewport.dwY = 5, c.viewport.dwWidth = 40, c.viewport.dwHeight = 30;
  if (texture != nullptr) c.texture = texture->View();
  c.colourKeyEnable = Coin(random);
  c.shadeMode = Coin(random) ? ShadeMode::Flat : ShadeMode::Gouraud;
  c.perspective = Coin(random);
  c.magFilter = static_cast<TextureFilter>(Pick(random, 2));
  c.minFilter = static_cast<TextureFilter>(Pick(random, 2));
  c.address = static_cast<TextureAddress>(Pick(random, 3));
  c.textureBlend = static_cast<TextureBlend>(Pick(random, 3));
  c.specularEnable = Coin(random);
  c.blendEnable = Coin(random);
  c.srcBlend = static_cast<BlendFactor>(Pick(random, 11));
  c.destBlend =
      Pick(random, 3) == 0 ? static_cast<BlendFactor>(Pick(random, 11)) : BlendFactor::InvSrcAlpha;
  c.fogEnable = Coin(random);
  c.fogMode = Pick(random, 4) == 0 ? FogMode::None : FogMode::Linear;
  c.fogStart = Uniform(random, -1.0f, 8.0f);
  c.fogEnd = Pick(random, 8) == 0 ? c.fogStart : c.fogStart + Uniform(random, 0.1f, 15.0f);
  c.fogColour = random();
  if (forKernel) {
    c.address = TextureAddress::Wrap;
    c.textureBlend = TextureBlend::Modulate;
    c.srcBlend = BlendFactor::One;
    c.destBlend = BlendFactor::InvSrcAlpha;
  }
  return c;
}

// Whether the optimised path draws in the context with its span kernel: the question it asks
// before it draws.
bool TakesTheSpanKernel(const RasterContext& context) {
  PixelState state;
  SpanInputs inputs;
  return MakePixelState(context, state) && SelectKernelDrawers(state, inputs).Serves();
}

LitVertex RandomVertex(Random& random, bool perspective) {
  LitVertex v;
  if (perspective) {
    v.x = Uniform(random, -12.0f, 12.0f);
    v.y = Uniform(random, -9.0f, 9.0f);
    v.z = Uniform(random, -3.0f, 20.0f);
  } else {
    v.x = Uniform(random, -8.0f, 56.0f);
    v.y = -Uniform(random, -8.0f, 48.0f);
    v.z = Uniform(random, -0.3f, 1.3f);
  }
  v.reserved = 0;
  v.diffuse = Pick(random, 3) == 0 ? 0xFFFFFFFF : random();
  v.specular = random();
  v.tu = Uniform(random, -2.0f, 3.0f);
  v.tv = Uniform(random, -2.0f, 3.0f);
  return v;
}

// Small primitives too: a vertex near the first one.
std::vector<LitVertex> RandomPrimitives(Random& random, int count, int perPrimitive,
                                        bool perspective) {
  std::vector<LitVertex> vertices;
  for (int i = 0; i < count; ++i) {
    const LitVertex first = RandomVertex(random, perspective);
    vertices.push_back(first);
    const bool small = Coin(random);
    for (int k = 1; k < perPrimitive; ++k) {
      LitVertex v = RandomVertex(random, perspective);
      if (small) {
        const float reach = perspective ? 0.5f : 3.0f;
        v.x = first.x + Uniform(random, -reach, reach);
        v.y = first.y + Uniform(random, -reach, reach);
        v.z = first.z + Uniform(random, -reach, reach) * (perspective ? 1.0f : 0.1f);
      }
      vertices.push_back(v);
    }
  }
  return vertices;
}

std::string Describe(const RasterContext& c) {
  std::ostringstream out;
  out << "textured " << c.texture.has_value() << " format "
      << (c.texture ? static_cast<int>(c.texture->format) : -1) << " key " << c.colourKeyEnable
      << " flat " << (c.shadeMode == ShadeMode::Flat) << " perspective " << c.perspective
      << " mag/min " << static_cast<int>(c.magFilter) << static_cast<int>(c.minFilter)
      << " address " << static_cast<int>(c.address) << " combine "
      << static_cast<int>(c.textureBlend) << " specular " << c.specularEnable << " blend "
      << c.blendEnable << " " << static_cast<int>(c.srcBlend) << "/"
      << static_cast<int>(c.destBlend) << " fog " << c.fogEnable;
  return out.str();
}

// The threads the kept work is drawn on: the 480 rows of a game picture make 12 bands, the 40
// of a random round 2.
BandPool& Pool() {
  static BandPool pool(3);
  return pool;
}

int CountDifferences(const Canvas& a, const Canvas& b) {
  int differences = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) differences += a.pixels[i] != b.pixels[i];
  return differences;
}

TEST(PathsAgree, OverRandomTrianglesLinesAndStates) {
  Random random(20260608);
  constexpr int kRounds = 600;
  long long drawnPixels = 0;
  int kernelRounds = 0;
  for (int round = 0; round < kRounds; ++round) {
    // Every other round in the states the kernel serves, which random states rarely are.
    const bool forKernel = round % 2 == 0;
    const bool textured = forKernel || Pick(random, 4) != 0;
    const TestTexture texture = RandomTexture(random, forKernel);
    Canvas reference(48, 40), optimised(48, 40);
    for (auto& pixel : reference.pixels) pixel = static_cast<std::uint16_t>(random());
    optimised.pixels = reference.pixels;
    const std::vector<std::uint16_t> before = reference.pixels;

    RasterContext context =
        RandomContext(random, reference, textured ? &texture : nullptr, forKernel);
    kernelRounds += TakesTheSpanKernel(context);
    context.lineWidth = 1 + round % 4;  // the render scales' widths, without drawing anew
    const bool perspective = context.projection.m[15] == 0.0f;
    const auto triangles = RandomPrimitives(random, 6, 3, perspective);
    const auto lines = RandomPrimitives(random, 6, 2, perspective);

    ASSERT_TRUE(DrawOnBothPaths(context, optimised, triangles, lines));
    ASSERT_EQ(CountDifferences(reference, optimised), 0)
        << "round " << round << ": " << Describe(context);

    Canvas banded(48, 40);
    banded.pixels = before;
    context.target = banded.Target();
    context.path = round % 4 < 2 ? RasterPath::Optimised : RasterPath::Reference;
    DrawQueue queue;
    ASSERT_TRUE(queue.AddTriangleList(context, triangles));
    ASSERT_TRUE(queue.AddLineList(context, lines));
    queue.Draw(&Pool());
    ASSERT_EQ(CountDifferences(reference, banded), 0)
        << "round " << round << " in bands: " << Describe(context);
    for (std::size_t i = 0; i < before.size(); ++i) drawnPixels += reference.pixels[i] != before[i];
  }
  // The rounds drew a great deal, not next to nothing, and half of them through the kernel.
  EXPECT_GT(drawnPixels, 200000);
  EXPECT_GE(kernelRounds, kRounds / 2);
}

struct Camera {
  const char* name;
  float eye[3];
  float target[3];
};

// The start pose (the camera 8 units behind the butterfly at (45, 0, 45) heading along +z), a
// title-screen orbit position, and a raised view down the course.
const Camera kCameras[] = {
    {"start", {44.99363f, 3.0f, 37.000004f}, {45.0f, 2.0f, 45.0f}},
    {"orbit", {51.0f, 3.0f, 50.0f}, {45.0f, 2.0f, 45.0f}},
    {"course", {40.0f, 12.0f, 5.0f}, {50.0f, 4.0f, 60.0f}},
};

TEST(PathsAgree, OverPicturesLikeTheGames) {
  const GameScene scene;
  for (const Camera& camera : kCameras) {
    for (const bool bilinear : {false, true}) {
      Canvas reference(640, 480), optimised(640, 480);
      scene.Draw(
          GameSceneContext(reference, camera.eye, camera.target, bilinear, RasterPath::Reference),
          1.2f);
      scene.Draw(
          GameSceneContext(optimised, camera.eye, camera.target, bilinear, RasterPath::Optimised),
          1.2f);
      const std::string name = std::string(camera.name) + (bilinear ? "-bilinear" : "-point");
      EXPECT_EQ(CountDifferences(reference, optimised), 0) << name;
      for (const RasterPath path : {RasterPath::Reference, RasterPath::Optimised}) {
        Canvas banded(640, 480);
        DrawQueue queue;
        scene.Draw(GameSceneContext(banded, camera.eye, camera.target, bilinear, path), 1.2f,
                   &queue);
        queue.Draw(&Pool());
        EXPECT_EQ(CountDifferences(reference, banded), 0) << name << " in bands";
      }
      EXPECT_LT(reference.Count(0), 640 * 480 * 9 / 10) << name << " is nearly empty";
    }
  }
}

}  // namespace
