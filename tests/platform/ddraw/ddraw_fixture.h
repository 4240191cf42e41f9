// A DirectDraw object holding the screen, as the game sets it up, and small helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/api/d3d.h"
#include "platform/core/last_error.h"
#include "platform/host/headless/headless_host.h"
#include "tests/support/direct_draw_session.h"

inline DDSURFACEDESC Description(DWORD flags, DWORD caps) {
  DDSURFACEDESC description;
  std::memset(&description, 0, sizeof description);
  description.dwSize = DDSURFACEDESC_SIZE;
  description.dwFlags = flags;
  description.ddsCaps.dwCaps = caps;
  return description;
}

// The game's request for the primary surface with `backBuffers` back buffers.
inline DDSURFACEDESC FlipChainDescription(DWORD backBuffers) {
  DDSURFACEDESC description =
      Description(DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
                  DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE);
  description.dwBackBufferCount = backBuffers;
  return description;
}

inline DDSURFACEDESC TextureDescription(int width, int height, const DDPIXELFORMAT& format,
                                        DWORD caps) {
  DDSURFACEDESC description =
      Description(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT, caps);
  description.dwWidth = width;
  description.dwHeight = height;
  description.ddpfPixelFormat = format;
  return description;
}

// The back buffer's description, checked to have the game's 640x480 RGB565 size and pitch.
inline DDSURFACEDESC GamesSizeDescription(IDirectDrawSurface3* back) {
  DDSURFACEDESC description = Description(0, 0);
  EXPECT_EQ(back->GetSurfaceDesc(&description), DD_OK);
  EXPECT_EQ(description.dwWidth, 640u);
  EXPECT_EQ(description.dwHeight, 480u);
  EXPECT_EQ(description.lPitch, 1280);
  return description;
}

// A colour fill's record.
inline DDBLTFX Fill(DWORD colour) {
  DDBLTFX fx;
  std::memset(&fx, 0, sizeof fx);
  fx.dwSize = DDBLTFX_SIZE;
  fx.dwFillColor = colour;
  return fx;
}

inline DDPIXELFORMAT RgbFormat(DWORD flags, DWORD bits, DWORD r, DWORD g, DWORD b, DWORD a) {
  return DDPIXELFORMAT{DDPIXELFORMAT_SIZE, flags, 0, bits, r, g, b, a};
}

inline const DDPIXELFORMAT kIndexed8 = RgbFormat(DDPF_PALETTEINDEXED8 | DDPF_RGB, 8, 0, 0, 0, 0);
inline const DDPIXELFORMAT kRgb565 = RgbFormat(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0);
inline const DDPIXELFORMAT kXrgb8888 = RgbFormat(DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF, 0);

class DirectDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(OpenDirectDraw2(DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN, &directDraw));
  }

  void TearDown() override {
    if (directDraw) {
      EXPECT_EQ(directDraw->Release(), 0u);
    }
    EXPECT_EQ(platform::testing::LiveObjects(), 0);
  }

  // The game's flip chain: front surface (as IDirectDrawSurface3) and its back buffer.
  void CreateFlipChain(IDirectDrawSurface3** front, IDirectDrawSurface3** back) {
    DDSURFACEDESC description = FlipChainDescription(1);
    IDirectDrawSurface* first = nullptr;
    ASSERT_EQ(directDraw->CreateSurface(&description, &first, nullptr), DD_OK);
    ASSERT_EQ(first->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<LPVOID*>(front)),
              DD_OK);
    first->Release();
    DDSCAPS caps{DDSCAPS_BACKBUFFER};
    ASSERT_EQ((*front)->GetAttachedSurface(&caps, back), DD_OK);
  }

  IDirectDrawSurface* CreateTexture(int width, int height, const DDPIXELFORMAT& format,
                                    DWORD caps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY) {
    DDSURFACEDESC description = TextureDescription(width, height, format, caps);
    IDirectDrawSurface* surface = nullptr;
    EXPECT_EQ(directDraw->CreateSurface(&description, &surface, nullptr), DD_OK);
    return surface;
  }

  IDirectDraw2* directDraw = nullptr;
};

// The raw value of pixel (x, y) of a locked surface.
inline std::uint32_t PixelAt(const DDSURFACEDESC& locked, int x, int y) {
  const int bytes = static_cast<int>(locked.ddpfPixelFormat.dwRGBBitCount / 8);
  const auto* at =
      static_cast<const std::uint8_t*>(locked.lpSurface) + y * locked.lPitch + x * bytes;
  std::uint32_t value = 0;
  std::memcpy(&value, at, bytes);
  return value;
}

inline std::uint32_t ReadPixel(IDirectDrawSurface* surface, int x, int y) {
  DDSURFACEDESC locked = Description(0, 0);
  EXPECT_EQ(surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
  const std::uint32_t value = PixelAt(locked, x, y);
  surface->Unlock(nullptr);
  return value;
}
