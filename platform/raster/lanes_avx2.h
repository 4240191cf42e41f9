// Eight pixels at a time with AVX2: the same lane operations as lanes_sse2.h, for processors
// that have AVX2 (chosen at run time). Include it only where AVX2 code generation is switched on
// (span_avx2.cpp); internal linkage keeps its code out of every other file.
#pragma once

#include <immintrin.h>

#include <cstdint>

namespace platform::raster {
namespace {

struct LanesAvx2 {
  static constexpr int kCount = 8;
  using F = __m256;
  using I = __m256i;

  static F Splat(float v) { return _mm256_set1_ps(v); }
  static I Splat(int v) { return _mm256_set1_epi32(v); }
  static I Offsets() { return _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7); }
  static I Zero() { return _mm256_setzero_si256(); }

  static F Add(F a, F b) { return _mm256_add_ps(a, b); }
  static F Sub(F a, F b) { return _mm256_sub_ps(a, b); }
  static F Mul(F a, F b) { return _mm256_mul_ps(a, b); }
  static F Div(F a, F b) { return _mm256_div_ps(a, b); }
  // vmaxps and vminps return the second operand when either is NaN, as maxps and minps do.
  static F Max(F a, F b) { return _mm256_max_ps(a, b); }
  static F Min(F a, F b) { return _mm256_min_ps(a, b); }
  static I GreaterMask(F a, F b) { return _mm256_castps_si256(_mm256_cmp_ps(a, b, _CMP_GT_OQ)); }
  static F ToFloat(I v) { return _mm256_cvtepi32_ps(v); }
  static I Truncate(F v) { return _mm256_cvttps_epi32(v); }
  // floor(v) for v within ±2^31.
  static I FloorToInt(F v) { return _mm256_cvttps_epi32(_mm256_floor_ps(v)); }

  static I Add(I a, I b) { return _mm256_add_epi32(a, b); }
  static I Sub(I a, I b) { return _mm256_sub_epi32(a, b); }
  static I And(I a, I b) { return _mm256_and_si256(a, b); }
  static I Or(I a, I b) { return _mm256_or_si256(a, b); }
  static I AndNot(I a, I b) { return _mm256_andnot_si256(a, b); }
  static I Equal(I a, I b) { return _mm256_cmpeq_epi32(a, b); }
  static I GreaterThan(I a, I b) { return _mm256_cmpgt_epi32(a, b); }
  template <int kBits>
  static I ShiftLeft(I v) {
    return _mm256_slli_epi32(v, kBits);
  }
  template <int kBits>
  static I ShiftRight(I v) {
    return _mm256_srli_epi32(v, kBits);
  }
  template <int kBits>
  static I ShiftRightSigned(I v) {
    return _mm256_srai_epi32(v, kBits);
  }
  static I ShiftLeftBy(I v, int bits) { return _mm256_sll_epi32(v, _mm_cvtsi32_si128(bits)); }
  static I Select(I mask, I a, I b) { return _mm256_blendv_epi8(b, a, mask); }
  static bool AllZero(I v) { return _mm256_testz_si256(v, v) != 0; }
  static bool AllOnes(I mask) { return _mm256_movemask_epi8(mask) == -1; }
  static I FirstLanes(int count) { return _mm256_cmpgt_epi32(Splat(count), Offsets()); }

  // Eight plain loads: on the processors measured they cost less than one vpgatherdd.
  static I Gather(const std::uint32_t* table, I index) {
    alignas(32) std::int32_t at[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), index);
    const __m128i low =
        _mm_setr_epi32(static_cast<int>(table[at[0]]), static_cast<int>(table[at[1]]),
                       static_cast<int>(table[at[2]]), static_cast<int>(table[at[3]]));
    const __m128i high =
        _mm_setr_epi32(static_cast<int>(table[at[4]]), static_cast<int>(table[at[5]]),
                       static_cast<int>(table[at[6]]), static_cast<int>(table[at[7]]));
    return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
  }
  // table[index] and table[index + 1] for every lane, read as one eight-byte load each.
  static void GatherPairs(const std::uint32_t* table, I index, I& first, I& second) {
    alignas(32) std::int32_t at[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), index);
    auto pair = [&](int a, int b) {
      const __m128d low =
          _mm_castsi128_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(table + at[a])));
      return _mm_castpd_si128(_mm_loadh_pd(low, reinterpret_cast<const double*>(table + at[b])));
    };
    // Each block holds two lanes' pairs: 0, 1 | 4, 5 and 2, 3 | 6, 7.
    const __m256 even = _mm256_castsi256_ps(
        _mm256_inserti128_si256(_mm256_castsi128_si256(pair(0, 1)), pair(4, 5), 1));
    const __m256 odd = _mm256_castsi256_ps(
        _mm256_inserti128_si256(_mm256_castsi128_si256(pair(2, 3)), pair(6, 7), 1));
    first = _mm256_castps_si256(_mm256_shuffle_ps(even, odd, _MM_SHUFFLE(2, 0, 2, 0)));
    second = _mm256_castps_si256(_mm256_shuffle_ps(even, odd, _MM_SHUFFLE(3, 1, 3, 1)));
  }
  static I GatherBytes(const std::uint8_t* table, I index) {
    alignas(32) std::int32_t at[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), index);
    return _mm256_setr_epi32(table[at[0]], table[at[1]], table[at[2]], table[at[3]], table[at[4]],
                             table[at[5]], table[at[6]], table[at[7]]);
  }

  static I Add16(I a, I b) { return _mm256_add_epi16(a, b); }
  static I Sub16(I a, I b) { return _mm256_sub_epi16(a, b); }
  static I Mul16(I a, I b) { return _mm256_mullo_epi16(a, b); }
  static I Min16(I a, I b) { return _mm256_min_epi16(a, b); }
  static I Splat16(short v) { return _mm256_set1_epi16(v); }
  template <int kBits>
  static I ShiftRight16(I v) {
    return _mm256_srli_epi16(v, kBits);
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
  static void ToArray(I v, std::int32_t (&out)[kCount]) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), v);
  }
  static I FromArray(const std::int32_t (&in)[kCount]) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
  }
};

}  // namespace
}  // namespace platform::raster
