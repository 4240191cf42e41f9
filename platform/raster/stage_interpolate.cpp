// The interpolation stage: plane values at each pixel, the perspective divide, texel positions,
// the filter choice, the fog weight and (when they vary) the colours.
#include <array>
#include <cstddef>
#include <utility>

#include "platform/raster/simd.h"
#include "platform/raster/stages.h"

namespace platform::raster {
namespace {

using simd::Load;
using simd::Splat;
using simd::Store;

// Minified (pixel_math.h) for four pixels: −1 where minified.
__m128i MinifiedMask(const PlaneSet& set, const PixelState& state, __m128 u, __m128 v,
                     __m128 invQ) {
  const Plane& q = set.planes[kAttrQ];
  const Plane& uq = set.planes[kAttrUq];
  const Plane& vq = set.planes[kAttrVq];
  const __m128 width = Splat(state.textureWidth);
  const __m128 height = Splat(state.textureHeight);
  auto derivative = [&](float gradient, __m128 value, float qGradient, __m128 size) {
    const __m128 change = _mm_sub_ps(Splat(gradient), _mm_mul_ps(value, Splat(qGradient)));
    return _mm_mul_ps(_mm_mul_ps(change, invQ), size);
  };
  const __m128 sx = derivative(uq.gx, u, q.gx, width);
  const __m128 tx = derivative(vq.gx, v, q.gx, height);
  const __m128 sy = derivative(uq.gy, u, q.gy, width);
  const __m128 ty = derivative(vq.gy, v, q.gy, height);
  const __m128 lengthX = _mm_add_ps(_mm_mul_ps(sx, sx), _mm_mul_ps(tx, tx));
  const __m128 lengthY = _mm_add_ps(_mm_mul_ps(sy, sy), _mm_mul_ps(ty, ty));
  const __m128 one = Splat(1.0f);
  return _mm_castps_si128(_mm_or_ps(_mm_cmpgt_ps(lengthX, one), _mm_cmpgt_ps(lengthY, one)));
}

// The part of each plane that depends on the row, base + gy · dy: per chunk for a span, per
// pixel for a line. Either way it is the same operation on the same operands.
// Only the planes in use are computed.
struct RowParts {
  __m128 parts[kAttrCount];

  void ForSpan(const PlaneSet& set, const Chunk& chunk, const bool (&used)[kAttrCount]) {
    const float dy = static_cast<float>(chunk.y[0] - set.yr);
    for (int k = 0; k < kAttrCount; ++k) {
      if (used[k]) parts[k] = Splat(set.planes[k].base + set.planes[k].gy * dy);
    }
  }
  void ForPixels(const PlaneSet& set, const Chunk& chunk, int i, const bool (&used)[kAttrCount]) {
    const __m128 dy = _mm_cvtepi32_ps(_mm_sub_epi32(Load(chunk.y + i), Splat(set.yr)));
    for (int k = 0; k < kAttrCount; ++k) {
      if (used[k]) {
        parts[k] = _mm_add_ps(Splat(set.planes[k].base), _mm_mul_ps(Splat(set.planes[k].gy), dy));
      }
    }
  }
};

template <bool kTextured, bool kPerspective, bool kChooseFilter, bool kFog, bool kSmooth>
void Interpolate(const StageInputs& inputs, Chunk& chunk) {
  const PixelState& state = *inputs.state;
  const PlaneSet& set = *inputs.planes;
  const Plane* planes = set.planes;
  const __m128i xr = Splat(set.xr);
  constexpr bool kUsed[kAttrCount] = {kPerspective, kTextured, kTextured, kFog,    kSmooth, kSmooth,
                                      kSmooth,      kSmooth,   kSmooth,   kSmooth, kSmooth};
  RowParts row;
  if (chunk.span) row.ForSpan(set, chunk, kUsed);
  for (int i = 0; i < chunk.count; i += 4) {
    if (!chunk.span) row.ForPixels(set, chunk, i, kUsed);
    const __m128 dx = _mm_cvtepi32_ps(_mm_sub_epi32(Load(chunk.x + i), xr));
    // EvaluatePlane: (base + gy · dy) + gx · dx.
    auto at = [&](int k) { return _mm_add_ps(row.parts[k], _mm_mul_ps(Splat(planes[k].gx), dx)); };

    // Without perspective, q is 1 and multiplying by 1/q changes nothing: both are skipped.
    __m128 invQ = Splat(1.0f);
    if constexpr (kPerspective) invQ = _mm_div_ps(Splat(1.0f), at(kAttrQ));
    if constexpr (kTextured) {
      __m128 u = at(kAttrUq);
      __m128 v = at(kAttrVq);
      if constexpr (kPerspective) {
        u = _mm_mul_ps(u, invQ);
        v = _mm_mul_ps(v, invQ);
      }
      Store(chunk.s + i, simd::FloorToFixed(_mm_mul_ps(u, Splat(state.texelScaleS))));
      Store(chunk.t + i, simd::FloorToFixed(_mm_mul_ps(v, Splat(state.texelScaleT))));
      if constexpr (kChooseFilter) Store(chunk.minified + i, MinifiedMask(set, state, u, v, invQ));
    }
    if constexpr (kFog) {
      __m128 factor = at(kAttrFogQ);
      if constexpr (kPerspective) factor = _mm_mul_ps(factor, invQ);
      Store(chunk.fogWeight + i, simd::FogWeight(factor));
    }
    if constexpr (kSmooth) {
      Store(chunk.diffuse + i,
            simd::PackArgb(simd::ToByte(at(kAttrDiffuseA)), simd::ToByte(at(kAttrDiffuseR)),
                           simd::ToByte(at(kAttrDiffuseG)), simd::ToByte(at(kAttrDiffuseB))));
      Store(chunk.specular + i,
            simd::PackArgb(_mm_setzero_si128(), simd::ToByte(at(kAttrSpecularR)),
                           simd::ToByte(at(kAttrSpecularG)), simd::ToByte(at(kAttrSpecularB))));
    }
  }
}

template <std::size_t kKey>
void InterpolateKeyed(const StageInputs& inputs, Chunk& chunk) {
  Interpolate<(kKey & 1) != 0, (kKey & 2) != 0, (kKey & 4) != 0, (kKey & 8) != 0, (kKey & 16) != 0>(
      inputs, chunk);
}

template <std::size_t... kKeys>
constexpr std::array<Stage, sizeof...(kKeys)> InterpolateTable(std::index_sequence<kKeys...>) {
  return {&InterpolateKeyed<kKeys>...};
}

}  // namespace

Stage SelectInterpolate(const PixelState& state, bool smooth) {
  static constexpr auto kTable = InterpolateTable(std::make_index_sequence<32>{});
  const bool chooseFilter = state.textured && state.minFilter != state.magFilter;
  // The divide is only worth doing for what is divided: texture coordinates and fog.
  const bool perspective = state.perspective && (state.textured || state.fog);
  const std::size_t key = (state.textured ? 1u : 0u) | (perspective ? 2u : 0u) |
                          (chooseFilter ? 4u : 0u) | (state.fog ? 8u : 0u) | (smooth ? 16u : 0u);
  return kTable[key];
}

}  // namespace platform::raster
