// The shading stage: texture blend, specular add and fog, four pixels at a time.
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

enum class Combine { Untextured, Decal, Modulate, ModulateAlpha };

constexpr int kCombineCount = 4;

// CombineTexture for four pixels. alphaFromTexel is 0xFF000000 in each lane when the texture
// carries alpha, else 0.
template <Combine kCombine>
inline __m128i CombineTexel(__m128i texel, __m128i diffuse, __m128i alphaFromTexel) {
  __m128i colour = texel;
  __m128i alphaSource = texel;
  if constexpr (kCombine != Combine::Decal) {
    const __m128i low = simd::Mul255(simd::WidenLow(texel), simd::WidenLow(diffuse));
    const __m128i high = simd::Mul255(simd::WidenHigh(texel), simd::WidenHigh(diffuse));
    colour = simd::Narrow(low, high);
    if constexpr (kCombine == Combine::ModulateAlpha) alphaSource = colour;
  }
  const __m128i alpha =
      _mm_or_si128(_mm_and_si128(alphaSource, alphaFromTexel),
                   _mm_andnot_si128(alphaFromTexel, _mm_and_si128(diffuse, Splat(~0x00FFFFFF))));
  return _mm_or_si128(_mm_and_si128(colour, Splat(0x00FFFFFF)), alpha);
}

// ApplyFog on one 16-bit half: the alpha lanes get weight 256, which keeps alpha as it is.
inline __m128i FogHalf(__m128i colour, __m128i weight, __m128i fog) {
  const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
  weight = _mm_or_si128(_mm_andnot_si128(alphaLanes, weight),
                        _mm_and_si128(alphaLanes, _mm_set1_epi16(256)));
  const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(256), weight);
  const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(colour, weight), _mm_mullo_epi16(fog, inverse));
  return _mm_srli_epi16(_mm_add_epi16(sum, _mm_set1_epi16(128)), 8);
}

template <Combine kCombine, bool kSpecular, bool kFog>
void Shade(const StageInputs& inputs, Chunk& chunk) {
  const PixelState& state = *inputs.state;
  const __m128i alphaFromTexel = Splat(state.textureHasAlpha ? ~0x00FFFFFF : 0);
  const __m128i fog = simd::WidenLow(Splat(static_cast<int>(state.fogColour)));
  for (int i = 0; i < chunk.count; i += 4) {
    __m128i colour = Load(chunk.diffuse + i);
    if constexpr (kCombine != Combine::Untextured) {
      colour = CombineTexel<kCombine>(Load(chunk.texel + i), colour, alphaFromTexel);
    }
    if constexpr (kSpecular) colour = _mm_adds_epu8(colour, Load(chunk.specular + i));
    if constexpr (kFog) {
      __m128i weightLow, weightHigh;
      simd::SpreadToChannels(Load(chunk.fogWeight + i), weightLow, weightHigh);
      colour = simd::Narrow(FogHalf(simd::WidenLow(colour), weightLow, fog),
                            FogHalf(simd::WidenHigh(colour), weightHigh, fog));
    }
    Store(chunk.colour + i, colour);
  }
}

template <std::size_t kKey>
void ShadeKeyed(const StageInputs& inputs, Chunk& chunk) {
  Shade<static_cast<Combine>(kKey / 4), (kKey & 2) != 0, (kKey & 1) != 0>(inputs, chunk);
}

template <std::size_t... kKeys>
constexpr std::array<Stage, sizeof...(kKeys)> ShadeTable(std::index_sequence<kKeys...>) {
  return {&ShadeKeyed<kKeys>...};
}

Combine CombineFor(const PixelState& state) {
  if (!state.textured) return Combine::Untextured;
  switch (state.textureBlend) {
    case TextureBlend::Decal:
      return Combine::Decal;
    case TextureBlend::Modulate:
      return Combine::Modulate;
    case TextureBlend::ModulateAlpha:
      return Combine::ModulateAlpha;
  }
  return Combine::Modulate;
}

}  // namespace

Stage SelectShade(const PixelState& state) {
  static constexpr auto kTable = ShadeTable(std::make_index_sequence<kCombineCount * 4>{});
  const std::size_t key = static_cast<std::size_t>(CombineFor(state)) * 4 +
                          (state.specular ? 2u : 0u) + (state.fog ? 1u : 0u);
  return kTable[key];
}

}  // namespace platform::raster
