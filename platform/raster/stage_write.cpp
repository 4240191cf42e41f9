// The write stage: the alpha blend with the target and the RGB 565 store of the kept pixels.
#include <cstddef>

#include "platform/raster/simd.h"
#include "platform/raster/stages.h"

namespace platform::raster {
namespace {

using simd::Load;
using simd::Splat;
using simd::Store;

enum class BlendKind { Off, OneInvSrcAlpha, Other };

std::uint16_t& TargetPixel(const PixelState& state, int x, int y) {
  return state
      .pixels[static_cast<std::ptrdiff_t>(y) * state.pitch + static_cast<std::ptrdiff_t>(x)];
}

// source + destination · (1 − source alpha), the game's blend, for four pixels.
__m128i BlendOneInvSrcAlpha(const PixelState& state, const Chunk& chunk, int i, __m128i colour) {
  const __m128i alpha = _mm_srli_epi32(colour, 24);
  // An opaque source keeps nothing of the destination (x · 0 / 255 is 0): skip reading it.
  if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, Splat(255))) == 0xFFFF) return colour;
  alignas(16) std::int32_t target[4] = {0, 0, 0, 0};
  for (int lane = 0; lane < 4 && i + lane < chunk.count; ++lane) {
    target[lane] = TargetPixel(state, chunk.x[i + lane], chunk.y[i + lane]);
  }
  const __m128i destination = simd::UnpackRgb565(Load(target));
  __m128i inverseLow, inverseHigh;
  simd::SpreadToChannels(_mm_sub_epi32(Splat(255), alpha), inverseLow, inverseHigh);
  const __m128i kept = simd::Narrow(simd::Mul255(simd::WidenLow(destination), inverseLow),
                                    simd::Mul255(simd::WidenHigh(destination), inverseHigh));
  return _mm_adds_epu8(colour, kept);
}

// A full span chunk: sixteen neighbouring pixels of one row, stored eight at a time, keeping
// the target's own value where a pixel was dropped.
void StoreSpan(const PixelState& state, const Chunk& chunk, const std::int32_t* packed) {
  std::uint16_t* row = &TargetPixel(state, chunk.x[0], chunk.y[0]);
  const __m128i bias = Splat(0x8000);
  for (int i = 0; i < kChunkPixels; i += 8) {
    // Values up to 0xFFFF survive the signed pack when moved down by 0x8000 and back.
    const __m128i words = _mm_xor_si128(_mm_packs_epi32(_mm_sub_epi32(Load(packed + i), bias),
                                                        _mm_sub_epi32(Load(packed + i + 4), bias)),
                                        _mm_set1_epi16(-0x8000));
    const __m128i keep = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(chunk.keep + i));
    const __m128i dropped8 = _mm_cmpeq_epi8(keep, _mm_setzero_si128());
    const __m128i dropped = _mm_unpacklo_epi8(dropped8, dropped8);
    auto* at = reinterpret_cast<__m128i*>(row + i);
    const __m128i old = _mm_loadu_si128(at);
    _mm_storeu_si128(at,
                     _mm_or_si128(_mm_and_si128(dropped, old), _mm_andnot_si128(dropped, words)));
  }
}

template <BlendKind kBlend>
void Write(const StageInputs& inputs, Chunk& chunk) {
  const PixelState& state = *inputs.state;
  if constexpr (kBlend == BlendKind::Other) {
    for (int i = 0; i < chunk.count; ++i) {
      if (chunk.keep[i] == 0) continue;
      std::uint16_t& pixel = TargetPixel(state, chunk.x[i], chunk.y[i]);
      pixel = PackRgb565(BlendColours(state.srcBlend, state.destBlend, UnpackArgb(chunk.colour[i]),
                                      UnpackRgb565(pixel)));
    }
    return;
  }
  alignas(16) std::int32_t packed[kChunkPixels];
  for (int i = 0; i < chunk.count; i += 4) {
    __m128i colour = Load(chunk.colour + i);
    if constexpr (kBlend == BlendKind::OneInvSrcAlpha) {
      colour = BlendOneInvSrcAlpha(state, chunk, i, colour);
    }
    Store(packed + i, simd::PackRgb565(colour));
  }
  if (chunk.span && chunk.count == kChunkPixels) {
    StoreSpan(state, chunk, packed);
    return;
  }
  for (int i = 0; i < chunk.count; ++i) {
    if (chunk.keep[i] != 0) {
      TargetPixel(state, chunk.x[i], chunk.y[i]) = static_cast<std::uint16_t>(packed[i]);
    }
  }
}

}  // namespace

Stage SelectWrite(const PixelState& state) {
  if (!state.blend) return &Write<BlendKind::Off>;
  if (state.srcBlend == BlendFactor::One && state.destBlend == BlendFactor::InvSrcAlpha) {
    return &Write<BlendKind::OneInvSrcAlpha>;
  }
  return &Write<BlendKind::Other>;
}

}  // namespace platform::raster
