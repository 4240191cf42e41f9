// Eight 32-bit lanes (sixteen 16-bit ones) with AVX2, for processors that have it (lane_choice.h
// asks): lanes.h's operations, those AVX2 writes its own way (the set lanes_sse2.h adds), and a
// floor and a select that AVX2 has as single instructions. Include it only where AVX2 code
// generation is switched on (the files named *_avx2.cpp); internal linkage keeps its code out of
// every other file.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "platform/pixel/lanes.h"

namespace platform::pixel {
namespace {

struct LanesAvx2 : LanesOfWidth<__v8sf, __v4di, __v8si, __v8su, __v16hi, __v16hu> {
  // AVX has a floor and a select of its own.
  static I FloorToInt(F v) { return _mm256_cvttps_epi32(_mm256_floor_ps(v)); }
  static I Select(I mask, I a, I b) { return _mm256_blendv_epi8(b, a, mask); }
  // vmaxps and vminps return the second operand when either is NaN, as maxps and minps do.
  static F Max(F a, F b) { return _mm256_max_ps(a, b); }
  static F Min(F a, F b) { return _mm256_min_ps(a, b); }
  static I MulHigh16(I a, I b) { return _mm256_mulhi_epu16(a, b); }
  static bool AllZero(I v) { return _mm256_testz_si256(v, v) != 0; }
  static bool AllOnes(I mask) { return _mm256_movemask_epi8(mask) == -1; }

  // Built as two halves and joined, which the processors measured run faster than one
  // eight-lane initialiser.
  static I Gather(const std::uint32_t* table, I index) {
    std::int32_t at[kCount];
    ToArray(index, at);
    const __m128i low =
        _mm_setr_epi32(static_cast<int>(table[at[0]]), static_cast<int>(table[at[1]]),
                       static_cast<int>(table[at[2]]), static_cast<int>(table[at[3]]));
    const __m128i high =
        _mm_setr_epi32(static_cast<int>(table[at[4]]), static_cast<int>(table[at[5]]),
                       static_cast<int>(table[at[6]]), static_cast<int>(table[at[7]]));
    return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
  }
  // table[index] and table[index + 1] for every lane.
  static void GatherPairs(const std::uint32_t* table, I index, I& first, I& second) {
    std::int32_t at[kCount];
    ToArray(index, at);
    // Each block holds two lanes' pairs: 0, 1 | 4, 5 and 2, 3 | 6, 7.
    const __m256 even =
        Blocks(LoadTwoPairs(table, at[0], at[1]), LoadTwoPairs(table, at[4], at[5]));
    const __m256 odd = Blocks(LoadTwoPairs(table, at[2], at[3]), LoadTwoPairs(table, at[6], at[7]));
    first = _mm256_castps_si256(_mm256_shuffle_ps(even, odd, _MM_SHUFFLE(2, 0, 2, 0)));
    second = _mm256_castps_si256(_mm256_shuffle_ps(even, odd, _MM_SHUFFLE(3, 1, 3, 1)));
  }
  static I LoadPixels(const std::uint16_t* at) {
    return _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)));
  }
  static void StorePixels(std::uint16_t* at, I pixels, I keep) {
    // Packing works per 128-bit block; the permute puts the eight words in order.
    const I words = _mm256_permute4x64_epi64(_mm256_packus_epi32(pixels, pixels), 0x08);
    if (AllOnes(keep)) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm256_castsi256_si128(words));
      return;
    }
    const I keepWords = _mm256_permute4x64_epi64(_mm256_packs_epi32(keep, keep), 0x08);
    const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i merged =
        _mm_blendv_epi8(old, _mm256_castsi256_si128(words), _mm256_castsi256_si128(keepWords));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), merged);
  }

  static I LoadBytesAsWords(const std::uint8_t* at) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)));
  }
  static bool BytesAllOnes(const std::uint8_t* at) {
    return _mm_testc_si128(Read<__m128i>(at), _mm_set1_epi8(-1)) != 0;
  }
  static bool BytesAllZero(const std::uint8_t* at) {
    const __m128i bytes = Read<__m128i>(at);
    return _mm_testz_si128(bytes, bytes) != 0;
  }

 private:
  // Two 128-bit halves as one register, low first.
  static __m256 Blocks(__m128 low, __m128 high) {
    return _mm256_castsi256_ps(_mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_castps_si128(low)), _mm_castps_si128(high), 1));
  }
};

}  // namespace
}  // namespace platform::pixel
