// The optimised path's pipeline: pixels travel in chunks of up to sixteen through four stages
// (interpolate, sample, shade, write), each a loop specialised by templates on the states it
// depends on and chosen once per draw. Quantities are kept one array per kind, so the stages
// work on four pixels at a time with SSE2.
#pragma once

#include <cstdint>

#include "platform/raster/pixel_state.h"
#include "platform/raster/setup.h"

namespace platform::raster {

inline constexpr int kChunkPixels = 16;

struct alignas(16) Chunk {
  std::int32_t x[kChunkPixels];          // pixel column
  std::int32_t y[kChunkPixels];          // pixel row
  std::int32_t s[kChunkPixels];          // texel position across, 1/256 texel
  std::int32_t t[kChunkPixels];          // texel position down, 1/256 texel
  std::int32_t minified[kChunkPixels];   // −1 where the minification filter applies, else 0
  std::int32_t fogWeight[kChunkPixels];  // 0 (all fog) … 256 (no fog)
  std::uint32_t diffuse[kChunkPixels];   // 0xAARRGGBB
  std::uint32_t specular[kChunkPixels];  // 0x00RRGGBB
  std::uint32_t taps[4][kChunkPixels];   // bilinear texels: top-left, top-right, bottom-left,
                                         // bottom-right, 0xAARRGGBB
  std::int32_t fx[kChunkPixels];         // bilinear fraction across, 0…255
  std::int32_t fy[kChunkPixels];         // bilinear fraction down, 0…255
  std::uint32_t texel[kChunkPixels];     // the filtered texel, 0xAARRGGBB
  std::uint32_t colour[kChunkPixels];    // the shaded colour, 0xAARRGGBB
  std::uint8_t keep[kChunkPixels];       // 1 while the pixel is to be written
  int count;                             // pixels in use, 1…16; SIMD stages run whole fours
  bool span;                             // one row, x rising by one from x[0] (else a line)
};

struct StageInputs {
  const PixelState* state;
  const PlaneSet* planes;
};

using Stage = void (*)(const StageInputs& inputs, Chunk& chunk);

// Interpolation for the state; `smooth` when colours vary over the primitive (otherwise the
// caller fills diffuse and specular once).
Stage SelectInterpolate(const PixelState& state, bool smooth);
// Texture sampling and the colour-key test; null when untextured.
Stage SelectSample(const PixelState& state);
// Texture blend, specular and fog.
Stage SelectShade(const PixelState& state);
// Alpha blend and the RGB 565 write of the kept pixels.
Stage SelectWrite(const PixelState& state);

}  // namespace platform::raster
