// The sampling stage: texel fetches, the colour-key test and the bilinear filter, specialised on
// the texture format, the filter, keying and power-of-two wrapping.
#include <array>
#include <cstddef>
#include <utility>

#include "platform/raster/simd.h"
#include "platform/raster/stages.h"

namespace platform::raster {
namespace {

enum class FilterMode { Point, Bilinear, PerPixel };

constexpr int kFormatCount = 7;
constexpr int kFilterModeCount = 3;

// The bilinear filter over the chunk's taps, four pixels at a time.
void FilterTaps(Chunk& chunk) {
  for (int i = 0; i < chunk.count; i += 4) {
    __m128i fxLow, fxHigh, fyLow, fyHigh;
    simd::SpreadToChannels(simd::Load(chunk.fx + i), fxLow, fxHigh);
    simd::SpreadToChannels(simd::Load(chunk.fy + i), fyLow, fyHigh);
    const __m128i c00 = simd::Load(chunk.taps[0] + i), c10 = simd::Load(chunk.taps[1] + i);
    const __m128i c01 = simd::Load(chunk.taps[2] + i), c11 = simd::Load(chunk.taps[3] + i);
    auto filter = [](__m128i a, __m128i b, __m128i c, __m128i d, __m128i fx, __m128i fy) {
      return simd::Lerp(simd::Lerp(a, b, fx), simd::Lerp(c, d, fx), fy);
    };
    const __m128i low = filter(simd::WidenLow(c00), simd::WidenLow(c10), simd::WidenLow(c01),
                               simd::WidenLow(c11), fxLow, fyLow);
    const __m128i high = filter(simd::WidenHigh(c00), simd::WidenHigh(c10), simd::WidenHigh(c01),
                                simd::WidenHigh(c11), fxHigh, fyHigh);
    simd::Store(chunk.texel + i, simd::Narrow(low, high));
  }
}

template <TextureFormat kFormat, FilterMode kFilter, bool kKey, bool kPowerOfTwoWrap>
void Sample(const StageInputs& inputs, Chunk& chunk) {
  const PixelState& state = *inputs.state;
  const TextureView& texture = state.texture;
  constexpr int kBytes = TexelBytes(kFormat);
  auto address = [&state](int index, int size) {
    if constexpr (kPowerOfTwoWrap) {
      return index & (size - 1);
    } else {
      return AddressTexel(index, size, state.address);
    }
  };
  auto fetch = [&](int x, int y) {
    return DecodeTexel<kFormat>(ReadRawTexel<kBytes>(texture, x, y), texture.palette);
  };

  for (int i = 0; i < chunk.count; ++i) {
    const int s = chunk.s[i], t = chunk.t[i];
    bool bilinear = kFilter == FilterMode::Bilinear;
    if constexpr (kFilter == FilterMode::PerPixel) {
      const TextureFilter filter = chunk.minified[i] != 0 ? state.minFilter : state.magFilter;
      bilinear = filter == TextureFilter::Bilinear;
    }
    std::uint32_t nearest = 0;
    if (kKey || !bilinear) {
      nearest = ReadRawTexel<kBytes>(texture, address(s >> 8, texture.width),
                                     address(t >> 8, texture.height));
      if (kKey && (nearest & state.keyMask) == state.key) {
        chunk.keep[i] = 0;
        continue;
      }
    }
    if (!bilinear) {
      const std::uint32_t texel = DecodeTexel<kFormat>(nearest, texture.palette);
      chunk.texel[i] = texel;
      if constexpr (kFilter == FilterMode::PerPixel) {
        // Four equal taps with zero fractions filter to the texel itself.
        for (auto& tap : chunk.taps) tap[i] = texel;
        chunk.fx[i] = chunk.fy[i] = 0;
      }
      continue;
    }
    const int bs = s - 128, bt = t - 128;
    const int x0 = address(bs >> 8, texture.width), x1 = address((bs >> 8) + 1, texture.width);
    const int y0 = address(bt >> 8, texture.height), y1 = address((bt >> 8) + 1, texture.height);
    chunk.taps[0][i] = fetch(x0, y0);
    chunk.taps[1][i] = fetch(x1, y0);
    chunk.taps[2][i] = fetch(x0, y1);
    chunk.taps[3][i] = fetch(x1, y1);
    chunk.fx[i] = bs & 0xFF;
    chunk.fy[i] = bt & 0xFF;
  }
  if constexpr (kFilter != FilterMode::Point) FilterTaps(chunk);
}

template <std::size_t kKey>
void SampleKeyed(const StageInputs& inputs, Chunk& chunk) {
  constexpr auto kFormat = static_cast<TextureFormat>(kKey / (kFilterModeCount * 4));
  constexpr auto kFilter = static_cast<FilterMode>(kKey / 4 % kFilterModeCount);
  Sample<kFormat, kFilter, (kKey & 2) != 0, (kKey & 1) != 0>(inputs, chunk);
}

template <std::size_t... kKeys>
constexpr std::array<Stage, sizeof...(kKeys)> SampleTable(std::index_sequence<kKeys...>) {
  return {&SampleKeyed<kKeys>...};
}

bool IsPowerOfTwo(int value) {
  return (value & (value - 1)) == 0;
}

}  // namespace

Stage SelectSample(const PixelState& state) {
  static constexpr auto kTable =
      SampleTable(std::make_index_sequence<kFormatCount * kFilterModeCount * 4>{});
  if (!state.textured) return nullptr;
  FilterMode filter = FilterMode::PerPixel;
  if (state.minFilter == state.magFilter) {
    filter = state.magFilter == TextureFilter::Point ? FilterMode::Point : FilterMode::Bilinear;
  }
  const bool powerOfTwoWrap = state.address == TextureAddress::Wrap &&
                              IsPowerOfTwo(state.texture.width) &&
                              IsPowerOfTwo(state.texture.height);
  const std::size_t key = (static_cast<std::size_t>(state.texture.format) * kFilterModeCount +
                           static_cast<std::size_t>(filter)) *
                              4 +
                          (state.keyTest ? 2u : 0u) + (powerOfTwoWrap ? 1u : 0u);
  return kTable[key];
}

}  // namespace platform::raster
