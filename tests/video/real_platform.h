// The real DirectDraw and GDI under the video layer, with a double of the 3-D device: a
// software device offering the platform's texture formats.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/ddraw/pixel_formats.h"
#include "platform/ddraw/surface_access.h"
#include "platform/host/headless/headless_host.h"
#include "tests/support/direct_draw_session.h"
#include "tests/support/doubles/forwarding_texture.h"
#include "tests/support/doubles/interface_mocks.h"

namespace device_test {

class RealPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(OpenDirectDraw2(DDSCL_NORMAL, &directDraw));
    const auto formats = platform::ddraw::TextureFormats();
    doubles::OfferFormats(device, {formats.begin(), formats.end()});
    doubles::DescribeDevice(device, false);
    platform::testing::InstallDirect3DHooks(
        {nullptr, [](IDirectDrawSurface3* surface) {
           return std::unique_ptr<platform::testing::SurfaceTexture>(
               new doubles::ForwardingTexture(surface));
         }});
  }

  void TearDown() override {
    if (directDraw) directDraw->Release();
    platform::testing::InstallDirect3DHooks({});
    EXPECT_EQ(platform::testing::LiveObjects(), 0);
  }

  IDirectDraw2* directDraw = nullptr;
  ::testing::NiceMock<doubles::MockDevice> device;
};

// Raw pixel value at (x, y) of a surface, read under a lock.
inline std::uint32_t RawPixel(IDirectDrawSurface* surface, int x, int y) {
  DDSURFACEDESC locked{};
  locked.dwSize = DDSURFACEDESC_SIZE;
  EXPECT_EQ(surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
  const int bytes = static_cast<int>(locked.ddpfPixelFormat.dwRGBBitCount / 8);
  std::uint32_t value = 0;
  std::memcpy(&value, static_cast<std::uint8_t*>(locked.lpSurface) + y * locked.lPitch + x * bytes,
              bytes);
  surface->Unlock(nullptr);
  return value;
}

inline void WriteRawPixel(IDirectDrawSurface* surface, int x, int y, std::uint32_t value) {
  DDSURFACEDESC locked{};
  locked.dwSize = DDSURFACEDESC_SIZE;
  ASSERT_EQ(surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
  const int bytes = static_cast<int>(locked.ddpfPixelFormat.dwRGBBitCount / 8);
  std::memcpy(static_cast<std::uint8_t*>(locked.lpSurface) + y * locked.lPitch + x * bytes, &value,
              bytes);
  surface->Unlock(nullptr);
}

inline DWORD SourceKey(IDirectDrawSurface* surface) {
  DDCOLORKEY key{};
  EXPECT_EQ(surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  return key.dwColorSpaceLowValue;
}

}  // namespace device_test
