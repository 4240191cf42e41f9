// The RGB 565 blends, one, eight and sixteen pixels at a time, against the general codec's mix
// for every pixel value and every coverage, in the game's orange (both extreme channel values)
// and an odd colour.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/gdi/pixel_codec.h"
#include "platform/gdi/rgb565_blend.h"

namespace {

using platform::gdi::Rgb;
using platform::gdi::Rgb565Ink;

__attribute__((target("avx2"))) void BlendSixteen(std::uint16_t* pixels,
                                                  const std::uint8_t* coverage,
                                                  const Rgb565Ink& ink) {
  platform::gdi::BlendSixteenRgb565(pixels, coverage, ink);
}

// Blends every pixel value under every coverage (pixel p, coverage c at index p * 256 + c),
// `width` pixels a call, and expects what the codec's mix makes of each, in both colours.
template <class Blend>
void ExpectEveryPixelMixedAsTheCodecDoes(std::size_t width, Blend blend) {
  const platform::gdi::PixelCodec codec(platform::kRgb565Layout, nullptr, 0);
  for (const Rgb colour : {Rgb{255, 180, 0}, Rgb{37, 201, 90}}) {
    const Rgb565Ink ink{colour, static_cast<std::uint16_t>(codec.Encode(colour))};
    std::vector<std::uint16_t> expected(65536 * 256), drawn(expected.size());
    std::vector<std::uint8_t> coverage(expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const auto pixel = static_cast<std::uint16_t>(i >> 8);
      const int c = static_cast<int>(i & 255);
      coverage[i] = static_cast<std::uint8_t>(c);
      drawn[i] = pixel;
      const Rgb under = codec.Decode(pixel);
      using platform::gdi::Mix;
      expected[i] = static_cast<std::uint16_t>(
          c == 0 ? pixel
                 : codec.Encode({Mix(colour.red, under.red, c), Mix(colour.green, under.green, c),
                                 Mix(colour.blue, under.blue, c)}));
    }
    for (std::size_t i = 0; i < drawn.size(); i += width) blend(&drawn[i], &coverage[i], ink);
    EXPECT_EQ(drawn, expected) << width << " at a time";
  }
}

TEST(Rgb565BlendTest, OneAndEightAtATimeMixEveryPixelAsTheCodecDoes) {
  ExpectEveryPixelMixedAsTheCodecDoes(
      1, [](std::uint16_t* pixel, const std::uint8_t* coverage, const Rgb565Ink& ink) {
        platform::gdi::BlendRgb565(*pixel, *coverage, ink);
      });
  ExpectEveryPixelMixedAsTheCodecDoes(8, platform::gdi::BlendEightRgb565);
}

TEST(Rgb565BlendTest, SixteenAtATimeMixEveryPixelAsTheCodecDoes) {
  if (__builtin_cpu_supports("avx2") == 0) {
    GTEST_SKIP() << "this processor lacks AVX2, which the sixteen-pixel blend is written in";
  }
  ExpectEveryPixelMixedAsTheCodecDoes(16, BlendSixteen);
}

}  // namespace
