// The real DirectDraw and GDI under the device layer, with a double of the 3-D device: a
// software device offering the platform's texture formats.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/ddraw/pixel_formats.h"
#include "platform/ddraw/surface_access.h"
#include "platform/host/headless/headless_host.h"
#include "platform/testing.h"
#include "tests/device/doubles.h"

namespace device_test {

inline HWND FakeWindow() {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1000));
}

// The texture interface a Direct3D module would give: its count is the surface's.
class FakeTexture : public platform::testing::SurfaceTexture {
 public:
  static constexpr D3DTEXTUREHANDLE kHandle = 0x51;
  explicit FakeTexture(IDirectDrawSurface3* surface) : surface_(surface) {}
  HRESULT QueryInterface(REFIID iid, LPVOID* object) override {
    return surface_->QueryInterface(iid, object);
  }
  ULONG AddRef() override { return surface_->AddRef(); }
  ULONG Release() override { return surface_->Release(); }
  HRESULT GetHandle(LPDIRECT3DDEVICE2, LPD3DTEXTUREHANDLE handle) override {
    *handle = kHandle;
    return D3D_OK;
  }
  HRESULT Load(LPDIRECT3DTEXTURE2) override { return D3D_OK; }

 private:
  IDirectDrawSurface3* surface_;
};

class RealPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::host::headless::Reset();
    ASSERT_EQ(platform::testing::LiveObjects(), 0);
    IDirectDraw* first = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &first, nullptr), DD_OK);
    ASSERT_EQ(first->SetCooperativeLevel(FakeWindow(), DDSCL_NORMAL), DD_OK);
    ASSERT_EQ(first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<LPVOID*>(&directDraw)),
              DD_OK);
    first->Release();
    const auto formats = platform::ddraw::TextureFormats();
    OfferFormats(device, {formats.begin(), formats.end()});
    DescribeDevice(device, false);
    platform::testing::InstallDirect3DHooks(
        {nullptr, [](IDirectDrawSurface3* surface) {
           return std::unique_ptr<platform::testing::SurfaceTexture>(new FakeTexture(surface));
         }});
  }

  void TearDown() override {
    if (directDraw) directDraw->Release();
    platform::testing::InstallDirect3DHooks({});
    EXPECT_EQ(platform::testing::LiveObjects(), 0);
  }

  IDirectDraw2* directDraw = nullptr;
  ::testing::NiceMock<MockDevice> device;
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
