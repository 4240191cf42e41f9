// Rasterizer throughput on both paths: fill rate on textured, fogged triangles covering more and
// more of the screen, set-up rate on more and more small triangles, and whole game-like frames.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "tests/platform/raster/game_scene.h"

namespace {

using namespace platform::raster;
using raster_test::Canvas;
using raster_test::GameScene;
using raster_test::GameSceneContext;

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
// pixel of the viewport, perspective-divided and fogged. It samples the floor half of the texture
// (no key texel). The viewport covers state.range(0) sixteenths of the screen's height and width
// each, so the cost's growth with coverage shows.
void TexturedFogged(benchmark::State& state, RasterPath path, bool bilinear) {
  Canvas canvas(640, 480);
  RasterContext context = BenchContext(canvas, path, bilinear);
  context.viewport.dwWidth = static_cast<std::uint32_t>(640 * state.range(0) / 16);
  context.viewport.dwHeight = static_cast<std::uint32_t>(480 * state.range(0) / 16);
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
  const auto pixels =
      static_cast<std::int64_t>(context.viewport.dwWidth) * context.viewport.dwHeight;
  state.SetItemsProcessed(state.iterations() * pixels);
  state.SetLabel("pixels");
}

// Triangles of about 8 pixels each, textured and fogged, scattered over the screen; state.range(0)
// of them per draw, so the cost's growth with the triangle count shows.
void SmallTriangles(benchmark::State& state, RasterPath path) {
  Canvas canvas(640, 480);
  const RasterContext context = BenchContext(canvas, path, true);
  std::mt19937 random(7);
  std::uniform_real_distribution<float> across(-6.0f, 6.0f), up(-1.0f, 6.0f), depth(12.0f, 30.0f);
  std::vector<LitVertex> triangles;
  const auto count = static_cast<int>(state.range(0));
  for (int i = 0; i < count; ++i) {
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
  state.SetItemsProcessed(state.iterations() * count);
  state.SetLabel("triangles");
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
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("frames");
}

// The viewport at a quarter, half and all of the screen, in sixteenths of each side.
void Sixteenths(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgName("sixteenths")->Arg(4)->Arg(8)->Arg(16);
}

BENCHMARK_CAPTURE(TexturedFogged, Reference_Point, RasterPath::Reference, false)->Apply(Sixteenths);
BENCHMARK_CAPTURE(TexturedFogged, Optimised_Point, RasterPath::Optimised, false)->Apply(Sixteenths);
BENCHMARK_CAPTURE(TexturedFogged, Reference_Bilinear, RasterPath::Reference, true)
    ->Apply(Sixteenths);
BENCHMARK_CAPTURE(TexturedFogged, Optimised_Bilinear, RasterPath::Optimised, true)
    ->Apply(Sixteenths);
BENCHMARK_CAPTURE(SmallTriangles, Reference, RasterPath::Reference)
    ->ArgName("triangles")
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000);
BENCHMARK_CAPTURE(SmallTriangles, Optimised, RasterPath::Optimised)
    ->ArgName("triangles")
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000);
BENCHMARK_CAPTURE(GameFrame, Reference_Bilinear, RasterPath::Reference, true);
BENCHMARK_CAPTURE(GameFrame, Optimised_Bilinear, RasterPath::Optimised, true);

}  // namespace

BENCHMARK_MAIN();
