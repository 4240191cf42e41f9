// Sixteen 32-bit lanes (thirty-two 16-bit ones) with AVX-512, for processors that have its
// foundation, byte and word, double and quad word and vector-length subsets (lane_choice.h asks):
// lanes.h's operations, the floor, select and whole-register tests of lanes_avx2.h, what the text
// blends read, and memory touched under a lane mask, so that a span's partial groups load and
// store only their own pixels. Include it only where AVX-512 code generation is switched on (the
// files named *_avx512.cpp).
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "platform/pixel/lanes.h"

namespace platform::pixel {
namespace {

struct LanesAvx512 : LanesOfWidth<__v16sf, __v8di, __v16si, __v16su, __v32hi, __v32hu> {
  // Loads and stores of pixels take a lane mask: lanes outside it are neither read nor written.
  static constexpr bool kMaskedPixels = true;
  static constexpr __mmask16 kAll = 0xFFFF;
  static constexpr __mmask32 kAllWords = 0xFFFFFFFF;

  // The intrinsics of every lane are written as their zero-masking forms with every lane kept:
  // GCC's plain forms start from a deliberately undefined register, which its warnings report.
  // The floor is one conversion that rounds down (beyond ±2^31, 0x80000000, as truncation gives).
  static I FloorToInt(F v) {
    return _mm512_maskz_cvt_roundps_epi32(kAll, v, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
  }
  static I Select(I mask, I a, I b) { return _mm512_mask_blend_epi32(Mask(mask), b, a); }
  // vmaxps and vminps return the second operand when either is NaN, as maxps and minps do.
  static F Max(F a, F b) { return _mm512_maskz_max_ps(kAll, a, b); }
  static F Min(F a, F b) { return _mm512_maskz_min_ps(kAll, a, b); }
  static bool AllZero(I v) { return _mm512_test_epi32_mask(v, v) == 0; }
  static bool AllOnes(I mask) { return Mask(mask) == 0xFFFF; }

  // One plain load a lane, in four 128-bit quarters joined, as lanes_avx2.h builds its halves.
  static I Gather(const std::uint32_t* table, I index) {
    std::int32_t at[kCount];
    ToArray(index, at);
    auto quarter = [&](int k) {
      return _mm_setr_epi32(static_cast<int>(table[at[k]]), static_cast<int>(table[at[k + 1]]),
                            static_cast<int>(table[at[k + 2]]), static_cast<int>(table[at[k + 3]]));
    };
    return Join(quarter(0), quarter(4), quarter(8), quarter(12));
  }
  // table[index] and table[index + 1] for every lane, as one eight-byte load each.
  static void GatherPairs(const std::uint32_t* table, I index, I& first, I& second) {
    std::int32_t at[kCount];
    ToArray(index, at);
    // Quarter k of `even` holds the pairs of lanes k and k + 4, of `odd` those of k + 8, k + 12.
    auto pairs = [&](int a, int b) { return _mm_castps_si128(LoadTwoPairs(table, at[a], at[b])); };
    const I even = Join(pairs(0, 4), pairs(1, 5), pairs(2, 6), pairs(3, 7));
    const I odd = Join(pairs(8, 12), pairs(9, 13), pairs(10, 14), pairs(11, 15));
    // Lane k's pair sits at dwords 4 (k mod 4) + 2 (k div 4 mod 2) of its register.
    alignas(64) static constexpr std::int32_t kFirst[16] = {0,  4,  8,  12, 2,  6,  10, 14,
                                                            16, 20, 24, 28, 18, 22, 26, 30};
    const __m512i order = _mm512_load_si512(kFirst);
    first = _mm512_permutex2var_epi32(even, order, odd);
    second = _mm512_permutex2var_epi32(even, _mm512_add_epi32(order, _mm512_set1_epi32(1)), odd);
  }

  // The high half of each unsigned 16-bit product.
  static I MulHigh16(I a, I b) { return _mm512_maskz_mulhi_epu16(kAllWords, a, b); }
  // kWords bytes (coverage) widened to the 16-bit lanes, and whether they are all 0xFF or all 0.
  static I LoadBytesAsWords(const std::uint8_t* at) {
    return _mm512_maskz_cvtepu8_epi16(kAllWords, Read<__m256i>(at));
  }
  static bool BytesAllOnes(const std::uint8_t* at) {
    return _mm256_testc_si256(Read<__m256i>(at), _mm256_set1_epi8(-1)) != 0;
  }
  static bool BytesAllZero(const std::uint8_t* at) {
    const __m256i bytes = Read<__m256i>(at);
    return _mm256_testz_si256(bytes, bytes) != 0;
  }

  // The lanes of `keep` of the RGB 565 pixels at `at`, zero-extended; the others 0, unread.
  static I LoadPixels(const std::uint16_t* at, I keep) {
    return _mm512_maskz_cvtepu16_epi32(kAll, _mm256_maskz_loadu_epi16(Mask(keep), at));
  }
  static I LoadPixels(const std::uint16_t* at) {
    return _mm512_maskz_cvtepu16_epi32(kAll,
                                       _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)));
  }
  // Stores the lanes of `pixels` (each ≤ 0xFFFF) where `keep` is all ones; the others are not
  // touched.
  static void StorePixels(std::uint16_t* at, I pixels, I keep) {
    _mm512_mask_cvtepi32_storeu_epi16(at, Mask(keep), pixels);
  }

 private:
  static __mmask16 Mask(I mask) { return _mm512_movepi32_mask(mask); }
  static I Join(__m128i a, __m128i b, __m128i c, __m128i d) {
    const __m256i low = _mm256_inserti128_si256(_mm256_castsi128_si256(a), b, 1);
    const __m256i high = _mm256_inserti128_si256(_mm256_castsi128_si256(c), d, 1);
    return _mm512_maskz_inserti64x4(0xFF, _mm512_castsi256_si512(low), high, 1);
  }
};

}  // namespace
}  // namespace platform::pixel
