// A kept line's runs drawn a register of pixels at a time, written once over a lanes type
// (platform/pixel/lanes_sse2.h, lanes_avx2.h, lanes_avx512.h): L::kWords RGB 565 pixels, one per
// 16-bit lane, blended exactly as BlendRgb565 blends one. Include it with the lanes type, only in
// the files that compile it for one instruction set; internal linkage, like the lanes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "platform/gdi/rgb565_blend.h"
#include "platform/gdi/text_runs.h"

namespace platform::gdi {
namespace {

// Mix on 16-bit lanes with multiply-high identities, each exact for every input (checked over
// all of them by the tests):
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

template <class L>
typename L::I MixLanes(std::uint8_t over, typename L::I under, typename L::I cover,
                       typename L::I uncover) {
  const typename L::I sum = L::Add16(
      L::Add16(L::Mul16(L::Splat16(over), cover), L::Mul16(under, uncover)), L::Splat16(127));
  return L::MulHigh16(sum, L::Splat16(kDivide255));
}

// The ink over the L::kWords pixels at `pixels` by the coverage bytes at `coverage`.
template <class L>
void BlendLanes(std::uint16_t* pixels, const std::uint8_t* coverage, const Rgb565Ink& ink) {
  using I = typename L::I;
  const I under = L::LoadWords(pixels);
  const I cover = L::LoadBytesAsWords(coverage);
  const I uncover = L::Sub16(L::Splat16(255), cover);
  const I five = L::Splat16(kWidenFive);
  const I underRed = L::MulHigh16(L::And(under, L::Splat16(kRedBits)), five);
  const I underGreen = L::MulHigh16(L::And(under, L::Splat16(kGreenBits)), L::Splat16(kWidenSix));
  const I underBlue = L::MulHigh16(L::template ShiftLeft16<11>(under), five);
  const I red = MixLanes<L>(ink.colour.red, underRed, cover, uncover);
  const I green = MixLanes<L>(ink.colour.green, underGreen, cover, uncover);
  const I blue = MixLanes<L>(ink.colour.blue, underBlue, cover, uncover);
  L::StoreWords(pixels,
                L::Or(L::Or(L::And(L::Add16(red, red), L::Splat16(kRedBits)),
                            L::And(L::template ShiftRight16<4>(green), L::Splat16(kGreenBits))),
                      L::template ShiftRight16<10>(blue)));
}

// The ink over `length` pixels by their coverage, a register at a time where the coverage is
// neither all 0 (left alone) nor all 255 (the solid pixel, `solid` in every lane), and one at a
// time for what is left. Lanes wider than a line's block (kLineBlock) leave up to a block less
// than a register at a run's end: the narrower lanes N take it. The ink comes by value: a copy no
// pixel store can alias, so its lanes are made once per span rather than once per block.
template <class L, class N>
[[gnu::always_inline]] inline void BlendSpan(std::uint16_t* pixels, const std::uint8_t* coverage,
                                             long long length, const Rgb565Ink ink,
                                             typename L::I solid, typename N::I narrowSolid) {
  long long column = 0;
  auto blocks = [&]<class Lanes>(typename Lanes::I solidLanes) {
    for (; column + Lanes::kWords <= length; column += Lanes::kWords) {
      if (Lanes::BytesAllOnes(coverage + column)) {
        Lanes::StoreWords(pixels + column, solidLanes);
      } else if (!Lanes::BytesAllZero(coverage + column)) {
        BlendLanes<Lanes>(pixels + column, coverage + column, ink);
      }
    }
  };
  blocks.template operator()<L>(solid);
  if constexpr (!std::is_same_v<L, N>) blocks.template operator()<N>(narrowSolid);
  for (; column < length; ++column) BlendRgb565(pixels[column], coverage[column], ink);
}

// Blended runs come in whole blocks of kLineBlock, a multiple of the narrower lanes' pixels, so
// only a run that clipping cut leaves pixels to blend one at a time.
template <class L, class N>
void DrawRuns(const LineImage& line, const PixelBuffer& pixels, long long x, long long y,
              const Rgb565Ink ink) {
  static_assert(kLineBlock % N::kWords == 0 && L::kWords % N::kWords == 0);
  const bool inside = LineInside(line, pixels, x, y);
  const typename L::I solid = L::Splat16(static_cast<short>(ink.solid));
  const typename N::I narrowSolid = N::Splat16(static_cast<short>(ink.solid));
  RunSpan span;
  for (const LineImage::Run& run : line.runs) {
    if (!ClipRun(line, run, pixels, x, y, inside, span)) continue;
    if (!run.solid) {
      BlendSpan<L, N>(span.pixels, span.coverage, span.length, ink, solid, narrowSolid);
      continue;
    }
    long long column = 0;
    for (; column + L::kWords <= span.length; column += L::kWords) {
      L::StoreWords(span.pixels + column, solid);
    }
    std::fill(span.pixels + column, span.pixels + span.length, ink.solid);
  }
}

template <class L, class N>
void BlendInk(std::uint16_t* pixels, const std::uint8_t* coverage, long long length,
              const Rgb565Ink ink) {
  BlendSpan<L, N>(pixels, coverage, length, ink, L::Splat16(static_cast<short>(ink.solid)),
                  N::Splat16(static_cast<short>(ink.solid)));
}

// The drawers of lanes L, with the narrower lanes N (L itself where its registers fit a block)
// for the ends of blended runs.
template <class L, class N = L>
TextDrawers DrawersWith() {
  return {&DrawRuns<L, N>, &BlendInk<L, N>};
}

}  // namespace
}  // namespace platform::gdi
