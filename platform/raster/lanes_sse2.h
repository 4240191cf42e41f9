// Four pixels at a time with SSE2: the lane operations the span kernel (span_kernel.h) is written
// in. Every operation is the same IEEE single-precision or integer operation as its scalar twin in
// pixel_math.h, so lanes agree with the reference path bit for bit. Internal linkage: each file
// that includes this gets its own copy, compiled for its own instruction set.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

namespace platform::raster {
namespace {

struct LanesSse2 {
  static constexpr int kCount = 4;
  using F = __m128;   // one float per pixel
  using I = __m128i;  // one 32-bit integer (or 0xAARRGGBB colour) per pixel

  static F Splat(float v) { return _mm_set1_ps(v); }
  static I Splat(int v) { return _mm_set1_epi32(v); }
  static I Offsets() { return _mm_setr_epi32(0, 1, 2, 3); }
  static I Zero() { return _mm_setzero_si128(); }

  static F Add(F a, F b) { return _mm_add_ps(a, b); }
  static F Sub(F a, F b) { return _mm_sub_ps(a, b); }
  static F Mul(F a, F b) { return _mm_mul_ps(a, b); }
  static F Div(F a, F b) { return _mm_div_ps(a, b); }
  // a > b ? a : b and a < b ? a : b, the scalar code's operand order.
  static F Max(F a, F b) { return _mm_max_ps(a, b); }
  static F Min(F a, F b) { return _mm_min_ps(a, b); }
  static I GreaterMask(F a, F b) { return _mm_castps_si128(_mm_cmpgt_ps(a, b)); }
  static F ToFloat(I v) { return _mm_cvtepi32_ps(v); }
  static I Truncate(F v) { return _mm_cvttps_epi32(v); }
  // floor(v) for v within ±2^31: truncation, one less where it went up (negative fractions).
  static I FloorToInt(F v) {
    const I truncated = Truncate(v);
    return Add(truncated, GreaterMask(ToFloat(truncated), v));
  }

  static I Add(I a, I b) { return _mm_add_epi32(a, b); }
  static I Sub(I a, I b) { return _mm_sub_epi32(a, b); }
  static I And(I a, I b) { return _mm_and_si128(a, b); }
  static I Or(I a, I b) { return _mm_or_si128(a, b); }
  static I AndNot(I a, I b) { return _mm_andnot_si128(a, b); }  // ~a & b
  static I Equal(I a, I b) { return _mm_cmpeq_epi32(a, b); }
  static I GreaterThan(I a, I b) { return _mm_cmpgt_epi32(a, b); }
  template <int kBits>
  static I ShiftLeft(I v) {
    return _mm_slli_epi32(v, kBits);
  }
  template <int kBits>
  static I ShiftRight(I v) {
    return _mm_srli_epi32(v, kBits);
  }
  template <int kBits>
  static I ShiftRightSigned(I v) {
    return _mm_srai_epi32(v, kBits);
  }
  static I ShiftLeftBy(I v, int bits) { return _mm_sll_epi32(v, _mm_cvtsi32_si128(bits)); }
  // mask ? a : b, lane by lane (mask lanes all ones or all zeros).
  static I Select(I mask, I a, I b) {
    return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
  }
  static bool AllZero(I v) { return _mm_movemask_epi8(_mm_cmpeq_epi32(v, Zero())) == 0xFFFF; }
  static bool AllOnes(I mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }
  // Lanes from `count` on are 0, the others all ones.
  static I FirstLanes(int count) { return _mm_cmpgt_epi32(Splat(count), Offsets()); }

  // table[index] for every lane.
  static I Gather(const std::uint32_t* table, I index) {
    alignas(16) std::int32_t at[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(at), index);
    return _mm_setr_epi32(static_cast<int>(table[at[0]]), static_cast<int>(table[at[1]]),
                          static_cast<int>(table[at[2]]), static_cast<int>(table[at[3]]));
  }
  // table[index] and table[index + 1] for every lane, read as one eight-byte load each.
  static void GatherPairs(const std::uint32_t* table, I index, I& first, I& second) {
    alignas(16) std::int32_t at[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(at), index);
    auto pair = [&](int a, int b) {
      const __m128d low =
          _mm_castsi128_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(table + at[a])));
      return _mm_castpd_ps(_mm_loadh_pd(low, reinterpret_cast<const double*>(table + at[b])));
    };
    const __m128 low = pair(0, 1), high = pair(2, 3);
    first = _mm_castps_si128(_mm_shuffle_ps(low, high, _MM_SHUFFLE(2, 0, 2, 0)));
    second = _mm_castps_si128(_mm_shuffle_ps(low, high, _MM_SHUFFLE(3, 1, 3, 1)));
  }
  static I GatherBytes(const std::uint8_t* table, I index) {
    alignas(16) std::int32_t at[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(at), index);
    return _mm_setr_epi32(table[at[0]], table[at[1]], table[at[2]], table[at[3]]);
  }

  // 16-bit lanes, one per channel of a split colour (span_kernel.h).
  static I Add16(I a, I b) { return _mm_add_epi16(a, b); }
  static I Sub16(I a, I b) { return _mm_sub_epi16(a, b); }
  static I Mul16(I a, I b) { return _mm_mullo_epi16(a, b); }
  // Signed: the kernel's 16-bit values stay below 32768.
  static I Min16(I a, I b) { return _mm_min_epi16(a, b); }
  static I Splat16(short v) { return _mm_set1_epi16(v); }
  template <int kBits>
  static I ShiftRight16(I v) {
    return _mm_srli_epi16(v, kBits);
  }

  // Reads and writes RGB 565 pixels (one per 32-bit lane, zero-extended).
  static I LoadPixels(const std::uint16_t* at) {
    return _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(at)), Zero());
  }
  // Stores the lanes of `pixels` (each ≤ 0xFFFF) where `keep` is all ones.
  static void StorePixels(std::uint16_t* at, I pixels, I keep) {
    const I biased = _mm_sub_epi32(pixels, Splat(0x8000));
    const I words = _mm_xor_si128(_mm_packs_epi32(biased, biased), _mm_set1_epi16(-0x8000));
    const I keepWords = _mm_packs_epi32(keep, keep);
    const I old = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at));
    const I merged =
        _mm_or_si128(_mm_and_si128(keepWords, words), _mm_andnot_si128(keepWords, old));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at), merged);
  }
  static void ToArray(I v, std::int32_t (&out)[kCount]) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
  }
  static I FromArray(const std::int32_t (&in)[kCount]) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  }
};

}  // namespace
}  // namespace platform::raster
