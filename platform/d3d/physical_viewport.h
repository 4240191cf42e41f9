// The game's viewport on a render target whose memory is larger than the game's 640 × 480: the
// display's back buffer at a render scale or in the wide view. Geometry is mapped to the memory's
// own pixel grid before it is snapped, so edges, the fill rule and texture filtering are judged at
// the physical pixel.
#pragma once

#include "platform/api/d3d.h"
#include "platform/core/pixel_buffer.h"
#include "platform/raster/raster.h"

namespace platform::d3d {

// The viewport in the target's memory. Its edges land where the game's coordinates land
// (PhysicalX, PhysicalY); in the wide view a viewport that reaches the left or right edge of the
// game's area reaches the memory's edge, and its clip volume widens with it at the same clip
// units per pixel, so the scene gains width and keeps its height. A target drawn at the game's
// own size gets the viewport unchanged.
raster::Viewport PhysicalViewport(const D3DVIEWPORT2& viewport, const PixelBuffer& target);

// Pixels across a line: one pixel of the game's picture, k pixels of the memory, at least one.
int LineWidthFor(const PixelBuffer& target);

}  // namespace platform::d3d
