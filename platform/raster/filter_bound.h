// Whether a whole triangle, or a band of its rows, is magnified or minified, where a bound on its
// texel derivatives makes it certain, so that the optimised path can leave out the per-pixel
// decision (Minified in pixel_math.h) and the filter it does not use. Where the bound leaves the
// answer open, every pixel decides for itself, as the reference path always does; the two paths
// draw the same.
#pragma once

#include <cstdint>

#include "platform/raster/pixel_state.h"
#include "platform/raster/setup.h"

namespace platform::raster {

enum class FilterChoice : std::uint8_t {
  Magnified,  // every pixel takes the magnification filter
  Minified,   // every pixel takes the minification filter
  PerPixel,   // some pixels may take either
};

// The bound: over a planar triangle u = uq / q lies between its corners' values and q between
// its corners' (q is affine on the screen and positive), so each derivative
// (duq/dx − u · dq/dx) / q of Minified is bounded by its values at the extremes of u and q. The
// bound is widened by a margin far beyond the rounding of the per-pixel float arithmetic.
FilterChoice BoundTriangleFilter(const TriangleSetup& triangle, const PixelState& state);

// The same over a rectangle of pixels of a primitive shaded from the planes: there, too, u lies
// between its values at the corners (where q is positive at all four, it is on all of it).
FilterChoice BoundRectangleFilter(const PlaneSet& planes, const PixelState& state,
                                  const PixelRect& rectangle);

}  // namespace platform::raster
