// Four 32-bit lanes (eight 16-bit ones) with SSE2, which every x86-64 processor has: lanes.h's
// operations and those SSE2 writes its own way. The span kernel (span_kernel.h) and the text
// blend (rgb565_blend.h) are written in them.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "platform/pixel/lanes.h"

namespace platform::pixel {
namespace {

struct LanesSse2 : LanesOfWidth<__v4sf, __v2di, __v4si, __v4su, __v8hi, __v8hu> {
  // a > b ? a : b and a < b ? a : b, the scalar code's operand order.
  static F Max(F a, F b) { return _mm_max_ps(a, b); }
  static F Min(F a, F b) { return _mm_min_ps(a, b); }
  // The high half of each unsigned 16-bit product.
  static I MulHigh16(I a, I b) { return _mm_mulhi_epu16(a, b); }
  static bool AllZero(I v) { return _mm_movemask_epi8(_mm_cmpeq_epi32(v, Zero())) == 0xFFFF; }
  static bool AllOnes(I mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }

  // table[index] and table[index + 1] for every lane.
  static void GatherPairs(const std::uint32_t* table, I index, I& first, I& second) {
    std::int32_t at[kCount];
    ToArray(index, at);
    const __m128 low = LoadTwoPairs(table, at[0], at[1]), high = LoadTwoPairs(table, at[2], at[3]);
    first = _mm_castps_si128(_mm_shuffle_ps(low, high, _MM_SHUFFLE(2, 0, 2, 0)));
    second = _mm_castps_si128(_mm_shuffle_ps(low, high, _MM_SHUFFLE(3, 1, 3, 1)));
  }
  // RGB 565 pixels one per 32-bit lane, zero-extended.
  static I LoadPixels(const std::uint16_t* at) {
    return _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(at)), Zero());
  }
  // Stores the lanes of `pixels` (each ≤ 0xFFFF) where `keep` is all ones. SSE2 packs with
  // signed saturation only: the pixels are biased into its range and back.
  static void StorePixels(std::uint16_t* at, I pixels, I keep) {
    const I biased = _mm_sub_epi32(pixels, Splat(0x8000));
    const I words = _mm_xor_si128(_mm_packs_epi32(biased, biased), _mm_set1_epi16(-0x8000));
    const I keepWords = _mm_packs_epi32(keep, keep);
    const I old = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at), Select(keepWords, words, old));
  }

  // Eight bytes (coverage) widened to the 16-bit lanes.
  static I LoadBytesAsWords(const std::uint8_t* at) {
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(at)), Zero());
  }
  // Whether the kWords bytes at `at` are all 0xFF, or all 0: one 64-bit word each.
  static bool BytesAllOnes(const std::uint8_t* at) { return Read<std::uint64_t>(at) == ~0ull; }
  static bool BytesAllZero(const std::uint8_t* at) { return Read<std::uint64_t>(at) == 0; }
};

}  // namespace
}  // namespace platform::pixel
