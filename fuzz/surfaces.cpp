#include "fuzz/surfaces.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kWidth = 61;
constexpr int kHeight = 37;
const HWND kWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1000));

[[noreturn]] void Abandon(const char* what) {
  std::fprintf(stderr, "fuzz set-up failed: %s\n", what);
  std::abort();
}

DDPIXELFORMAT Format(DWORD flags, DWORD bits, DWORD red, DWORD green, DWORD blue, DWORD alpha) {
  return DDPIXELFORMAT{DDPIXELFORMAT_SIZE, flags, 0, bits, red, green, blue, alpha};
}

IDirectDraw* DirectDraw() {
  static IDirectDraw* directDraw = [] {
    IDirectDraw* made = nullptr;
    if (DirectDrawCreate(nullptr, &made, nullptr) != DD_OK) Abandon("DirectDrawCreate");
    if (made->SetCooperativeLevel(kWindow, DDSCL_NORMAL) != DD_OK) {
      Abandon("SetCooperativeLevel");
    }
    return made;
  }();
  return directDraw;
}

IDirectDrawSurface* MakeSurface(int width, int height, const DDPIXELFORMAT& format) {
  DDSURFACEDESC description;
  std::memset(&description, 0, sizeof description);
  description.dwSize = DDSURFACEDESC_SIZE;
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  description.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
  description.dwWidth = width;
  description.dwHeight = height;
  description.ddpfPixelFormat = format;
  IDirectDrawSurface* surface = nullptr;
  if (DirectDraw()->CreateSurface(&description, &surface, nullptr) != DD_OK) {
    Abandon("CreateSurface");
  }
  return surface;
}

// A palette of greys and colours, so matching a colour to an entry has real choices.
void AttachPalette(IDirectDrawSurface* surface) {
  PALETTEENTRY entries[256];
  for (int i = 0; i < 256; ++i) {
    entries[i] = PALETTEENTRY{static_cast<BYTE>(i), static_cast<BYTE>((i * 7) & 0xFF),
                              static_cast<BYTE>(255 - i), 0};
  }
  IDirectDrawPalette* palette = nullptr;
  if (DirectDraw()->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr) != DD_OK) {
    Abandon("CreatePalette");
  }
  if (surface->SetPalette(palette) != DD_OK) Abandon("SetPalette");
  palette->Release();  // the surface holds it
}

}  // namespace

const std::vector<FuzzSurface>& TextureFormatSurfaces() {
  static const std::vector<FuzzSurface> surfaces = [] {
    std::vector<FuzzSurface> made = {
        {"8-bit palette",
         MakeSurface(kWidth, kHeight, Format(DDPF_PALETTEINDEXED8 | DDPF_RGB, 8, 0, 0, 0, 0))},
        {"RGB 565", MakeSurface(kWidth, kHeight, Format(DDPF_RGB, 16, 0xF800, 0x07E0, 0x1F, 0))},
        {"RGB 555", MakeSurface(kWidth, kHeight, Format(DDPF_RGB, 16, 0x7C00, 0x03E0, 0x1F, 0))},
        {"ARGB 1555",
         MakeSurface(kWidth, kHeight,
                     Format(DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x7C00, 0x03E0, 0x1F, 0x8000))},
        {"ARGB 4444",
         MakeSurface(kWidth, kHeight,
                     Format(DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x0F00, 0x00F0, 0x0F, 0xF000))},
        {"XRGB 8888",
         MakeSurface(kWidth, kHeight, Format(DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF, 0))},
        {"ARGB 8888",
         MakeSurface(kWidth, kHeight,
                     Format(DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u))},
    };
    AttachPalette(made.front().surface);
    return made;
  }();
  return surfaces;
}

IDirectDrawSurface* ScreenSurface() {
  static IDirectDrawSurface* surface =
      MakeSurface(640, 480, Format(DDPF_RGB, 16, 0xF800, 0x07E0, 0x1F, 0));
  return surface;
}
