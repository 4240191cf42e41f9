// What the pixel stage needs, taken from the context once per draw and checked.
#pragma once

#include <cstdint>

#include "platform/raster/raster.h"
#include "platform/raster/setup.h"

namespace platform::raster {

struct PixelState {
  std::uint16_t* pixels;  // the target's top-left pixel
  int pitch;              // pixels from one row to the next
  PixelRect scissor;      // the viewport's screen rectangle: nothing outside it is written

  bool perspective;  // the planes carry 1/w (q) and need dividing by it
  bool textured;
  TextureView texture;      // valid when textured
  float texelScaleS;        // width · 256: a texture coordinate to 1/256 texel
  float texelScaleT;        // height · 256
  float textureWidth;       // width, for the filter's texels-per-pixel measure
  float textureHeight;      // height
  bool textureHasAlpha;     // the format carries alpha
  TextureFilter magFilter;  // where a texel covers more than a pixel
  TextureFilter minFilter;  // where a pixel covers more than a texel
  TextureAddress address;
  bool keyTest;           // colour keying is on and the texture has a key
  std::uint32_t keyMask;  // the format's meaningful bits
  std::uint32_t key;      // the key, masked
  TextureBlend textureBlend;

  bool specular;            // add the interpolated specular colour
  bool fog;                 // mix towards the fog colour by the interpolated factor
  std::uint32_t fogColour;  // 0x00RRGGBB
  bool blend;               // blend with the target
  BlendFactor srcBlend;
  BlendFactor destBlend;
};

// Checks the context and derives the pixel state. Returns false for an unusable context (see
// DrawTriangleList).
bool MakePixelState(const RasterContext& context, PixelState& out);

}  // namespace platform::raster
