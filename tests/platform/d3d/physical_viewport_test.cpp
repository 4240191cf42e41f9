// The game's viewport on the display's memory at a render scale and in the wide view, and both
// devices' pictures of a scene like the game's drawn there: they agree at every scale and view.
#include "platform/d3d/physical_viewport.h"

#include <gtest/gtest.h>

#include "tests/platform/raster/game_scene.h"

namespace {

using platform::PixelBuffer;
using platform::d3d::LineWidthFor;
using platform::d3d::PhysicalViewport;
using platform::raster::RasterPath;

// The game's whole-screen viewport: x/w from -1 to 1 and y/w from -0.75 to 0.75.
const D3DVIEWPORT2 kGameViewport{
    D3DVIEWPORT2_SIZE, 0, 0, 640, 480, -1.0f, 0.75f, 2.0f, 1.5f, 0.0f, 1.0f};

PixelBuffer Display(int width, int height, float scale, int originX) {
  PixelBuffer buffer;
  buffer.width = width;
  buffer.height = height;
  buffer.pitch = width * 2;
  buffer.scale = scale;
  buffer.originX = originX;
  return buffer;
}

TEST(PhysicalViewport, MapsEdgesToThePhysicalGridAndWidensTheClipWindowInTheWideView) {
  const auto same = PhysicalViewport(kGameViewport, Display(640, 480, 1.0f, 0));
  EXPECT_EQ(same.dwWidth, 640u);
  EXPECT_EQ(same.dvClipWidth, 2.0f);
  EXPECT_EQ(LineWidthFor(Display(640, 480, 1.0f, 0)), 1);

  const auto classic = PhysicalViewport(kGameViewport, Display(1440, 1080, 2.25f, 0));
  EXPECT_EQ(classic.dwX, 0u);
  EXPECT_EQ(classic.dwWidth, 1440u);
  EXPECT_EQ(classic.dwHeight, 1080u);
  EXPECT_EQ(classic.dvClipX, -1.0f);
  EXPECT_EQ(classic.dvClipWidth, 2.0f);  // the same scene, more pixels
  EXPECT_EQ(LineWidthFor(Display(1440, 1080, 2.25f, 0)), 2);

  // 1920 columns for the game's 1440: the clip window is 4/3 as wide, centred; the height stays.
  const auto wide = PhysicalViewport(kGameViewport, Display(1920, 1080, 2.25f, 240));
  EXPECT_EQ(wide.dwX, 0u);
  EXPECT_EQ(wide.dwWidth, 1920u);
  EXPECT_EQ(wide.dwHeight, 1080u);
  EXPECT_FLOAT_EQ(wide.dvClipX, -4.0f / 3.0f);
  EXPECT_FLOAT_EQ(wide.dvClipWidth, 8.0f / 3.0f);
  EXPECT_EQ(wide.dvClipY, 0.75f);
  EXPECT_EQ(wide.dvClipHeight, 1.5f);
  EXPECT_EQ(LineWidthFor(Display(3840, 2160, 4.5f, 480)), 5);

  // A viewport inside the game's area keeps to it, on the physical grid, in either view.
  const D3DVIEWPORT2 inner{D3DVIEWPORT2_SIZE, 10, 20, 100, 50, -1.0f, 1.0f, 2.0f, 2.0f, 0.0f, 1.0f};
  const auto part = PhysicalViewport(inner, Display(1920, 1080, 2.25f, 240));
  EXPECT_EQ(part.dwX, 240u + 23u);  // 22.5 rounds up
  EXPECT_EQ(part.dwY, 45u);
  EXPECT_EQ(part.dwWidth, 248u - 23u);  // to column 247.5, rounded
  EXPECT_EQ(part.dwHeight, 158u - 45u);
  EXPECT_EQ(part.dvClipWidth, 2.0f);
}

// Both devices' pictures of the course and the butterfly at a render scale and view.
TEST(PhysicalViewport, BothPathsDrawTheGamesSceneAlikeAtEveryScaleAndView) {
  const raster_test::GameScene scene;
  const float eye[3] = {51.0f, 3.0f, 50.0f};
  const float target[3] = {45.0f, 2.0f, 45.0f};
  struct Size {
    int width, height;
    float scale;
    int originX;
  };
  for (const Size size : {Size{1280, 960, 2.0f, 0}, Size{1440, 1080, 2.25f, 0},
                          Size{1920, 1080, 2.25f, 240}, Size{2560, 1440, 3.0f, 320}}) {
    const PixelBuffer display = Display(size.width, size.height, size.scale, size.originX);
    raster_test::Canvas reference(size.width, size.height), optimised(size.width, size.height);
    for (const bool bilinear : {false, true}) {
      for (auto [canvas, path] : {std::pair{&reference, RasterPath::Reference},
                                  std::pair{&optimised, RasterPath::Optimised}}) {
        auto context = raster_test::GameSceneContext(*canvas, eye, target, bilinear, path);
        context.viewport = PhysicalViewport(kGameViewport, display);
        context.lineWidth = LineWidthFor(display);
        scene.Draw(context, 1.2f);
      }
      int differences = 0;
      for (std::size_t i = 0; i < reference.pixels.size(); ++i) {
        differences += reference.pixels[i] != optimised.pixels[i];
      }
      EXPECT_EQ(differences, 0) << size.width << "x" << size.height << " bilinear " << bilinear;
      // The scene reaches the side columns of the wide view.
      EXPECT_NE(reference.At(2, size.height - 3), 0) << size.width;
      EXPECT_NE(reference.At(size.width - 3, size.height - 3), 0) << size.width;
    }
  }
}

}  // namespace
