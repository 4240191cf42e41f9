// A scene drawn the way the game draws its course: a 20 × 20 grid of textured floor squares with
// green outlines, two butterfly wings, the camera 8 units behind the butterfly, fog from 10.1 to
// 50 units, colour key, blend and perspective on. Used to compare the paths on real pictures
// and to measure them.
#pragma once

#include "platform/raster/draw_queue.h"
#include "tests/platform/raster/raster_test_support.h"

namespace raster_test {

struct GameScene {
  GameScene();  // loads assets/Texture.bmp, or paints a stand-in when it cannot be read
  // Draws the whole course and the butterfly at (45, 0, 45) with wings open by wingAngle; or,
  // given a queue, keeps it there to be drawn later.
  void Draw(RasterContext context, float wingAngle,
            platform::raster::DrawQueue* keep = nullptr) const;

  TestTexture texture;
};

// The game's render states over the game's camera, with the filter switch of the Z key.
RasterContext GameSceneContext(Canvas& canvas, const float eye[3], const float target[3],
                               bool bilinear, platform::raster::RasterPath path);

}  // namespace raster_test
