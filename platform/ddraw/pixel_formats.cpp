#include "platform/ddraw/pixel_formats.h"

#include <array>

namespace platform::ddraw {
namespace {

constexpr DDPIXELFORMAT Rgb(DWORD flags, DWORD bits, DWORD red, DWORD green, DWORD blue,
                            DWORD alpha) {
  return DDPIXELFORMAT{DDPIXELFORMAT_SIZE, flags, 0, bits, red, green, blue, alpha};
}

constexpr std::array<DDPIXELFORMAT, 7> kOffered = {
    Rgb(DDPF_PALETTEINDEXED8 | DDPF_RGB, 8, 0, 0, 0, 0),
    Rgb(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0),
    Rgb(DDPF_RGB, 16, 0x7C00, 0x03E0, 0x001F, 0),
    Rgb(DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x7C00, 0x03E0, 0x001F, 0x8000),
    Rgb(DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x0F00, 0x00F0, 0x000F, 0xF000),
    Rgb(DDPF_RGB, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0),
    Rgb(DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000u),
};

// Flags that say what kind of format it is; anything else in a request names a format we lack.
constexpr DWORD kKindFlags = DDPF_ALPHAPIXELS | DDPF_ALPHA | DDPF_FOURCC | DDPF_PALETTEINDEXED4 |
                             DDPF_PALETTEINDEXEDTO8 | DDPF_PALETTEINDEXED8 | DDPF_RGB |
                             DDPF_COMPRESSED | DDPF_YUV | DDPF_ZBUFFER | DDPF_PALETTEINDEXED1 |
                             DDPF_PALETTEINDEXED2;

bool SameRgbFormat(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b) {
  const bool alpha = (a.dwFlags & DDPF_ALPHAPIXELS) != 0;
  return (a.dwFlags & kKindFlags) == (b.dwFlags & kKindFlags) &&
         a.dwRGBBitCount == b.dwRGBBitCount && a.dwRBitMask == b.dwRBitMask &&
         a.dwGBitMask == b.dwGBitMask && a.dwBBitMask == b.dwBBitMask &&
         (!alpha || a.dwRGBAlphaBitMask == b.dwRGBAlphaBitMask);
}

}  // namespace

std::span<const DDPIXELFORMAT> TextureFormats() {
  return kOffered;
}

const DDPIXELFORMAT& DisplayPixelFormat() {
  return kOffered[1];
}

const DDPIXELFORMAT* FindOfferedFormat(const DDPIXELFORMAT& request) {
  if (request.dwSize != DDPIXELFORMAT_SIZE) return nullptr;
  // An 8-bit indexed request may leave out DDPF_RGB; masks mean nothing for it.
  const DWORD kind = request.dwFlags & kKindFlags;
  if ((kind & ~DDPF_RGB) == DDPF_PALETTEINDEXED8) {
    return request.dwRGBBitCount == 8 ? &kOffered[0] : nullptr;
  }
  for (const DDPIXELFORMAT& offered : kOffered) {
    if (!(offered.dwFlags & DDPF_PALETTEINDEXED8) && SameRgbFormat(request, offered)) {
      return &offered;
    }
  }
  return nullptr;
}

PixelLayout LayoutOf(const DDPIXELFORMAT& offered) {
  PixelLayout layout;
  layout.bitCount = offered.dwRGBBitCount;
  layout.paletteIndexed = (offered.dwFlags & DDPF_PALETTEINDEXED8) != 0;
  layout.redMask = offered.dwRBitMask;
  layout.greenMask = offered.dwGBitMask;
  layout.blueMask = offered.dwBBitMask;
  layout.alphaMask = (offered.dwFlags & DDPF_ALPHAPIXELS) ? offered.dwRGBAlphaBitMask : 0;
  return layout;
}

}  // namespace platform::ddraw
