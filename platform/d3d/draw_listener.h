// For tools, not the game: a listener that sees what the software devices draw, so that frames
// can be captured and replayed elsewhere (the benchmarks replay them on other renderers).
// Reached from outside the platform through platform/testing.h.
#pragma once

#include <span>

#include "platform/api/d3d.h"
#include "platform/d3d/device_states.h"
#include "platform/raster/raster.h"

namespace platform::d3d {

// Everything one DrawPrimitive draws with, as the device holds it at that moment.
struct DrawCall {
  const DeviceStates& states;  // render and light states as set (defaults where never set)
  const raster::Matrix& world;
  const raster::Matrix& view;
  const raster::Matrix& projection;
  const D3DVIEWPORT2& viewport;        // the current viewport's values
  const raster::TextureView* texture;  // what the texture handle names, or null for none
  D3DPRIMITIVETYPE primitive;          // D3DPT_TRIANGLELIST or D3DPT_LINELIST
  std::span<const D3DLVERTEX> vertices;
};

class DrawListener {
 public:
  virtual ~DrawListener() = default;
  // A device began a scene; `target` is the picture it will draw over, as it is now.
  virtual void SceneBegun(const raster::RenderTarget& target) = 0;
  // A device is about to hand `call` to the rasterizer.
  virtual void Drawing(const DrawCall& call) = 0;
};

// Tells `listener` about every scene and draw of every device from now on; null stops it. The
// listener must stay alive until it is replaced.
void SetDrawListener(DrawListener* listener);

}  // namespace platform::d3d
