// The optimised path's span kernel: one row of a triangle drawn from start to end in groups of
// lanes (four with SSE2, eight with AVX2, sixteen with AVX-512), in batches of groups: first every
// group of the batch is located (plane values, the perspective divide, texel positions, fog weights
// and, where each pixel chooses, the filter), then each is drawn (the colour key, point or bilinear
// filtering, modulate, specular, fog, the blend and the RGB 565 store). Written once over a lanes
// type (platform/pixel/lanes_sse2.h, lanes_avx2.h, lanes_avx512.h) and specialised by templates on
// the format, the filter and fog. It follows pixel_math.h operation for operation, so it draws what
// the reference path draws.
//
// It serves the states the game draws with (see KernelServes in span_select.cpp); the reference
// path's code draws everything else. Include it after the lanes type; internal linkage, like
// the lanes.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/raster/pixel_math.h"
#include "platform/raster/pixel_state.h"
#include "platform/raster/setup.h"
#include "platform/raster/span.h"

namespace platform::raster {
namespace {

// A colour per lane in two halves, 0x00RR00BB and 0x00AA00GG: each channel in the low byte of a
// 16-bit lane of its own, where the products of pixel_math.h fit without widening or narrowing.
template <class L>
struct SplitColour {
  typename L::I rb, ag;
};

// Per-lane versions of the scalar formulas in pixel_math.h.
template <class L>
struct LaneMath {
  using F = typename L::F;
  using I = typename L::I;
  using Split = SplitColour<L>;

  static I ToByte(F value) {
    value = L::Add(value, L::Splat(0.5f));
    value = L::Max(value, L::Splat(0.0f));
    value = L::Min(value, L::Splat(255.0f));
    return L::Truncate(value);
  }
  static I FloorToFixed(F value) {
    value = L::Max(value, L::Splat(-kFixedLimit));
    value = L::Min(value, L::Splat(kFixedLimit));
    return L::FloorToInt(value);
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
  static Split Unpack(I argb) {
    const I byteMask = L::Splat(0x00FF00FF);
    return {L::And(argb, byteMask), L::And(L::template ShiftRight<8>(argb), byteMask)};
  }
  // A per-pixel value (at most 256) in both 16-bit halves of its lane.
  static I BothHalves(I value) { return L::Or(value, L::template ShiftLeft<16>(value)); }
  // x · y / 255 rounded, per 16-bit lane.
  static I Mul255(I x, I y) {
    const I m = L::Add16(L::Mul16(x, y), L::Splat16(128));
    return L::template ShiftRight16<8>(L::Add16(m, L::template ShiftRight16<8>(m)));
  }
  static Split Mul255(Split x, Split y) { return {Mul255(x.rb, y.rb), Mul255(x.ag, y.ag)}; }
  // (a · (256 − f) + b · f + 128) >> 8 per 16-bit lane, with rest = 256 − f.
  static I Lerp(I a, I b, I f, I rest) {
    const I sum = L::Add16(L::Mul16(a, rest), L::Mul16(b, f));
    return L::template ShiftRight16<8>(L::Add16(sum, L::Splat16(128)));
  }
  static Split Lerp(Split a, Split b, I f, I rest) {
    return {Lerp(a.rb, b.rb, f, rest), Lerp(a.ag, b.ag, f, rest)};
  }
  // The four taps filtered across by fx, then down by fy (8-bit fractions per pixel).
  static Split Bilinear(Split c00, Split c10, Split c01, Split c11, I fx, I fy) {
    const I across = BothHalves(fx), down = BothHalves(fy);
    const I full = L::Splat(0x01000100);
    const I restAcross = L::Sub(full, across), restDown = L::Sub(full, down);
    return Lerp(Lerp(c00, c10, across, restAcross), Lerp(c01, c11, across, restAcross), down,
                restDown);
  }
  // Adds per channel, saturating at 255.
  static Split AddSaturate(Split c, Split add) {
    const I top = L::Splat16(255);
    return {L::Min16(L::Add16(c.rb, add.rb), top), L::Min16(L::Add16(c.ag, add.ag), top)};
  }
  // ApplyFog with a weight 0…256 per pixel; alpha takes weight 256, which keeps it as it is.
  // The fog colour carries no alpha; black fog adds nothing.
  static Split Fog(Split c, I weight, Split fog, bool blackFog) {
    const I rbWeight = BothHalves(weight);
    const I agWeight = L::Or(weight, L::Splat(0x01000000));
    I rb = L::Mul16(c.rb, rbWeight), ag = L::Mul16(c.ag, agWeight);
    if (!blackFog) {
      const I full = L::Splat(0x01000100);
      rb = L::Add16(rb, L::Mul16(fog.rb, L::Sub(full, rbWeight)));
      ag = L::Add16(ag, L::Mul16(fog.ag, L::Sub(full, agWeight)));
    }
    const I round = L::Splat16(128);
    return {L::template ShiftRight16<8>(L::Add16(rb, round)),
            L::template ShiftRight16<8>(L::Add16(ag, round))};
  }
  static I Alpha(Split c) { return L::template ShiftRight<16>(c.ag); }
  // source + destination · (255 − source alpha) / 255, saturating; destination as RGB 565.
  static Split BlendOneInvSrcAlpha(Split c, I target565) {
    const I r5 = L::template ShiftRight<11>(target565);
    const I g6 = L::And(L::template ShiftRight<5>(target565), L::Splat(0x3F));
    const I b5 = L::And(target565, L::Splat(0x1F));
    const I r = L::Or(L::template ShiftLeft<3>(r5), L::template ShiftRight<2>(r5));
    const I g = L::Or(L::template ShiftLeft<2>(g6), L::template ShiftRight<4>(g6));
    const I b = L::Or(L::template ShiftLeft<3>(b5), L::template ShiftRight<2>(b5));
    const I rest = BothHalves(L::Sub(L::Splat(255), Alpha(c)));
    const Split kept{Mul255(L::Or(L::template ShiftLeft<16>(r), b), rest), Mul255(g, rest)};
    return AddSaturate(c, kept);  // alpha no longer matters: the target keeps none
  }
  static I PackRgb565(Split c) {
    const I r = L::And(L::template ShiftRight<8>(c.rb), L::Splat(0xF800));
    const I g = L::And(L::template ShiftLeft<3>(c.ag), L::Splat(0x07E0));
    const I b = L::And(L::template ShiftRight<3>(c.rb), L::Splat(0x001F));
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
  // The raw texels at (x, y) and (x + 1, y), for lanes whose x + 1 is still in the row.
  static void RawPairs(const SpanInputs& in, I x, I y, I& left, I& right) {
    const I index = L::Add(L::ShiftLeftBy(y, in.pitchShift), x);
    if constexpr (kFormat == TextureFormat::Xrgb8888) {
      L::GatherPairs(reinterpret_cast<const std::uint32_t*>(in.state->texture.texels), index, left,
                     right);
    } else {
      left = L::GatherBytes(in.state->texture.texels, index);
      right = L::GatherBytes(in.state->texture.texels, L::Add(index, L::Splat(1)));
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

// A group's texels by position in 1/256 texel, wrapped into the texture: the one containing
// the position, or filtered as SampleTexture filters (point, bilinear, or chosen pixel by
// pixel), after the colour key.
template <class L, TextureFormat kFormat, SpanFilter kFilter>
class TexelSampler {
 public:
  using I = typename L::I;
  using M = LaneMath<L>;
  using Split = SplitColour<L>;
  using Fetch = TexelFetch<L, kFormat>;

  explicit TexelSampler(const SpanInputs& inputs)
      : in_(inputs),
        widthMask_(L::Splat(inputs.state->texture.width - 1)),
        heightMask_(L::Splat(inputs.state->texture.height - 1)) {}

  // The raw texel containing each position.
  I Nearest(I s, I t) const {
    return Fetch::Raw(in_, L::And(L::template ShiftRightSigned<8>(s), widthMask_),
                      L::And(L::template ShiftRightSigned<8>(t), heightMask_));
  }

  // Drops the lanes whose texel is the key colour; false when none is left.
  bool KeepUnkeyed(I raw, I& keep) const {
    const PixelState& state = *in_.state;
    if (!state.keyTest) return true;
    keep = L::AndNot(L::Equal(L::And(raw, L::Splat(static_cast<int>(state.keyMask))),
                              L::Splat(static_cast<int>(state.key))),
                     keep);
    return !L::AllZero(keep);
  }

  // The texel of every lane at (s, t), filtered bilinearly in the lanes where `bilinear` is all
  // ones, for the lanes of `keep`; clears those the colour key drops. False when none is left.
  [[gnu::always_inline]] bool Sample(I s, I t, I bilinear, I& keep, Split& colour) const {
    if constexpr (kFilter == SpanFilter::Bilinear) {
      return Bilinear(s, t, keep, colour);
    } else {
      if (kFilter == SpanFilter::PerPixel && L::AllOnes(bilinear)) {
        return Bilinear(s, t, keep, colour);
      }
      const I nearest = Nearest(s, t);
      if (!KeepUnkeyed(nearest, keep)) return false;
      colour = M::Unpack(Fetch::Decode(in_, nearest));
      if (kFilter == SpanFilter::Point || L::AllZero(bilinear)) return true;
      I all = L::Splat(-1);
      Split filtered{};
      Bilinear(s, t, all, filtered);
      colour = {L::Select(bilinear, filtered.rb, colour.rb),
                L::Select(bilinear, filtered.ag, colour.ag)};
      return true;
    }
  }

 private:
  // SampleTexture's bilinear filter. The key looks at the texel containing the position, which
  // is one of the four taps: the right one from half a texel across on, the lower one from half
  // a texel down on.
  bool Bilinear(I s, I t, I& keep, Split& colour) const {
    const I bs = L::Sub(s, L::Splat(128));
    const I bt = L::Sub(t, L::Splat(128));
    const I x0 = L::template ShiftRightSigned<8>(bs);
    const I y0 = L::template ShiftRightSigned<8>(bt);
    const I left = L::And(x0, widthMask_), top = L::And(y0, heightMask_);
    const I right = L::And(L::Add(x0, L::Splat(1)), widthMask_);
    const I bottom = L::And(L::Add(y0, L::Splat(1)), heightMask_);
    const I fx = L::And(bs, L::Splat(0xFF)), fy = L::And(bt, L::Splat(0xFF));
    I r00, r10, r01, r11;
    if (L::AllZero(L::Equal(left, widthMask_))) {
      // No tap wraps to the row's start: each pair lies side by side in memory.
      Fetch::RawPairs(in_, left, top, r00, r10);
      Fetch::RawPairs(in_, left, bottom, r01, r11);
    } else {
      r00 = Fetch::Raw(in_, left, top), r10 = Fetch::Raw(in_, right, top);
      r01 = Fetch::Raw(in_, left, bottom), r11 = Fetch::Raw(in_, right, bottom);
    }
    if (in_.state->keyTest) {
      const I half = L::Splat(127);
      const I rightward = L::GreaterThan(fx, half), downward = L::GreaterThan(fy, half);
      const I nearest =
          L::Select(downward, L::Select(rightward, r11, r01), L::Select(rightward, r10, r00));
      if (!KeepUnkeyed(nearest, keep)) return false;
    }
    colour =
        M::Bilinear(M::Unpack(Fetch::Decode(in_, r00)), M::Unpack(Fetch::Decode(in_, r10)),
                    M::Unpack(Fetch::Decode(in_, r01)), M::Unpack(Fetch::Decode(in_, r11)), fx, fy);
    return true;
  }

  const SpanInputs& in_;
  I widthMask_, heightMask_;  // texture size − 1: the sizes are powers of two
};

// One group of up to L::kCount pixels: a run of a span, or pixels of a line.
template <class L, TextureFormat kFormat, SpanFilter kFilter, bool kFog>
class PixelGroup {
 public:
  using F = typename L::F;
  using I = typename L::I;
  using M = LaneMath<L>;
  using Split = SplitColour<L>;
  using Sampler = TexelSampler<L, kFormat, kFilter>;

  // The part of each plane that depends on the row, base + gy · dy (the same in every lane of a
  // span's group, one per pixel of a line's), and the change across.
  struct Rows {
    F part[kAttrCount];
    F gx[kAttrCount];
    // EvaluatePlane of attribute k at the pixels dx across.
    F At(int k, F dx) const { return L::Add(part[k], L::Mul(gx[k], dx)); }
  };

  // What a pixel's colour needs before the texture is read: its texel position in 1/256 texel,
  // its fog weight and, where every pixel chooses, whether it is filtered bilinearly.
  struct Where {
    I s, t, weight, bilinear;
  };

  // The planes a primitive's pixels read: constant colours are the primitive's already, and the
  // colours' planes come last.
  static int UsedAttributes(const SpanInputs& in) {
    static_assert(kAttrDiffuseR > kAttrFogQ && kAttrDiffuseR > kAttrQ && kAttrDiffuseR > kAttrUq &&
                  kAttrDiffuseR > kAttrVq);
    return in.smooth ? kAttrCount : kAttrDiffuseR;
  }

  // Where the pixels dx across from the planes' reference sample.
  [[gnu::always_inline]] static Where Locate(const SpanInputs& in, const Rows& rows, F dx) {
    const PixelState& state = *in.state;
    auto at = [&](int k) { return rows.At(k, dx); };
    F q = L::Splat(1.0f), invQ = L::Splat(1.0f);
    F u = at(kAttrUq), v = at(kAttrVq);
    if (state.perspective) {
      q = at(kAttrQ);
      invQ = L::Div(L::Splat(1.0f), q);
      u = L::Mul(u, invQ);
      v = L::Mul(v, invQ);
    }
    Where where;
    where.s = M::FloorToFixed(L::Mul(u, L::Splat(state.texelScaleS)));
    where.t = M::FloorToFixed(L::Mul(v, L::Splat(state.texelScaleT)));
    where.weight = L::Splat(256);
    if constexpr (kFog) {
      F factor = at(kAttrFogQ);
      if (state.perspective) factor = L::Mul(factor, invQ);
      where.weight = M::FogWeight(factor);
    }
    where.bilinear = L::Splat(kFilter == SpanFilter::Bilinear ? -1 : 0);
    if constexpr (kFilter == SpanFilter::PerPixel) {
      const I minified = Minified(in, u, v, q);
      const I minBilinear = L::Splat(state.minFilter == TextureFilter::Bilinear ? -1 : 0);
      const I magBilinear = L::Splat(state.magFilter == TextureFilter::Bilinear ? -1 : 0);
      where.bilinear = L::Or(L::And(minified, minBilinear), L::AndNot(minified, magBilinear));
    }
    return where;
  }

  // The colours of the pixels dx across, sampling where `where` says, for the lanes of `keep`;
  // clears the lanes the colour key drops. False when none is left.
  [[gnu::always_inline]] static bool Shade(const SpanInputs& in, const Rows& rows, F dx,
                                           const Where& where, I& keep, Split& colour) {
    const PixelState& state = *in.state;
    auto at = [&](int k) { return rows.At(k, dx); };
    // Constant over the span: worked out once where the run is inlined into the row's loop.
    Split diffuse = M::Unpack(L::Splat(static_cast<int>(in.diffuse)));
    Split specular = M::Unpack(L::Splat(static_cast<int>(in.specular)));
    const Split fog = M::Unpack(L::Splat(static_cast<int>(state.fogColour)));
    if (in.smooth) {
      diffuse = M::Unpack(M::PackArgb(M::ToByte(at(kAttrDiffuseA)), M::ToByte(at(kAttrDiffuseR)),
                                      M::ToByte(at(kAttrDiffuseG)), M::ToByte(at(kAttrDiffuseB))));
      specular =
          M::Unpack(M::PackArgb(L::Zero(), M::ToByte(at(kAttrSpecularR)),
                                M::ToByte(at(kAttrSpecularG)), M::ToByte(at(kAttrSpecularB))));
    }

    if (kFog && L::AllZero(where.weight)) return Fogged(in, where, diffuse, keep, colour);
    const Sampler texels(in);
    if (!texels.Sample(where.s, where.t, where.bilinear, keep, colour)) return false;
    if (in.modulate) colour = M::Mul255(colour, diffuse);
    if (in.addSpecular) colour = M::AddSaturate(colour, specular);
    if constexpr (kFog) colour = M::Fog(colour, where.weight, fog, state.fogColour == 0);
    return true;
  }

  // Wholly fogged pixels: the fog colour, whatever the texel and the specular were, unless
  // keyed. False when the key leaves none.
  [[gnu::always_inline]] static bool Fogged(const SpanInputs& in, const Where& where, Split diffuse,
                                            I& keep, Split& colour) {
    const Sampler texels(in);
    if (!texels.KeepUnkeyed(texels.Nearest(where.s, where.t), keep)) return false;
    const Split fog = M::Unpack(L::Splat(static_cast<int>(in.state->fogColour)));
    colour = {fog.rb, L::Or(fog.ag, L::And(diffuse.ag, L::Splat(0x00FF0000)))};
    return true;
  }

  // The pixel offsets of the group starting x pixels across.
  static F Across(const SpanInputs& in, int x) {
    return L::ToFloat(L::Add(L::Splat(x - in.planes->xr), L::Offsets()));
  }

  // Pixels x … x + count − 1 of a row, located already.
  [[gnu::always_inline]] static void DrawRun(const SpanInputs& in, const Rows& rows,
                                             std::uint16_t* row, int x, int count,
                                             const Where& where) {
    I keep = L::FirstLanes(count);
    Split colour;
    if (Shade(in, rows, Across(in, x), where, keep, colour)) {
      WriteRun(in, row + x, colour, keep, count);
    }
  }

  // Whether the `count` pixels from `at` on all hold the fog colour.
  static bool FogColoured(const SpanInputs& in, const std::uint16_t* at, int count) {
    const I same = L::Equal(Load(at, count), L::Splat(static_cast<int>(in.fog565)));
    return L::AllOnes(L::Or(same, L::AndNot(L::FirstLanes(count), L::Splat(-1))));
  }

  // Pixels x … x + count − 1 of a row of a wholly fogged primitive (SpanInputs::foggedOut),
  // whose constant colours give every pixel the fog weight 0: only their texels' key is read.
  static void DrawFoggedRun(const SpanInputs& in, const Rows& rows, std::uint16_t* row, int x,
                            int count) {
    I keep = L::FirstLanes(count);
    Split colour;
    const Split diffuse = M::Unpack(L::Splat(static_cast<int>(in.diffuse)));
    if (Fogged(in, Locate(in, rows, Across(in, x)), diffuse, keep, colour)) {
      WriteRun(in, row + x, colour, keep, count);
    }
  }

  // The first `count` of the pixels (xs[i], ys[i]), each inside the scissor.
  static void DrawPixels(const SpanInputs& in, const std::int32_t (&xs)[L::kCount],
                         const std::int32_t (&ys)[L::kCount], int count) {
    const PlaneSet& set = *in.planes;
    const F dy = L::ToFloat(L::Sub(L::FromArray(ys), L::Splat(set.yr)));
    Rows rows;
    for (int k = 0; k < UsedAttributes(in); ++k) {
      rows.part[k] = L::Add(L::Splat(set.planes[k].base), L::Mul(L::Splat(set.planes[k].gy), dy));
      rows.gx[k] = L::Splat(set.planes[k].gx);
    }
    const F dx = L::ToFloat(L::Sub(L::FromArray(xs), L::Splat(set.xr)));
    I keep = L::FirstLanes(count);
    Split colour;
    if (!Shade(in, rows, dx, Locate(in, rows, dx), keep, colour)) return;
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
  // Minified (pixel_math.h) per lane: all ones where one screen step moves more than a texel.
  static I Minified(const SpanInputs& in, F u, F v, F q) {
    const Plane* p = in.planes->planes;
    const float width = in.state->textureWidth, height = in.state->textureHeight;
    auto step = [&](float gradient, F value, float qGradient, float size) {
      return L::Sub(L::Splat(gradient * size), L::Mul(value, L::Splat(qGradient * size)));
    };
    const F sx = step(p[kAttrUq].gx, u, p[kAttrQ].gx, width);
    const F tx = step(p[kAttrVq].gx, v, p[kAttrQ].gx, height);
    const F sy = step(p[kAttrUq].gy, u, p[kAttrQ].gy, width);
    const F ty = step(p[kAttrVq].gy, v, p[kAttrQ].gy, height);
    const F limit = L::Mul(q, q);
    const F lengthX = L::Add(L::Mul(sx, sx), L::Mul(tx, tx));
    const F lengthY = L::Add(L::Mul(sy, sy), L::Mul(ty, ty));
    return L::Or(L::GreaterMask(lengthX, limit), L::GreaterMask(lengthY, limit));
  }

  static std::uint16_t* Target(const PixelState& state, int x, int y) {
    return state.pixels + static_cast<std::ptrdiff_t>(y) * state.pitch + x;
  }

  // Lanes that load and store pixels under a mask read and write only those of the run.
  static constexpr bool kMaskedPixels = requires { L::kMaskedPixels; };

  static I Load(const std::uint16_t* at, int count) {
    if (count == L::kCount) return L::LoadPixels(at);
    if constexpr (kMaskedPixels) return L::LoadPixels(at, L::FirstLanes(count));
    std::int32_t lanes[L::kCount] = {};
    for (int i = 0; i < count; ++i) lanes[i] = at[i];
    return L::FromArray(lanes);
  }

  // The blend with the target's pixels, unless every kept source pixel is opaque (which keeps
  // nothing of the target).
  static Split Blend(Split colour, I target, I keep) {
    const I opaque = L::Equal(M::Alpha(colour), L::Splat(255));
    if (L::AllOnes(L::Or(opaque, L::AndNot(keep, L::Splat(-1))))) return colour;
    return M::BlendOneInvSrcAlpha(colour, target);
  }

  static void WriteRun(const SpanInputs& in, std::uint16_t* at, Split colour, I keep, int count) {
    if (in.mayBlend) colour = Blend(colour, Load(at, count), keep);
    const I packed = M::PackRgb565(colour);
    if (kMaskedPixels || count == L::kCount) {
      L::StorePixels(at, packed, keep);
      return;
    }
    std::int32_t pixels[L::kCount], kept[L::kCount];
    L::ToArray(packed, pixels);
    L::ToArray(keep, kept);
    for (int i = 0; i < count; ++i) {
      if (kept[i] != 0) at[i] = static_cast<std::uint16_t>(pixels[i]);
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
  for (int k = 0; k < Group::UsedAttributes(in); ++k) {
    // EvaluatePlane's (base + gy · dy), once for the row.
    rows.part[k] = L::Splat(set.planes[k].base + set.planes[k].gy * dy);
    rows.gx[k] = L::Splat(set.planes[k].gx);
  }
  std::uint16_t* row = in.state->pixels + static_cast<std::ptrdiff_t>(y) * in.state->pitch;
  if (in.foggedOut) {
    // Groups over pixels of the fog colour stay as they are: they are left before they are
    // located. (The far ground is drawn wholly fogged over the cleared fog-coloured background.)
    for (int x = x0; x < x1; x += L::kCount) {
      const int count = std::min(L::kCount, x1 - x);
      if (Group::FogColoured(in, row + x, count)) continue;
      Group::DrawFoggedRun(in, rows, row, x, count);
    }
    return;
  }
  // A batch of groups is located first, then drawn: the divides and conversions of one group
  // no longer wait in line behind the texel reads of the one before.
  constexpr int kBatch = 8;
  typename Group::Where where[kBatch];
  for (int x = x0; x < x1; x += kBatch * L::kCount) {
    const int groups = std::min(kBatch, (x1 - x + L::kCount - 1) / L::kCount);
    for (int g = 0; g < groups; ++g) {
      where[g] = Group::Locate(in, rows, Group::Across(in, x + g * L::kCount));
    }
    for (int g = 0; g < groups; ++g) {
      const int at = x + g * L::kCount;
      Group::DrawRun(in, rows, row, at, std::min(L::kCount, x1 - at), where[g]);
    }
  }
}

// Draws a line's pixels that lie inside the scissor, L::kCount at a time. They are walked a batch
// at a time first: a walk with no call inside keeps its state in registers.
template <class L, TextureFormat kFormat, SpanFilter kFilter, bool kFog>
void DrawLineWith(const SpanInputs& in, const LineSetup& line) {
  using Group = PixelGroup<L, kFormat, kFilter, kFog>;
  const PixelRect& scissor = in.state->scissor;
  int begin, end;
  LinePixelsInRows(line, scissor, begin, end);
  if (begin >= end) return;
  LineWalker walker(line, begin);
  constexpr int kBatch = 256;
  static_assert(kBatch % L::kCount == 0);
  alignas(64) std::int32_t xs[kBatch], ys[kBatch];
  for (int i = begin; i < end;) {
    int filled = 0;
    for (; i < end && filled < kBatch; ++i) {
      int x, y;
      walker.Next(x, y);
      if (!scissor.Contains(x, y)) continue;
      xs[filled] = x;
      ys[filled] = y;
      ++filled;
    }
    // The last group's lanes past the line repeat its first pixel: they are located, never drawn.
    for (int k = filled; k % L::kCount != 0; ++k) {
      xs[k] = xs[0];
      ys[k] = ys[0];
    }
    for (int k = 0; k < filled; k += L::kCount) {
      Group::DrawPixels(in, *reinterpret_cast<const std::int32_t(*)[L::kCount]>(xs + k),
                        *reinterpret_cast<const std::int32_t(*)[L::kCount]>(ys + k),
                        std::min(L::kCount, filled - k));
    }
  }
}

}  // namespace
}  // namespace platform::raster
