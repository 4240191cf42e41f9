// What DirectDraw lends the platform's other modules: surface memory as a pixel buffer (to GDI
// and the 3-D device). Internal to the platform; the game never includes this
// header.
#pragma once

#include "platform/api/ddraw.h"
#include "platform/core/pixel_buffer.h"

namespace platform::ddraw {

// The pixels of a surface made by this module: memory (top row first), size, pitch, layout, and
// the attached palette's colours (null when none is attached). A flip moves memory between the
// front and back buffer and a palette may be changed, so ask again for every use instead of
// keeping the view. False, leaving *pixels alone, for null or a surface that is not one of ours.
bool GetSurfacePixels(IDirectDrawSurface* surface, PixelBuffer* pixels);

// Whether the surface's memory is lent out by Lock: whoever holds it may read and write it at
// any time until Unlock, so drawing into it or from it cannot wait.
bool SurfaceLocked(IDirectDrawSurface* surface);

}  // namespace platform::ddraw
