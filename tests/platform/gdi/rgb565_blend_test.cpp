// The RGB 565 blends, one, eight and sixteen pixels at a time, against the general codec's mix
// for every pixel value and every coverage, in the game's orange (both extreme channel values)
// and an odd colour.
#include <gtest/gtest.h>

#include <array>
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

TEST(Rgb565BlendTest, EveryWidthMixesEveryPixelAsTheCodecDoes) {
  const platform::gdi::PixelCodec codec(platform::kRgb565Layout, nullptr, 0);
  const bool avx2 = __builtin_cpu_supports("avx2") != 0;
  for (const Rgb colour : {Rgb{255, 180, 0}, Rgb{37, 201, 90}}) {
    const Rgb565Ink ink{colour, static_cast<std::uint16_t>(codec.Encode(colour))};
    // Every pixel value under every coverage: pixel p, coverage c at index p * 256 + c.
    std::vector<std::uint16_t> expected(65536 * 256);
    std::vector<std::uint8_t> coverage(expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const auto pixel = static_cast<std::uint16_t>(i >> 8);
      const int c = static_cast<int>(i & 255);
      coverage[i] = static_cast<std::uint8_t>(c);
      const Rgb under = codec.Decode(pixel);
      using platform::gdi::Mix;
      expected[i] = static_cast<std::uint16_t>(
          c == 0 ? pixel
                 : codec.Encode({Mix(colour.red, under.red, c), Mix(colour.green, under.green, c),
                                 Mix(colour.blue, under.blue, c)}));
    }
    std::vector<std::uint16_t> under(expected.size());
    for (std::size_t i = 0; i < under.size(); ++i) under[i] = static_cast<std::uint16_t>(i >> 8);
    std::array<std::vector<std::uint16_t>, 3> drawn{under, under, under};
    for (std::size_t i = 0; i < expected.size(); ++i) {
      platform::gdi::BlendRgb565(drawn[0][i], coverage[i], ink);
    }
    for (std::size_t i = 0; i < expected.size(); i += 8) {
      platform::gdi::BlendEightRgb565(&drawn[1][i], &coverage[i], ink);
    }
    if (avx2) {
      for (std::size_t i = 0; i < expected.size(); i += 16) {
        BlendSixteen(&drawn[2][i], &coverage[i], ink);
      }
    }
    EXPECT_EQ(drawn[0], expected) << "one at a time";
    EXPECT_EQ(drawn[1], expected) << "eight at a time";
    if (avx2) {
      EXPECT_EQ(drawn[2], expected) << "sixteen at a time";
    }
  }
}

}  // namespace
