// A colour blended over RGB 565 pixels by coverage, exactly as through the general codec:
// channels widened by bit replication, mixed as (over·c + under·(255 − c) + 127) / 255 and
// narrowed by truncation. One pixel, eight (SSE2) or sixteen (AVX2) at a time; every width draws
// the same pixels.
#pragma once

#include <emmintrin.h>
#include <immintrin.h>

#include <cstdint>

#include "platform/gdi/pixel_codec.h"
#include "platform/pixel/rgb565.h"

namespace platform::gdi {

// The text colour, and its own pixel, which full coverage writes.
struct Rgb565Ink {
  Rgb colour;
  std::uint16_t solid;
};

inline std::uint8_t Mix(std::uint8_t over, std::uint8_t under, int coverage) {
  return static_cast<std::uint8_t>((over * coverage + under * (255 - coverage) + 127) / 255);
}

inline void BlendRgb565(std::uint16_t& target, int coverage, const Rgb565Ink& ink) {
  if (coverage == 0) return;
  if (coverage == 255) {
    target = ink.solid;
    return;
  }
  const pixel::Rgb888 under = pixel::ExpandRgb565(target);
  target = pixel::PackRgb565(Mix(ink.colour.red, under.red, coverage),
                             Mix(ink.colour.green, under.green, coverage),
                             Mix(ink.colour.blue, under.blue, coverage));
}

// The lanes below do Mix on 16-bit lanes with multiply-high identities, each exact for every
// input (checked over all of them by the tests):
// - widening: a 5-bit channel c at the top of a lane, times 264, high half: c << 3 | c >> 2;
//   a 6-bit one at bits 5 to 10, times 8320: c << 2 | c >> 4;
// - x / 255 for any 16-bit x is (x · 0x8081) >> 23: the high half holds the mix times 128 plus
//   less than 128, which the narrowing shifts drop along with the channel's low bits.
// Coverage 0 gives the pixel back and 255 the solid colour, as BlendRgb565 does.
constexpr short kWidenFive = 264;
constexpr short kWidenSix = 8320;
constexpr short kDivide255 = static_cast<short>(0x8081);
constexpr short kRedBits = static_cast<short>(0xF800);
constexpr short kGreenBits = 0x07E0;

inline __m128i MixEight(std::uint8_t over, __m128i under, __m128i cover, __m128i uncover) {
  const __m128i sum = _mm_add_epi16(
      _mm_add_epi16(_mm_mullo_epi16(_mm_set1_epi16(over), cover), _mm_mullo_epi16(under, uncover)),
      _mm_set1_epi16(127));
  return _mm_mulhi_epu16(sum, _mm_set1_epi16(kDivide255));
}

inline void BlendEightRgb565(std::uint16_t* pixels, const std::uint8_t* coverage,
                             const Rgb565Ink& ink) {
  const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
  const __m128i cover = _mm_unpacklo_epi8(
      _mm_loadl_epi64(reinterpret_cast<const __m128i*>(coverage)), _mm_setzero_si128());
  const __m128i uncover = _mm_sub_epi16(_mm_set1_epi16(255), cover);
  const __m128i five = _mm_set1_epi16(kWidenFive);
  const __m128i red = MixEight(
      ink.colour.red, _mm_mulhi_epu16(_mm_and_si128(under, _mm_set1_epi16(kRedBits)), five), cover,
      uncover);
  const __m128i green = MixEight(
      ink.colour.green,
      _mm_mulhi_epu16(_mm_and_si128(under, _mm_set1_epi16(kGreenBits)), _mm_set1_epi16(kWidenSix)),
      cover, uncover);
  const __m128i blue =
      MixEight(ink.colour.blue, _mm_mulhi_epu16(_mm_slli_epi16(under, 11), five), cover, uncover);
  const __m128i packed = _mm_or_si128(
      _mm_or_si128(_mm_and_si128(_mm_add_epi16(red, red), _mm_set1_epi16(kRedBits)),
                   _mm_and_si128(_mm_srli_epi16(green, 4), _mm_set1_epi16(kGreenBits))),
      _mm_srli_epi16(blue, 10));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), packed);
}

// For AVX2 callers only, which run after the processor has been asked: inlined, so 256-bit
// values never cross a call.

__attribute__((target("avx2"), always_inline)) inline __m256i MixSixteen(std::uint8_t over,
                                                                         __m256i under,
                                                                         __m256i cover,
                                                                         __m256i uncover) {
  const __m256i sum =
      _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_set1_epi16(over), cover),
                                        _mm256_mullo_epi16(under, uncover)),
                       _mm256_set1_epi16(127));
  return _mm256_mulhi_epu16(sum, _mm256_set1_epi16(kDivide255));
}

__attribute__((target("avx2"), always_inline)) inline void BlendSixteenRgb565(
    std::uint16_t* pixels, const std::uint8_t* coverage, const Rgb565Ink& ink) {
  const __m256i under = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels));
  const __m256i cover =
      _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(coverage)));
  const __m256i uncover = _mm256_sub_epi16(_mm256_set1_epi16(255), cover);
  const __m256i five = _mm256_set1_epi16(kWidenFive);
  const __m256i red =
      MixSixteen(ink.colour.red,
                 _mm256_mulhi_epu16(_mm256_and_si256(under, _mm256_set1_epi16(kRedBits)), five),
                 cover, uncover);
  const __m256i green =
      MixSixteen(ink.colour.green,
                 _mm256_mulhi_epu16(_mm256_and_si256(under, _mm256_set1_epi16(kGreenBits)),
                                    _mm256_set1_epi16(kWidenSix)),
                 cover, uncover);
  const __m256i blue = MixSixteen(
      ink.colour.blue, _mm256_mulhi_epu16(_mm256_slli_epi16(under, 11), five), cover, uncover);
  const __m256i packed = _mm256_or_si256(
      _mm256_or_si256(_mm256_and_si256(_mm256_add_epi16(red, red), _mm256_set1_epi16(kRedBits)),
                      _mm256_and_si256(_mm256_srli_epi16(green, 4), _mm256_set1_epi16(kGreenBits))),
      _mm256_srli_epi16(blue, 10));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels), packed);
}

}  // namespace platform::gdi
