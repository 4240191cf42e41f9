// The optimised path's span kernel: one row of a triangle drawn from start to end in groups of
// lanes (four with SSE2, eight with AVX2), every stage in registers: plane values, the
// perspective divide, texel positions, the colour key, point, bilinear or per-pixel filtering,
// modulate, specular, fog, the blend and the RGB 565 store. Written once over a lanes type
// (lanes_sse2.h, lanes_avx2.h) and specialised by templates on the format, the filter and fog.
// It follows pixel_math.h operation for operation, so it draws what the reference path draws.
//
// It serves the states the game draws with (see SpanKernelServes); everything else goes through
// the chunk stages. Include it after the lanes type; internal linkage, like the lanes.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/raster/pixel_math.h"
#include "platform/raster/pixel_state.h"
#include "platform/raster/setup.h"
#include "platform/raster/span.h"

namespace platform::raster {
namespace {

// Per-lane versions of the scalar formulas in pixel_math.h.
template <class L>
struct LaneMath {
  using F = typename L::F;
  using I = typename L::I;

  static I ToByte(F value) {
    value = L::Add(value, L::Splat(0.5f));
    value = L::Max(value, L::Splat(0.0f));
    value = L::Min(value, L::Splat(255.0f));
    return L::Truncate(value);
  }
  static I FloorToFixed(F value) {
    value = L::Max(value, L::Splat(-kFixedLimit));
    value = L::Min(value, L::Splat(kFixedLimit));
    const I truncated = L::Truncate(value);
    // The mask is −1 where truncation went up (negative values): adding it steps down.
    return L::Add(truncated, L::GreaterMask(L::ToFloat(truncated), value));
  }
  static I FogWeight(F factor) {
    factor = L::Max(factor, L::Splat(0.0f));
    factor = L::Min(factor, L::Splat(1.0f));
    return L::Truncate(L::Add(L::Mul(factor, L::Splat(256.0f)), L::Splat(0.5f)));
  }
  static I PackArgb(I a, I r, I g, I b) {
    return L::Or(L::Or(L::template ShiftLeft<24>(a), L::template ShiftLeft<16>(r)),
                 L::Or(L::template ShiftLeft<8>(g), b));
  }
  // x · y / 255 rounded, on 16-bit lanes.
  static I Mul255(I x, I y) {
    const I m = L::Add16(L::Mul16(x, y), L::Splat16(128));
    return L::template ShiftRight16<8>(L::Add16(m, L::template ShiftRight16<8>(m)));
  }
  // (a · (256 − f) + b · f + 128) >> 8 on 16-bit lanes.
  static I Lerp(I a, I b, I f) {
    const I sum = L::Add16(L::Mul16(a, L::Sub16(L::Splat16(256), f)), L::Mul16(b, f));
    return L::template ShiftRight16<8>(L::Add16(sum, L::Splat16(128)));
  }
  // The four taps filtered across by fx, then down by fy (8-bit fractions per pixel).
  static I Bilinear(I c00, I c10, I c01, I c11, I fx, I fy) {
    I fxLow, fxHigh, fyLow, fyHigh;
    L::SpreadToChannels(fx, fxLow, fxHigh);
    L::SpreadToChannels(fy, fyLow, fyHigh);
    const I low = Lerp(Lerp(L::WidenLow(c00), L::WidenLow(c10), fxLow),
                       Lerp(L::WidenLow(c01), L::WidenLow(c11), fxLow), fyLow);
    const I high = Lerp(Lerp(L::WidenHigh(c00), L::WidenHigh(c10), fxHigh),
                        Lerp(L::WidenHigh(c01), L::WidenHigh(c11), fxHigh), fyHigh);
    return L::Narrow(low, high);
  }
  // Texel × diffuse per colour channel; alpha from the diffuse colour (the kernel's formats
  // carry no alpha).
  static I Modulate(I texel, I diffuse) {
    const I product = L::Narrow(Mul255(L::WidenLow(texel), L::WidenLow(diffuse)),
                                Mul255(L::WidenHigh(texel), L::WidenHigh(diffuse)));
    return L::Or(L::And(product, L::Splat(0x00FFFFFF)), L::And(diffuse, L::Splat(~0x00FFFFFF)));
  }
  // ApplyFog: the alpha lanes get weight 256, which keeps alpha as it is.
  static I Fog(I colour, I weight, I fogWide) {
    I low, high;
    L::SpreadToChannels(weight, low, high);
    auto half = [&](I c, I w) {
      w = L::Or(L::AndNot(L::AlphaLanes16(), w), L::And(L::AlphaLanes16(), L::Splat16(256)));
      const I sum = L::Add16(L::Mul16(c, w), L::Mul16(fogWide, L::Sub16(L::Splat16(256), w)));
      return L::template ShiftRight16<8>(L::Add16(sum, L::Splat16(128)));
    };
    return L::Narrow(half(L::WidenLow(colour), low), half(L::WidenHigh(colour), high));
  }
  // source + destination · (1 − source alpha), saturating; destination as RGB 565.
  static I BlendOneInvSrcAlpha(I colour, I target565) {
    const I r5 = L::template ShiftRight<11>(target565);
    const I g6 = L::And(L::template ShiftRight<5>(target565), L::Splat(0x3F));
    const I b5 = L::And(target565, L::Splat(0x1F));
    const I r = L::Or(L::template ShiftLeft<3>(r5), L::template ShiftRight<2>(r5));
    const I g = L::Or(L::template ShiftLeft<2>(g6), L::template ShiftRight<4>(g6));
    const I b = L::Or(L::template ShiftLeft<3>(b5), L::template ShiftRight<2>(b5));
    const I destination = PackArgb(L::Splat(255), r, g, b);
    I low, high;
    L::SpreadToChannels(L::Sub(L::Splat(255), L::template ShiftRight<24>(colour)), low, high);
    const I kept =
        L::Narrow(Mul255(L::WidenLow(destination), low), Mul255(L::WidenHigh(destination), high));
    return L::AddSaturateBytes(colour, kept);
  }
  static I PackRgb565(I argb) {
    const I r = L::And(L::template ShiftRight<8>(argb), L::Splat(0xF800));
    const I g = L::And(L::template ShiftRight<5>(argb), L::Splat(0x07E0));
    const I b = L::And(L::template ShiftRight<3>(argb), L::Splat(0x001F));
    return L::Or(L::Or(r, g), b);
  }
};

template <class L, TextureFormat kFormat>
struct TexelFetch {
  using I = typename L::I;
  // The raw texel at (x, y), both already wrapped into the texture.
  static I Raw(const SpanInputs& in, I x, I y) {
    const I index = L::Add(L::ShiftLeftBy(y, in.pitchShift), x);
    if constexpr (kFormat == TextureFormat::Xrgb8888) {
      return L::Gather(reinterpret_cast<const std::uint32_t*>(in.state->texture.texels), index);
    } else {
      return L::GatherBytes(in.state->texture.texels, index);
    }
  }
  static I Decode(const SpanInputs& in, I raw) {
    if constexpr (kFormat == TextureFormat::Xrgb8888) {
      return L::Or(raw, L::Splat(static_cast<int>(0xFF000000u)));
    } else {
      return L::Or(L::Gather(in.state->texture.palette, raw),
                   L::Splat(static_cast<int>(0xFF000000u)));
    }
  }
};

// One group of up to L::kCount pixels: a run of a span, or pixels of a line.
template <class L, TextureFormat kFormat, SpanFilter kFilter, bool kFog>
class PixelGroup {
 public:
  using F = typename L::F;
  using I = typename L::I;
  using M = LaneMath<L>;
  using Fetch = TexelFetch<L, kFormat>;

  // The part of each plane that depends on the row, base + gy · dy (the same in every lane of a
  // span's group, one per pixel of a line's), and the change across.
  struct Rows {
    F part[kAttrCount];
    F gx[kAttrCount];
  };

  // The colours of the pixels dx across from the planes' reference, for the lanes of `keep`;
  // clears the lanes the colour key drops. False when none is left.
  [[gnu::always_inline]] static bool Shade(const SpanInputs& in, const Rows& rows, F dx, I& keep,
                                           I& colour) {
    const PixelState& state = *in.state;
    auto at = [&](int k) { return L::Add(rows.part[k], L::Mul(rows.gx[k], dx)); };

    F invQ = L::Splat(1.0f);
    F u = at(kAttrUq), v = at(kAttrVq);
    if (state.perspective) {
      invQ = L::Div(L::Splat(1.0f), at(kAttrQ));
      u = L::Mul(u, invQ);
      v = L::Mul(v, invQ);
    }
    const I s = M::FloorToFixed(L::Mul(u, L::Splat(state.texelScaleS)));
    const I t = M::FloorToFixed(L::Mul(v, L::Splat(state.texelScaleT)));

    const I widthMask = L::Splat(state.texture.width - 1);
    const I heightMask = L::Splat(state.texture.height - 1);
    const I nearest = Fetch::Raw(in, L::And(L::template ShiftRightSigned<8>(s), widthMask),
                                 L::And(L::template ShiftRightSigned<8>(t), heightMask));
    if (state.keyTest) {
      keep = L::AndNot(L::Equal(L::And(nearest, L::Splat(static_cast<int>(state.keyMask))),
                                L::Splat(static_cast<int>(state.key))),
                       keep);
      if (L::AllZero(keep)) return false;
    }

    I diffuse = L::Splat(static_cast<int>(in.diffuse));
    I specular = L::Splat(static_cast<int>(in.specular));
    if (in.smooth) {
      diffuse = M::PackArgb(M::ToByte(at(kAttrDiffuseA)), M::ToByte(at(kAttrDiffuseR)),
                            M::ToByte(at(kAttrDiffuseG)), M::ToByte(at(kAttrDiffuseB)));
      specular = M::PackArgb(L::Zero(), M::ToByte(at(kAttrSpecularR)),
                             M::ToByte(at(kAttrSpecularG)), M::ToByte(at(kAttrSpecularB)));
    }

    I weight = L::Splat(256);
    if constexpr (kFog) {
      F factor = at(kAttrFogQ);
      if (state.perspective) factor = L::Mul(factor, invQ);
      weight = M::FogWeight(factor);
    }
    if (kFog && L::AllZero(weight)) {
      // Wholly fogged: the fog colour, whatever the texel, the diffuse and the specular were.
      colour = L::Or(L::Splat(static_cast<int>(state.fogColour)),
                     L::And(diffuse, L::Splat(~0x00FFFFFF)));
      return true;
    }
    colour = Texel(in, u, v, invQ, s, t, nearest, widthMask, heightMask);
    if (in.modulate) colour = M::Modulate(colour, diffuse);
    if (in.addSpecular) colour = L::AddSaturateBytes(colour, specular);
    if constexpr (kFog) {
      colour = M::Fog(colour, weight, L::WidenLow(L::Splat(static_cast<int>(state.fogColour))));
    }
    return true;
  }

  // Pixels x … x + count − 1 of a row.
  static void DrawRun(const SpanInputs& in, const Rows& rows, std::uint16_t* row, int x,
                      int count) {
    I keep = L::FirstLanes(count);
    if (in.foggedOut && FogColoured(row + x, keep, count, in.fog565)) return;
    const F dx = L::ToFloat(L::Add(L::Splat(x - in.planes->xr), L::Offsets()));
    I colour;
    if (Shade(in, rows, dx, keep, colour)) WriteRun(in, row + x, colour, keep, count);
  }

  // The first `count` of the pixels (xs[i], ys[i]), each inside the scissor.
  static void DrawPixels(const SpanInputs& in, const std::int32_t (&xs)[L::kCount],
                         const std::int32_t (&ys)[L::kCount], int count) {
    const PlaneSet& set = *in.planes;
    const F dy = L::ToFloat(L::Sub(L::FromArray(ys), L::Splat(set.yr)));
    Rows rows;
    for (int k = 0; k < kAttrCount; ++k) {
      rows.part[k] = L::Add(L::Splat(set.planes[k].base), L::Mul(L::Splat(set.planes[k].gy), dy));
      rows.gx[k] = L::Splat(set.planes[k].gx);
    }
    const F dx = L::ToFloat(L::Sub(L::FromArray(xs), L::Splat(set.xr)));
    I keep = L::FirstLanes(count);
    I colour;
    if (!Shade(in, rows, dx, keep, colour)) return;
    const PixelState& state = *in.state;
    if (in.mayBlend) {
      std::int32_t targets[L::kCount] = {};
      for (int i = 0; i < count; ++i) targets[i] = *Target(state, xs[i], ys[i]);
      colour = Blend(colour, L::FromArray(targets), keep);
    }
    std::int32_t packed[L::kCount], kept[L::kCount];
    L::ToArray(M::PackRgb565(colour), packed);
    L::ToArray(keep, kept);
    for (int i = 0; i < count; ++i) {
      if (kept[i] != 0) *Target(state, xs[i], ys[i]) = static_cast<std::uint16_t>(packed[i]);
    }
  }

 private:
  // Whether the pixels of `keep` (from `at` on, `count` of them) all hold `pixel`.
  static bool FogColoured(const std::uint16_t* at, I keep, int count, std::uint32_t pixel) {
    I target;
    if (count == L::kCount) {
      target = L::LoadPixels(at);
    } else {
      std::int32_t lanes[L::kCount] = {};
      for (int i = 0; i < count; ++i) lanes[i] = at[i];
      target = L::FromArray(lanes);
    }
    const I same = L::Equal(target, L::Splat(static_cast<int>(pixel)));
    return L::AllOnes(L::Or(same, L::AndNot(keep, L::Splat(-1))));
  }

  [[gnu::always_inline]] static I Texel(const SpanInputs& in, F u, F v, F invQ, I s, I t, I nearest,
                                        I widthMask, I heightMask) {
    if constexpr (kFilter == SpanFilter::Point) {
      return Fetch::Decode(in, nearest);
    } else {
      I bilinear = L::Splat(-1);
      if constexpr (kFilter == SpanFilter::PerPixel) {
        const I minified = Minified(in, u, v, invQ);
        const PixelState& state = *in.state;
        const I minBilinear = L::Splat(state.minFilter == TextureFilter::Bilinear ? -1 : 0);
        const I magBilinear = L::Splat(state.magFilter == TextureFilter::Bilinear ? -1 : 0);
        bilinear = L::Or(L::And(minified, minBilinear), L::AndNot(minified, magBilinear));
        if (L::AllZero(bilinear)) return Fetch::Decode(in, nearest);
      }
      const I bs = L::Sub(s, L::Splat(128));
      const I bt = L::Sub(t, L::Splat(128));
      const I x0 = L::template ShiftRightSigned<8>(bs);
      const I y0 = L::template ShiftRightSigned<8>(bt);
      const I x1 = L::And(L::Add(x0, L::Splat(1)), widthMask);
      const I y1 = L::And(L::Add(y0, L::Splat(1)), heightMask);
      const I left = L::And(x0, widthMask);
      const I top = L::And(y0, heightMask);
      const I filtered = M::Bilinear(
          Fetch::Decode(in, Fetch::Raw(in, left, top)), Fetch::Decode(in, Fetch::Raw(in, x1, top)),
          Fetch::Decode(in, Fetch::Raw(in, left, y1)), Fetch::Decode(in, Fetch::Raw(in, x1, y1)),
          L::And(bs, L::Splat(0xFF)), L::And(bt, L::Splat(0xFF)));
      if (kFilter == SpanFilter::Bilinear || L::AllOnes(bilinear)) return filtered;
      return L::Select(bilinear, filtered, Fetch::Decode(in, nearest));
    }
  }

  // Minified (pixel_math.h) per lane: all ones where one screen step moves more than a texel.
  static I Minified(const SpanInputs& in, F u, F v, F invQ) {
    const Plane* p = in.planes->planes;
    const PixelState& state = *in.state;
    auto derivative = [&](float gradient, F value, float qGradient, float size) {
      const F change = L::Sub(L::Splat(gradient), L::Mul(value, L::Splat(qGradient)));
      return L::Mul(L::Mul(change, invQ), L::Splat(size));
    };
    const F sx = derivative(p[kAttrUq].gx, u, p[kAttrQ].gx, state.textureWidth);
    const F tx = derivative(p[kAttrVq].gx, v, p[kAttrQ].gx, state.textureHeight);
    const F sy = derivative(p[kAttrUq].gy, u, p[kAttrQ].gy, state.textureWidth);
    const F ty = derivative(p[kAttrVq].gy, v, p[kAttrQ].gy, state.textureHeight);
    const F lengthX = L::Add(L::Mul(sx, sx), L::Mul(tx, tx));
    const F lengthY = L::Add(L::Mul(sy, sy), L::Mul(ty, ty));
    return L::Or(L::GreaterMask(lengthX, L::Splat(1.0f)), L::GreaterMask(lengthY, L::Splat(1.0f)));
  }

  static std::uint16_t* Target(const PixelState& state, int x, int y) {
    return state.pixels + static_cast<std::ptrdiff_t>(y) * state.pitch + x;
  }

  // The blend with the target's pixels, unless every kept source pixel is opaque (which keeps
  // nothing of the target).
  static I Blend(I colour, I target, I keep) {
    const I opaque = L::Equal(L::template ShiftRight<24>(colour), L::Splat(255));
    if (L::AllOnes(L::Or(opaque, L::AndNot(keep, L::Splat(-1))))) return colour;
    return M::BlendOneInvSrcAlpha(colour, target);
  }

  static void WriteRun(const SpanInputs& in, std::uint16_t* at, I colour, I keep, int count) {
    const bool full = count == L::kCount;
    std::int32_t lanes[L::kCount] = {};
    if (in.mayBlend) {
      if (!full) {
        for (int i = 0; i < count; ++i) lanes[i] = at[i];
      }
      colour = Blend(colour, full ? L::LoadPixels(at) : L::FromArray(lanes), keep);
    }
    const I packed = M::PackRgb565(colour);
    if (full) {
      L::StorePixels(at, packed, keep);
      return;
    }
    std::int32_t kept[L::kCount];
    L::ToArray(packed, lanes);
    L::ToArray(keep, kept);
    for (int i = 0; i < count; ++i) {
      if (kept[i] != 0) at[i] = static_cast<std::uint16_t>(lanes[i]);
    }
  }
};

// Draws pixels [x0, x1) of row y.
template <class L, TextureFormat kFormat, SpanFilter kFilter, bool kFog>
void DrawSpanWith(const SpanInputs& in, int y, int x0, int x1) {
  using Group = PixelGroup<L, kFormat, kFilter, kFog>;
  const PlaneSet& set = *in.planes;
  const float dy = static_cast<float>(y - set.yr);
  typename Group::Rows rows;
  for (int k = 0; k < kAttrCount; ++k) {
    // EvaluatePlane's (base + gy · dy), once for the row.
    rows.part[k] = L::Splat(set.planes[k].base + set.planes[k].gy * dy);
    rows.gx[k] = L::Splat(set.planes[k].gx);
  }
  std::uint16_t* row = in.state->pixels + static_cast<std::ptrdiff_t>(y) * in.state->pitch;
  for (int x = x0; x < x1; x += L::kCount) {
    Group::DrawRun(in, rows, row, x, std::min(L::kCount, x1 - x));
  }
}

// Draws a line's pixels that lie inside the scissor, L::kCount at a time.
template <class L, TextureFormat kFormat, SpanFilter kFilter, bool kFog>
void DrawLineWith(const SpanInputs& in, const LineSetup& line) {
  using Group = PixelGroup<L, kFormat, kFilter, kFog>;
  std::int32_t xs[L::kCount] = {}, ys[L::kCount] = {};
  int filled = 0;
  ForEachLinePixelInside(line, in.state->scissor, [&](int x, int y) {
    xs[filled] = x;
    ys[filled] = y;
    if (++filled == L::kCount) {
      Group::DrawPixels(in, xs, ys, filled);
      filled = 0;
    }
  });
  if (filled > 0) Group::DrawPixels(in, xs, ys, filled);
}

}  // namespace
}  // namespace platform::raster
