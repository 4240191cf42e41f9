// Rasterizer throughput on both paths: fill rate on a full-screen textured, fogged triangle
// pair, set-up rate on small triangles, and whole game-like frames.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "tests/platform/raster/game_scene.h"

namespace {

using namespace platform::raster;
using raster_test::Canvas;
using raster_test::GameScene;
using raster_test::GameSceneContext;

constexpr int kScreenPixels = 640 * 480;

const GameScene& Scene() {
  static const GameScene scene;
  return scene;
}

// The game's states looking along +z from 3 units up.
RasterContext BenchContext(Canvas& canvas, RasterPath path, bool bilinear) {
  const float eye[3] = {0.0f, 3.0f, 0.0f}, target[3] = {0.0f, 3.0f, 10.0f};
  RasterContext context = GameSceneContext(canvas, eye, target, bilinear, path);
  context.texture = Scene().texture.View();
  return context;
}

// A wall leaning away from 12 to 40 units, larger than the view: after clipping it covers every
// pixel, perspective-divided and fogged. It samples the floor half of the texture (no key texel).
void FullScreenTexturedFogged(benchmark::State& state, RasterPath path, bool bilinear) {
  Canvas canvas(640, 480);
  const RasterContext context = BenchContext(canvas, path, bilinear);
  auto at = [](float x, float y, float z, float tu, float tv) {
    return LitVertex{x, y, z, 0, 0xFFFFFFFF, 0xFF000000, tu, tv};
  };
  const LitVertex wall[6] = {at(-20, 20, 40, 0.01f, 0.01f), at(20, 20, 40, 0.99f, 0.01f),
                             at(20, -12, 12, 0.99f, 0.49f), at(-20, 20, 40, 0.01f, 0.01f),
                             at(20, -12, 12, 0.99f, 0.49f), at(-20, -12, 12, 0.01f, 0.49f)};
  for (auto _ : state) {
    DrawTriangleList(context, wall);
    benchmark::ClobberMemory();
  }
  state.counters["Mpixels/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kScreenPixels / 1e6, benchmark::Counter::kIsRate);
}

// Triangles of about 8 pixels each, textured and fogged, scattered over the screen.
void SmallTriangles(benchmark::State& state, RasterPath path) {
  Canvas canvas(640, 480);
  const RasterContext context = BenchContext(canvas, path, true);
  std::mt19937 random(7);
  std::uniform_real_distribution<float> across(-6.0f, 6.0f), up(-1.0f, 6.0f), depth(12.0f, 30.0f);
  std::vector<LitVertex> triangles;
  constexpr int kTriangles = 10000;
  for (int i = 0; i < kTriangles; ++i) {
    const float x = across(random), y = up(random), z = depth(random);
    const float size = z * 0.005f;  // about 4 pixels on a side at any depth
    triangles.push_back({x, y, z, 0, 0xFFFFFFFF, 0xFF000000, 0.2f, 0.2f});
    triangles.push_back({x + size, y, z, 0, 0xFFFFFFFF, 0xFF000000, 0.25f, 0.2f});
    triangles.push_back({x, y + size, z, 0, 0xFFFFFFFF, 0xFF000000, 0.2f, 0.25f});
  }
  for (auto _ : state) {
    DrawTriangleList(context, triangles);
    benchmark::ClobberMemory();
  }
  state.counters["triangles/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kTriangles, benchmark::Counter::kIsRate);
}

// The course from the start pose, as the game draws it cell by cell.
void GameFrame(benchmark::State& state, RasterPath path, bool bilinear) {
  Canvas canvas(640, 480);
  const float eye[3] = {44.99363f, 3.0f, 37.000004f}, target[3] = {45.0f, 2.0f, 45.0f};
  const RasterContext context = GameSceneContext(canvas, eye, target, bilinear, path);
  for (auto _ : state) {
    Scene().Draw(context, 1.2f);
    benchmark::ClobberMemory();
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(FullScreenTexturedFogged, Reference_Point, RasterPath::Reference, false);
BENCHMARK_CAPTURE(FullScreenTexturedFogged, Optimised_Point, RasterPath::Optimised, false);
BENCHMARK_CAPTURE(FullScreenTexturedFogged, Reference_Bilinear, RasterPath::Reference, true);
BENCHMARK_CAPTURE(FullScreenTexturedFogged, Optimised_Bilinear, RasterPath::Optimised, true);
BENCHMARK_CAPTURE(SmallTriangles, Reference, RasterPath::Reference);
BENCHMARK_CAPTURE(SmallTriangles, Optimised, RasterPath::Optimised);
BENCHMARK_CAPTURE(GameFrame, Reference_Bilinear, RasterPath::Reference, true);
BENCHMARK_CAPTURE(GameFrame, Optimised_Bilinear, RasterPath::Optimised, true);

}  // namespace

BENCHMARK_MAIN();
