// The text blends, one pixel at a time and a register of pixels at a time in each width of
// lanes, against the general codec's mix for every pixel value under every coverage, in the
// game's orange (both extreme channel values) and an odd colour; and runs that are solid, wholly
// covered or bare block by block, and cut by clipping.
#include "platform/gdi/rgb565_blend.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/gdi/pixel_codec.h"
#include "platform/gdi/text_line_draw.h"
#include "platform/testing.h"

namespace {

using platform::PixelBuffer;
using platform::gdi::LineImage;
using platform::gdi::Rgb;
using platform::gdi::Rgb565Ink;
using platform::testing::Lanes;

class Rgb565Blend : public ::testing::TestWithParam<Lanes> {
 protected:
  void SetUp() override {
    platform::testing::UseLanes(GetParam());
    if (GetParam() == Lanes::Avx2 && !platform::testing::LanesAreAvx2()) {
      GTEST_SKIP() << "this processor lacks AVX2";
    }
    if (GetParam() == Lanes::Widest && !platform::testing::LanesAreAvx512()) {
      GTEST_SKIP() << "this processor lacks AVX-512: its widest lanes are tested as AVX2 or SSE2";
    }
  }
  void TearDown() override { platform::testing::UseLanes(Lanes::Widest); }
};

// One row of RGB 565 pixels, `width` wide.
PixelBuffer Row(std::vector<std::uint16_t>& pixels) {
  return {reinterpret_cast<std::uint8_t*>(pixels.data()), static_cast<int>(pixels.size()), 1,
          static_cast<int>(pixels.size() * 2), platform::kRgb565Layout};
}

// A line of one blended run of the coverage from (0, 0), and a solid run of `solid` pixels
// after it.
LineImage LineOf(const std::vector<std::uint8_t>& coverage, int solid = 0) {
  LineImage line;
  const int length = static_cast<int>(coverage.size());
  line.runs.push_back({0, 0, length, 0, false});
  if (solid > 0) line.runs.push_back({length, 0, solid, 0, true});
  line.coverage = coverage;
  line.right = length + solid;
  line.bottom = 1;
  return line;
}

TEST_P(Rgb565Blend, EveryPixelUnderEveryCoverageMixesAsTheCodecDoes) {
  const platform::gdi::PixelCodec codec(platform::kRgb565Layout, nullptr, 0);
  for (const Rgb colour : {Rgb{255, 180, 0}, Rgb{37, 201, 90}}) {
    const Rgb565Ink ink{colour, static_cast<std::uint16_t>(codec.Encode(colour))};
    // Pixel p under coverage c at index p * 256 + c: every lane of a register differs.
    std::vector<std::uint16_t> under(65536 * 256), expected(under.size());
    std::vector<std::uint8_t> coverage(under.size());
    for (std::size_t i = 0; i < under.size(); ++i) {
      under[i] = static_cast<std::uint16_t>(i >> 8);
      const int c = static_cast<int>(i & 255);
      coverage[i] = static_cast<std::uint8_t>(c);
      const Rgb old = codec.Decode(under[i]);
      using platform::gdi::Mix;
      expected[i] = static_cast<std::uint16_t>(
          c == 0 ? under[i]
                 : codec.Encode({Mix(colour.red, old.red, c), Mix(colour.green, old.green, c),
                                 Mix(colour.blue, old.blue, c)}));
    }
    std::vector<std::uint16_t> single = under, lanes = under;
    for (std::size_t i = 0; i < single.size(); ++i) {
      platform::gdi::BlendRgb565(single[i], coverage[i], ink);
    }
    platform::gdi::DrawLineRgb565(LineOf(coverage), Row(lanes), 0, 0, ink);
    EXPECT_EQ(single, expected) << "one at a time";
    EXPECT_EQ(lanes, expected) << "a register at a time";
  }
}

TEST_P(Rgb565Blend, RunsWhollyCoveredBareSolidOrClippedDrawAsOnePixelAtATime) {
  const Rgb565Ink ink{{255, 180, 0}, 0xFDA0};
  // Blocks of 16 fully covered, bare, with one lane covered, of every coverage, and fully
  // covered again: five blocks, so that 32 lanes leave one at the end.
  std::vector<std::uint8_t> coverage(80, 0);
  for (int i = 0; i < 16; ++i) {
    coverage[i] = 255;
    coverage[48 + i] = static_cast<std::uint8_t>(i * 17);
    coverage[64 + i] = 255;
  }
  coverage[40] = 90;
  const int solid = 40;
  const LineImage line = LineOf(coverage, solid);
  const int length = static_cast<int>(coverage.size()) + solid;
  for (const int x : {0, -3, 40}) {  // inside, cut on the left, cut on the right
    std::vector<std::uint16_t> drawn(116), expected(drawn.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) drawn[i] = static_cast<std::uint16_t>(i * 2749);
    expected = drawn;
    for (int i = 0; i < length; ++i) {
      const int column = x + i;
      if (column < 0 || column >= static_cast<int>(drawn.size())) continue;
      platform::gdi::BlendRgb565(expected[column], i < 80 ? coverage[i] : 255, ink);
    }
    platform::gdi::DrawLineRgb565(line, Row(drawn), x, 0, ink);
    EXPECT_EQ(drawn, expected) << "drawn at " << x;
  }
}

INSTANTIATE_TEST_SUITE_P(Lanes, Rgb565Blend,
                         ::testing::Values(Lanes::Sse2, Lanes::Avx2, Lanes::Widest),
                         [](const auto& info) {
                           return info.param == Lanes::Sse2   ? "Sse2"
                                  : info.param == Lanes::Avx2 ? "Avx2"
                                                              : "Avx512";
                         });

}  // namespace
