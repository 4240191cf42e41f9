// The optimised path's kernel drawers: whole triangle rows and whole lines drawn by the span
// kernel (span_kernel.h) in SSE2 or, where the processor has them, AVX2 or AVX-512. Chosen once per
// draw for the states the kernel serves, with a row drawer for each filter a triangle may certainly
// take (filter_bound.h); for the other states there are none and the reference path's code draws.
#pragma once

#include <cstdint>

#include "platform/raster/pixel_state.h"
#include "platform/raster/setup.h"

namespace platform::raster {

// Which filters a drawer applies: one for every pixel, or the per-pixel choice.
enum class SpanFilter { Point, Bilinear, PerPixel };

// What a span needs beyond the state: the primitive's planes and its colours when they are
// constant.
struct SpanInputs {
  const PixelState* state = nullptr;
  const PlaneSet* planes = nullptr;
  int pitchShift = 0;          // log2 of the texture's row length in texels
  bool smooth = false;         // colours vary: interpolate them per pixel
  std::uint32_t diffuse = 0;   // the constant colours otherwise, 0xAARRGGBB
  std::uint32_t specular = 0;  // 0x00RRGGBB
  // What a primitive of constant colours can skip, each leaving every pixel as it is: modulating
  // by opaque white, adding black, and blending a source that is always opaque.
  bool modulate = true;
  bool addSpecular = true;
  bool mayBlend = true;
  // Every pixel of the primitive is wholly fogged and opaque: it comes out as the fog colour,
  // or stays as it was where the key drops it; over pixels of the fog colour, nothing changes.
  bool foggedOut = false;
  std::uint32_t fog565 = 0;  // the fog colour as a target pixel
};

// Sets the primitive's planes and colours and what they let the kernel skip.
void SetSpanPrimitive(SpanInputs& inputs, const PlaneSet& planes, bool smooth,
                      std::uint32_t diffuse, std::uint32_t specular);

// Draws pixels [x0, x1) of row y, all inside the scissor and the triangle.
using SpanDrawer = void (*)(const SpanInputs& inputs, int y, int x0, int x1);
// Draws a line's pixels that lie inside the scissor.
using LineDrawer = void (*)(const SpanInputs& inputs, const LineSetup& line);

// The kernel's drawers for one state: all or none.
struct KernelDrawers {
  SpanDrawer span[3] = {};  // by SpanFilter
  LineDrawer line = nullptr;
  bool Serves() const { return line != nullptr; }
};

// The drawers for the state, or none when the kernel does not serve it. Sets inputs' state and
// pitch; the caller sets the planes and colours per primitive.
KernelDrawers SelectKernelDrawers(const PixelState& state, SpanInputs& inputs);

// The instruction sets' tables; none where a format is not served.
KernelDrawers SelectKernelDrawersSse2(TextureFormat format, bool fog);
KernelDrawers SelectKernelDrawersAvx2(TextureFormat format, bool fog);
KernelDrawers SelectKernelDrawersAvx512(TextureFormat format, bool fog);

}  // namespace platform::raster
