// Texture surfaces: the offered formats, mip-map chains, palettes, interfaces and the door through
// which the other platform modules see surface memory.
#include "platform/ddraw/pixel_formats.h"
#include "platform/ddraw/surface_access.h"
#include "platform/testing.h"
#include "tests/platform/ddraw/ddraw_fixture.h"
#include "tests/support/doubles/forwarding_texture.h"

namespace {

using platform::ddraw::GetSurfacePixels;
using platform::testing::LiveObjects;
using platform::testing::ObjectKind;

TEST_F(DirectDrawTest, EveryOfferedFormatMakesTexturesInEitherMemory) {
  for (const DDPIXELFORMAT& format : platform::ddraw::TextureFormats()) {
    for (DWORD memory : {DDSCAPS_SYSTEMMEMORY, DDSCAPS_VIDEOMEMORY | DDSCAPS_ALLOCONLOAD}) {
      IDirectDrawSurface* surface = CreateTexture(5, 3, format, DDSCAPS_TEXTURE | memory);
      ASSERT_NE(surface, nullptr) << format.dwRGBBitCount;
      DDPIXELFORMAT read{};
      read.dwSize = DDPIXELFORMAT_SIZE;
      ASSERT_EQ(surface->GetPixelFormat(&read), DD_OK);
      EXPECT_EQ(std::memcmp(&read, &format, sizeof read), 0);
      DDSURFACEDESC description = Description(0, 0);
      ASSERT_EQ(surface->GetSurfaceDesc(&description), DD_OK);
      EXPECT_NE(description.ddsCaps.dwCaps & (memory & ~DDSCAPS_ALLOCONLOAD), 0u);
      platform::PixelBuffer pixels;
      ASSERT_TRUE(GetSurfacePixels(surface, &pixels));
      EXPECT_EQ(pixels.layout.bitCount, format.dwRGBBitCount);
      EXPECT_EQ(pixels.layout.alphaMask, format.dwRGBAlphaBitMask);
      EXPECT_EQ(pixels.pitch, description.lPitch);
      surface->Release();
    }
  }
}

TEST_F(DirectDrawTest, FormatsTheDevicesLackAreRejected) {
  const DDPIXELFORMAT lacking[] = {
      DDPIXELFORMAT{},  // the format search found nothing
      RgbFormat(DDPF_RGB, 24, 0xFF0000, 0xFF00, 0xFF, 0),
      RgbFormat(DDPF_RGB, 16, 0x001F, 0x07E0, 0xF800, 0),  // BGR
      RgbFormat(DDPF_PALETTEINDEXED4 | DDPF_RGB, 4, 0, 0, 0, 0),
      RgbFormat(DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0xF800, 0x07E0, 0x001F, 0x0001),
  };
  for (const DDPIXELFORMAT& format : lacking) {
    DDSURFACEDESC description = TextureDescription(4, 4, format, DDSCAPS_TEXTURE);
    IDirectDrawSurface* surface = reinterpret_cast<IDirectDrawSurface*>(0x1);
    EXPECT_EQ(directDraw->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPIXELFORMAT);
    EXPECT_EQ(surface, nullptr);
  }
  DDSURFACEDESC huge = TextureDescription(5000, 4, kRgb565, DDSCAPS_TEXTURE);
  IDirectDrawSurface* surface = nullptr;
  EXPECT_EQ(directDraw->CreateSurface(&huge, &surface, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(LiveObjects(ObjectKind::Surface), 0);
}

TEST_F(DirectDrawTest, MipMapChainHalvesDownItsLevels) {
  DDSURFACEDESC description = TextureDescription(
      8, 4, kRgb565, DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX);
  description.dwFlags |= DDSD_MIPMAPCOUNT;
  description.dwMipMapCount = 3;
  IDirectDrawSurface* top = nullptr;
  ASSERT_EQ(directDraw->CreateSurface(&description, &top, nullptr), DD_OK);
  EXPECT_EQ(LiveObjects(ObjectKind::Surface), 3);
  DDSCAPS caps{DDSCAPS_TEXTURE | DDSCAPS_MIPMAP};
  IDirectDrawSurface* level = top;
  const DWORD widths[] = {8, 4, 2};
  const DWORD heights[] = {4, 2, 1};
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      IDirectDrawSurface* next = nullptr;
      ASSERT_EQ(level->GetAttachedSurface(&caps, &next), DD_OK);
      level = next;
    }
    DDSURFACEDESC read = Description(0, 0);
    ASSERT_EQ(level->GetSurfaceDesc(&read), DD_OK);
    EXPECT_EQ(read.dwWidth, widths[i]);
    EXPECT_EQ(read.dwHeight, heights[i]);
    EXPECT_EQ(read.dwMipMapCount, static_cast<DWORD>(3 - i));
  }
  IDirectDrawSurface* beyond = nullptr;
  EXPECT_EQ(level->GetAttachedSurface(&caps, &beyond), DDERR_NOTFOUND);
  // The lower levels go with the top, though the references handed out were never given back.
  EXPECT_EQ(top->Release(), 0u);
  EXPECT_EQ(LiveObjects(ObjectKind::Surface), 0);

  description.dwMipMapCount = 5;  // 8×4 has only 4 levels down to 1×1
  EXPECT_EQ(directDraw->CreateSurface(&description, &top, nullptr), DDERR_INVALIDPARAMS);
  description.dwFlags &= ~DDSD_MIPMAPCOUNT;  // without a count: every level
  ASSERT_EQ(directDraw->CreateSurface(&description, &top, nullptr), DD_OK);
  EXPECT_EQ(LiveObjects(ObjectKind::Surface), 4);
  top->Release();
}

TEST_F(DirectDrawTest, PaletteStaysWhileASurfaceHoldsIt) {
  IDirectDrawSurface* indexed = CreateTexture(4, 4, kIndexed8);
  IDirectDrawSurface* rgb = CreateTexture(4, 4, kRgb565);
  PALETTEENTRY entries[256] = {};
  entries[3] = {200, 100, 50, 0};
  IDirectDrawPalette* palette = nullptr;
  ASSERT_EQ(directDraw->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
  EXPECT_EQ(rgb->SetPalette(palette), DDERR_NOTPALETTIZED);
  ASSERT_EQ(indexed->SetPalette(palette), DD_OK);
  EXPECT_EQ(palette->Release(), 1u);  // the surface's reference remains
  platform::PixelBuffer pixels;
  ASSERT_TRUE(GetSurfacePixels(indexed, &pixels));
  ASSERT_NE(pixels.palette, nullptr);
  EXPECT_EQ(pixels.palette[3].red, 200);
  EXPECT_EQ(pixels.palette[3].blue, 50);

  IDirectDrawPalette* attached = nullptr;
  ASSERT_EQ(indexed->GetPalette(&attached), DD_OK);
  EXPECT_EQ(attached, palette);
  EXPECT_EQ(attached->Release(), 1u);
  ASSERT_EQ(indexed->SetPalette(nullptr), DD_OK);
  EXPECT_EQ(LiveObjects(ObjectKind::Palette), 0);
  EXPECT_EQ(indexed->GetPalette(&attached), DDERR_NOPALETTEATTACHED);
  // An indexed surface without its palette has no colours to draw with.
  HDC dc = nullptr;
  EXPECT_EQ(indexed->GetDC(&dc), DDERR_CANTCREATEDC);
  indexed->Release();
  rgb->Release();
}

TEST_F(DirectDrawTest, SurfaceInterfacesShareOneCount) {
  IDirectDrawSurface* first = CreateTexture(2, 2, kRgb565);
  IDirectDrawSurface3* third = nullptr;
  ASSERT_EQ(first->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<LPVOID*>(&third)),
            DD_OK);
  EXPECT_EQ(third->AddRef(), 3u);
  EXPECT_EQ(third->Release(), 2u);
  EXPECT_EQ(first->Release(), 1u);
  EXPECT_EQ(LiveObjects(ObjectKind::Surface), 1);
  EXPECT_EQ(third->Release(), 0u);
  EXPECT_EQ(LiveObjects(ObjectKind::Surface), 0);
  EXPECT_FALSE(GetSurfacePixels(nullptr, nullptr));
}

TEST_F(DirectDrawTest, TextureInterfaceLivesInsideItsSurface) {
  IDirectDrawSurface* surface = CreateTexture(4, 4, kRgb565);
  IDirect3DTexture2* texture = nullptr;
  EXPECT_EQ(surface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<LPVOID*>(&texture)),
            E_NOINTERFACE);
  platform::testing::InstallDirect3DHooks(
      {nullptr, [](IDirectDrawSurface3* s) -> std::unique_ptr<platform::testing::SurfaceTexture> {
         return std::make_unique<doubles::ForwardingTexture>(s);
       }});
  ASSERT_EQ(surface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<LPVOID*>(&texture)),
            DD_OK);
  IDirect3DTexture2* again = nullptr;
  ASSERT_EQ(surface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<LPVOID*>(&again)),
            DD_OK);
  EXPECT_EQ(again, texture);
  EXPECT_EQ(doubles::ForwardingTexture::alive, 1);
  EXPECT_EQ(texture->Release(), 2u);
  EXPECT_EQ(again->Release(), 1u);
  // A plain surface has no texture interface.
  DDSURFACEDESC plain = TextureDescription(4, 4, kRgb565, DDSCAPS_OFFSCREENPLAIN);
  IDirectDrawSurface* offscreen = nullptr;
  ASSERT_EQ(directDraw->CreateSurface(&plain, &offscreen, nullptr), DD_OK);
  EXPECT_EQ(offscreen->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<LPVOID*>(&again)),
            E_NOINTERFACE);
  offscreen->Release();
  EXPECT_EQ(surface->Release(), 0u);
  EXPECT_EQ(doubles::ForwardingTexture::alive, 0);
  platform::testing::InstallDirect3DHooks({});
}

}  // namespace
