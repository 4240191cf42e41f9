// Four-pixel SSE2 versions of the scalar formulas in pixel_math.h. Each performs the same IEEE
// single-precision or integer operations in the same order as its scalar twin, so results agree
// bit for bit (SSE arithmetic is the same arithmetic the scalar code compiles to on x86-64).
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "platform/raster/pixel_math.h"

namespace platform::raster::simd {

inline __m128 Splat(float value) {
  return _mm_set1_ps(value);
}
inline __m128i Splat(int value) {
  return _mm_set1_epi32(value);
}

inline __m128i Load(const std::int32_t* at) {
  return _mm_load_si128(reinterpret_cast<const __m128i*>(at));
}
inline __m128i Load(const std::uint32_t* at) {
  return _mm_load_si128(reinterpret_cast<const __m128i*>(at));
}
inline void Store(std::int32_t* at, __m128i value) {
  _mm_store_si128(reinterpret_cast<__m128i*>(at), value);
}
inline void Store(std::uint32_t* at, __m128i value) {
  _mm_store_si128(reinterpret_cast<__m128i*>(at), value);
}

// EvaluatePlane for four pixels.
inline __m128 EvaluatePlane(const Plane& plane, __m128 dx, __m128 dy) {
  return _mm_add_ps(_mm_add_ps(Splat(plane.base), _mm_mul_ps(Splat(plane.gy), dy)),
                    _mm_mul_ps(Splat(plane.gx), dx));
}

// ToByte: _mm_max_ps(a, b) is a > b ? a : b and _mm_min_ps(a, b) is a < b ? a : b.
inline __m128i ToByte(__m128 value) {
  value = _mm_add_ps(value, Splat(0.5f));
  value = _mm_max_ps(value, _mm_setzero_ps());
  value = _mm_min_ps(value, Splat(255.0f));
  return _mm_cvttps_epi32(value);
}

inline __m128i FloorToFixed(__m128 value) {
  value = _mm_max_ps(value, Splat(-kFixedLimit));
  value = _mm_min_ps(value, Splat(kFixedLimit));
  const __m128i truncated = _mm_cvttps_epi32(value);
  // The comparison mask is −1 where truncation went up (negative values): add it to step down.
  const __m128 above = _mm_cmpgt_ps(_mm_cvtepi32_ps(truncated), value);
  return _mm_add_epi32(truncated, _mm_castps_si128(above));
}

inline __m128i FogWeight(__m128 factor) {
  factor = _mm_max_ps(factor, _mm_setzero_ps());
  factor = _mm_min_ps(factor, Splat(1.0f));
  return _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(factor, Splat(256.0f)), Splat(0.5f)));
}

// Packs four channel vectors (0…255 each) into 0xAARRGGBB lanes.
inline __m128i PackArgb(__m128i a, __m128i r, __m128i g, __m128i b) {
  return _mm_or_si128(_mm_or_si128(_mm_slli_epi32(a, 24), _mm_slli_epi32(r, 16)),
                      _mm_or_si128(_mm_slli_epi32(g, 8), b));
}

// 16-bit lanes hold two pixels of four channels each (b, g, r, a from the low lane up): these
// split four 0xAARRGGBB pixels into two such vectors and join them again (saturation is never
// needed, the values are bytes).
inline __m128i WidenLow(__m128i argb) {
  return _mm_unpacklo_epi8(argb, _mm_setzero_si128());
}
inline __m128i WidenHigh(__m128i argb) {
  return _mm_unpackhi_epi8(argb, _mm_setzero_si128());
}
inline __m128i Narrow(__m128i low, __m128i high) {
  return _mm_packus_epi16(low, high);
}

// Mul255 on 16-bit lanes; every intermediate stays below 65536.
inline __m128i Mul255(__m128i x, __m128i y) {
  const __m128i m = _mm_add_epi16(_mm_mullo_epi16(x, y), _mm_set1_epi16(128));
  return _mm_srli_epi16(_mm_add_epi16(m, _mm_srli_epi16(m, 8)), 8);
}

// Per-pixel values (four int32 lanes, each below 32768) repeated over each pixel's four channel
// lanes: pixels 0 and 1 in the first result, 2 and 3 in the second.
inline void SpreadToChannels(__m128i perPixel, __m128i& low, __m128i& high) {
  const __m128i words = _mm_packs_epi32(perPixel, perPixel);  // p0 p1 p2 p3 p0 p1 p2 p3
  const __m128i pairs = _mm_unpacklo_epi16(words, words);     // p0 p0 p1 p1 p2 p2 p3 p3
  low = _mm_unpacklo_epi32(pairs, pairs);
  high = _mm_unpackhi_epi32(pairs, pairs);
}

// LerpChannel on 16-bit lanes: (a · (256 − f) + b · f + 128) >> 8.
inline __m128i Lerp(__m128i a, __m128i b, __m128i f) {
  const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(256), f);
  const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(a, inverse), _mm_mullo_epi16(b, f));
  return _mm_srli_epi16(_mm_add_epi16(sum, _mm_set1_epi16(128)), 8);
}

// 0xAARRGGBB lanes to RGB 565 (truncating), one value per 32-bit lane.
inline __m128i PackRgb565(__m128i argb) {
  const __m128i r = _mm_and_si128(_mm_srli_epi32(argb, 8), Splat(0xF800));
  const __m128i g = _mm_and_si128(_mm_srli_epi32(argb, 5), Splat(0x07E0));
  const __m128i b = _mm_and_si128(_mm_srli_epi32(argb, 3), Splat(0x001F));
  return _mm_or_si128(_mm_or_si128(r, g), b);
}

// RGB 565 values (one per 32-bit lane) to opaque 0xAARRGGBB by bit replication.
inline __m128i UnpackRgb565(__m128i pixel) {
  const __m128i r5 = _mm_srli_epi32(pixel, 11);
  const __m128i g6 = _mm_and_si128(_mm_srli_epi32(pixel, 5), Splat(0x3F));
  const __m128i b5 = _mm_and_si128(pixel, Splat(0x1F));
  const __m128i r = _mm_or_si128(_mm_slli_epi32(r5, 3), _mm_srli_epi32(r5, 2));
  const __m128i g = _mm_or_si128(_mm_slli_epi32(g6, 2), _mm_srli_epi32(g6, 4));
  const __m128i b = _mm_or_si128(_mm_slli_epi32(b5, 3), _mm_srli_epi32(b5, 2));
  return PackArgb(Splat(255), r, g, b);
}

}  // namespace platform::raster::simd
