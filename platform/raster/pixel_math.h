// The pixel pipeline's arithmetic, one pixel at a time: the definition both paths follow. The
// reference path calls these; the optimised path computes the same values for a group of pixels
// at a time (four with SSE2, eight with AVX2) and is tested to agree with them bit for bit.
//
// Choices, in pipeline order:
// - Float-to-integer steps clamp first (a NaN goes to the low end), so nothing is converted out
//   of range. Comparisons are written `a > b ? a : b` / `a < b ? a : b`, the operand order of the
//   SSE max/min instructions.
// - Texture coordinates become texel positions in 1/256 texel (floor). The point filter takes
//   the texel containing the position; the bilinear filter the four around it, weighted by the
//   8-bit fractions, filtered across then down, each pass rounded back to 8 bits.
// - Magnification or minification is decided per pixel: minified when one screen step in x or
//   in y moves more than one texel (squared length of the texel-space derivative above 1,
//   compared multiplied through by q²).
// - The colour-key test looks at the point-filtered texel, whatever the filter.
// - Modulate and blend products are x · y / 255, correctly rounded, so white × c is exactly c.
// - Specular adds with saturation at 255. Fog uses an integer weight 0…256 (the factor · 256,
//   rounded): c' = (c · w + fog · (256 − w) + 128) >> 8, so factor 1 keeps c and 0 gives fog.
// - The target's RGB 565 is widened by bit replication for blending; results are truncated.
#pragma once

#include <cstdint>

#include "platform/raster/pixel_state.h"
#include "platform/raster/setup.h"
#include "platform/raster/texel.h"

namespace platform::raster {

struct Colour {
  int r, g, b, a;  // 0…255
};

inline Colour UnpackArgb(std::uint32_t argb) {
  return Colour{static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
                static_cast<int>(argb & 0xFF), static_cast<int>(argb >> 24)};
}

// A float channel value to 0…255, rounded.
inline int ToByte(float value) {
  value = value + 0.5f;
  value = value > 0.0f ? value : 0.0f;
  value = value < 255.0f ? value : 255.0f;
  return static_cast<int>(value);
}

// Texel positions are kept within ±2^30 / 256 texels: far beyond any useful coordinate, and still
// an int after the bilinear offset.
inline constexpr float kFixedLimit = 1073741824.0f;

// floor(value) as an int, after clamping to ±2^30.
inline int FloorToFixed(float value) {
  value = value > -kFixedLimit ? value : -kFixedLimit;
  value = value < kFixedLimit ? value : kFixedLimit;
  int truncated = static_cast<int>(value);
  if (static_cast<float>(truncated) > value) --truncated;
  return truncated;
}

// x · y / 255 rounded to nearest, for x, y in 0…255.
inline int Mul255(int x, int y) {
  const int m = x * y + 128;
  return (m + (m >> 8)) >> 8;
}

// Whether the texture is minified at a pixel where the perspective-divided texture position is
// (u, v) and the q plane's value q: whether one screen step across or down moves more than one
// texel. Across, the step is (duq/dx − u · dq/dx) / q texture widths (and the same for v and
// the height); the squared lengths are compared multiplied through by q², which is positive on
// every pixel drawn, so no division is needed.
inline bool Minified(const PlaneSet& set, const PixelState& state, float u, float v, float q) {
  const Plane& qPlane = set.planes[kAttrQ];
  const Plane& uq = set.planes[kAttrUq];
  const Plane& vq = set.planes[kAttrVq];
  const float width = state.textureWidth, height = state.textureHeight;
  const float sx = uq.gx * width - u * (qPlane.gx * width);
  const float tx = vq.gx * height - v * (qPlane.gx * height);
  const float sy = uq.gy * width - u * (qPlane.gy * width);
  const float ty = vq.gy * height - v * (qPlane.gy * height);
  const float limit = q * q;
  return sx * sx + tx * tx > limit || sy * sy + ty * ty > limit;
}

// One bilinear pass over a channel: a and b weighted (256 − f) and f, rounded.
inline std::uint32_t LerpChannel(std::uint32_t a, std::uint32_t b, std::uint32_t f) {
  return (a * (256 - f) + b * f + 128) >> 8;
}

// Four texels (0xAARRGGBB) around a position with 8-bit fractions fx (across) and fy (down).
inline std::uint32_t BilinearTexel(std::uint32_t c00, std::uint32_t c10, std::uint32_t c01,
                                   std::uint32_t c11, std::uint32_t fx, std::uint32_t fy) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t top = LerpChannel((c00 >> shift) & 0xFF, (c10 >> shift) & 0xFF, fx);
    const std::uint32_t bottom = LerpChannel((c01 >> shift) & 0xFF, (c11 >> shift) & 0xFF, fx);
    out |= LerpChannel(top, bottom, fy) << shift;
  }
  return out;
}

struct TextureSample {
  bool keyed;          // the key colour: the pixel is not drawn
  std::uint32_t argb;  // the filtered texel
};

// Samples the texture at (s, t) in 1/256 texel with the given filter.
inline TextureSample SampleTexture(const PixelState& state, TextureFilter filter, int s, int t) {
  const TextureView& texture = state.texture;
  const int nx = AddressTexel(s >> 8, texture.width, state.address);
  const int ny = AddressTexel(t >> 8, texture.height, state.address);
  const std::uint32_t nearest = ReadRawTexel(texture, nx, ny);
  if (state.keyTest && (nearest & state.keyMask) == state.key) return TextureSample{true, 0};
  if (filter == TextureFilter::Point) {
    return TextureSample{false, DecodeTexel(texture.format, nearest, texture.palette)};
  }
  // Texel centres lie half a texel in; the four around the position start half a texel back.
  const int bs = s - 128, bt = t - 128;
  const int x0 = AddressTexel(bs >> 8, texture.width, state.address);
  const int x1 = AddressTexel((bs >> 8) + 1, texture.width, state.address);
  const int y0 = AddressTexel(bt >> 8, texture.height, state.address);
  const int y1 = AddressTexel((bt >> 8) + 1, texture.height, state.address);
  auto texel = [&](int x, int y) {
    return DecodeTexel(texture.format, ReadRawTexel(texture, x, y), texture.palette);
  };
  const std::uint32_t filtered = BilinearTexel(texel(x0, y0), texel(x1, y0), texel(x0, y1),
                                               texel(x1, y1), bs & 0xFF, bt & 0xFF);
  return TextureSample{false, filtered};
}

inline Colour CombineTexture(TextureBlend blend, Colour texel, bool texelHasAlpha, Colour diffuse) {
  Colour out = texel;
  if (blend != TextureBlend::Decal) {
    out.r = Mul255(texel.r, diffuse.r);
    out.g = Mul255(texel.g, diffuse.g);
    out.b = Mul255(texel.b, diffuse.b);
  }
  if (!texelHasAlpha) {
    out.a = diffuse.a;
  } else if (blend == TextureBlend::ModulateAlpha) {
    out.a = Mul255(texel.a, diffuse.a);
  }
  return out;
}

inline Colour AddSpecular(Colour c, Colour specular) {
  auto add = [](int x, int y) { return x + y < 255 ? x + y : 255; };
  return Colour{add(c.r, specular.r), add(c.g, specular.g), add(c.b, specular.b), c.a};
}

// The fog factor as a weight 0…256.
inline int FogWeight(float factor) {
  factor = factor > 0.0f ? factor : 0.0f;
  factor = factor < 1.0f ? factor : 1.0f;
  return static_cast<int>(factor * 256.0f + 0.5f);
}

inline Colour ApplyFog(Colour c, int weight, Colour fog) {
  auto mix = [weight](int x, int f) { return (x * weight + f * (256 - weight) + 128) >> 8; };
  return Colour{mix(c.r, fog.r), mix(c.g, fog.g), mix(c.b, fog.b), c.a};
}

// A blend factor for one colour channel (0 red, 1 green, 2 blue) in 0…255. The target has no
// alpha: destination alpha is 255.
inline int BlendFactorValue(BlendFactor factor, int channel, Colour src, Colour dst) {
  const int s = channel == 0 ? src.r : (channel == 1 ? src.g : src.b);
  const int d = channel == 0 ? dst.r : (channel == 1 ? dst.g : dst.b);
  switch (factor) {
    case BlendFactor::Zero:
      return 0;
    case BlendFactor::One:
      return 255;
    case BlendFactor::SrcColor:
      return s;
    case BlendFactor::InvSrcColor:
      return 255 - s;
    case BlendFactor::SrcAlpha:
      return src.a;
    case BlendFactor::InvSrcAlpha:
      return 255 - src.a;
    case BlendFactor::DestAlpha:
      return 255;
    case BlendFactor::InvDestAlpha:
      return 0;
    case BlendFactor::DestColor:
      return d;
    case BlendFactor::InvDestColor:
      return 255 - d;
    case BlendFactor::SrcAlphaSat:
      return 0;  // min(source alpha, 1 − destination alpha)
  }
  return 0;
}

// source · srcFactor + destination · destFactor, per channel, saturating at 255.
inline Colour BlendColours(BlendFactor srcFactor, BlendFactor destFactor, Colour src, Colour dst) {
  int out[3];
  const int s[3] = {src.r, src.g, src.b};
  const int d[3] = {dst.r, dst.g, dst.b};
  for (int c = 0; c < 3; ++c) {
    const int sum = Mul255(s[c], BlendFactorValue(srcFactor, c, src, dst)) +
                    Mul255(d[c], BlendFactorValue(destFactor, c, src, dst));
    out[c] = sum < 255 ? sum : 255;
  }
  return Colour{out[0], out[1], out[2], src.a};
}

inline std::uint16_t PackRgb565(Colour c) {
  return static_cast<std::uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}

inline Colour UnpackRgb565(std::uint16_t pixel) {
  return Colour{static_cast<int>(Widen5(pixel >> 11)),
                static_cast<int>(Widen6((pixel >> 5) & 0x3F)),
                static_cast<int>(Widen5(pixel & 0x1F)), 255};
}

}  // namespace platform::raster
