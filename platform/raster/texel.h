// Reading texels: the byte size, key bits, decoding to 8-bit ARGB and the address modes of each
// texture format. Shared by both paths; the optimised path picks the format at compile time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/pixel/rgb565.h"
#include "platform/raster/raster.h"

namespace platform::raster {

inline constexpr int kMaxTextureSize = 4096;

constexpr bool FormatHasAlpha(TextureFormat format) {
  return format == TextureFormat::Argb1555 || format == TextureFormat::Argb4444 ||
         format == TextureFormat::Argb8888;
}

// The bits of a raw texel that carry meaning; the colour-key test compares only these.
constexpr std::uint32_t TexelKeyMask(TextureFormat format) {
  switch (format) {
    case TextureFormat::Palette8:
      return 0xFFu;
    case TextureFormat::Rgb555:
      return 0x7FFFu;
    case TextureFormat::Xrgb8888:
      return 0x00FFFFFFu;
    case TextureFormat::Argb8888:
      return 0xFFFFFFFFu;
    default:
      return 0xFFFFu;
  }
}

// Channels widen to 8 bits by bit replication, so full scale stays full scale.
using pixel::Widen4;
using pixel::Widen5;
using pixel::Widen6;

constexpr std::uint32_t PackArgb(std::uint32_t a, std::uint32_t r, std::uint32_t g,
                                 std::uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// A raw texel as 0xAARRGGBB; formats without alpha come out opaque.
template <TextureFormat kFormat>
std::uint32_t DecodeTexel(std::uint32_t raw, const std::uint32_t* palette) {
  if constexpr (kFormat == TextureFormat::Palette8) {
    return palette[raw & 0xFFu] | 0xFF000000u;
  } else if constexpr (kFormat == TextureFormat::Rgb565) {
    return PackArgb(0xFF, Widen5(raw >> 11), Widen6((raw >> 5) & 0x3F), Widen5(raw & 0x1F));
  } else if constexpr (kFormat == TextureFormat::Rgb555) {
    return PackArgb(0xFF, Widen5((raw >> 10) & 0x1F), Widen5((raw >> 5) & 0x1F),
                    Widen5(raw & 0x1F));
  } else if constexpr (kFormat == TextureFormat::Argb1555) {
    return PackArgb((raw & 0x8000u) != 0 ? 0xFF : 0, Widen5((raw >> 10) & 0x1F),
                    Widen5((raw >> 5) & 0x1F), Widen5(raw & 0x1F));
  } else if constexpr (kFormat == TextureFormat::Argb4444) {
    return PackArgb(Widen4((raw >> 12) & 0xF), Widen4((raw >> 8) & 0xF), Widen4((raw >> 4) & 0xF),
                    Widen4(raw & 0xF));
  } else if constexpr (kFormat == TextureFormat::Xrgb8888) {
    return raw | 0xFF000000u;
  } else {
    return raw;
  }
}

// The same, with the format chosen at run time.
inline std::uint32_t DecodeTexel(TextureFormat format, std::uint32_t raw,
                                 const std::uint32_t* palette) {
  switch (format) {
    case TextureFormat::Palette8:
      return DecodeTexel<TextureFormat::Palette8>(raw, palette);
    case TextureFormat::Rgb565:
      return DecodeTexel<TextureFormat::Rgb565>(raw, palette);
    case TextureFormat::Rgb555:
      return DecodeTexel<TextureFormat::Rgb555>(raw, palette);
    case TextureFormat::Argb1555:
      return DecodeTexel<TextureFormat::Argb1555>(raw, palette);
    case TextureFormat::Argb4444:
      return DecodeTexel<TextureFormat::Argb4444>(raw, palette);
    case TextureFormat::Xrgb8888:
      return DecodeTexel<TextureFormat::Xrgb8888>(raw, palette);
    case TextureFormat::Argb8888:
      return DecodeTexel<TextureFormat::Argb8888>(raw, palette);
  }
  return 0;
}

// The raw texel at column x, row y, which must lie inside the texture.
template <int kBytes>
std::uint32_t ReadRawTexel(const TextureView& texture, int x, int y) {
  const std::uint8_t* at = texture.texels + static_cast<std::ptrdiff_t>(y) * texture.pitch +
                           static_cast<std::ptrdiff_t>(x) * kBytes;
  if constexpr (kBytes == 1) {
    return *at;
  } else if constexpr (kBytes == 2) {
    std::uint16_t raw;
    std::memcpy(&raw, at, sizeof raw);
    return raw;
  } else {
    std::uint32_t raw;
    std::memcpy(&raw, at, sizeof raw);
    return raw;
  }
}

inline std::uint32_t ReadRawTexel(const TextureView& texture, int x, int y) {
  switch (TexelBytes(texture.format)) {
    case 1:
      return ReadRawTexel<1>(texture, x, y);
    case 2:
      return ReadRawTexel<2>(texture, x, y);
    default:
      return ReadRawTexel<4>(texture, x, y);
  }
}

// Brings a texel index of any value into 0…size − 1 by the address mode.
inline int AddressTexel(int index, int size, TextureAddress mode) {
  switch (mode) {
    case TextureAddress::Wrap: {
      const int wrapped = index % size;
      return wrapped < 0 ? wrapped + size : wrapped;
    }
    case TextureAddress::Mirror: {
      int wrapped = index % (2 * size);
      if (wrapped < 0) wrapped += 2 * size;
      return wrapped < size ? wrapped : 2 * size - 1 - wrapped;
    }
    case TextureAddress::Clamp:
      return index < 0 ? 0 : (index >= size ? size - 1 : index);
  }
  return 0;
}

}  // namespace platform::raster
