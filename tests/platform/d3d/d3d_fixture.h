// A software device drawing into the back buffer of the game's flip chain, made through the
// public interfaces, with one current viewport whose clip space is its pixels, and helpers to
// draw and to see what was drawn.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/testing.h"
#include "tests/platform/ddraw/ddraw_fixture.h"

// Pixel (x, y) of a viewport of PixelViewport is at clip space (x, -y): the screen's y points
// down, Direct3D's up.
inline D3DLVERTEX Corner(float x, float y, D3DCOLOR colour, float u = 0.0f, float v = 0.0f) {
  return D3DLVERTEX{x, -y, 0.5f, 0, colour, 0, u, v};
}

inline D3DVIEWPORT2 PixelViewport(DWORD x, DWORD y, DWORD width, DWORD height) {
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  return D3DVIEWPORT2{D3DVIEWPORT2_SIZE, x, y, width, height, 0.0f, 0.0f, w, h, 0.0f, 1.0f};
}

template <typename T>
void ReleaseOnce(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

class Direct3DDeviceTest : public DirectDrawTest {
 protected:
  static constexpr std::uint32_t kBackground = 0x1234;  // the back buffer's colour before draws

  void SetUp() override {
    DirectDrawTest::SetUp();
    platform::testing::InstallDirect3D();  // as the program's main does before WinMain
    CreateFlipChain(&front, &back);
    ASSERT_EQ(directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<LPVOID*>(&direct3D)),
              D3D_OK);
    ASSERT_EQ(direct3D->CreateDevice(IID_IDirect3DMMXDevice, back, &device), D3D_OK);
    ASSERT_EQ(direct3D->CreateViewport(&viewport, nullptr), D3D_OK);
    D3DVIEWPORT2 values = PixelViewport(0, 0, 32, 32);
    ASSERT_EQ(viewport->SetViewport2(&values), D3D_OK);
    ASSERT_EQ(device->AddViewport(viewport), D3D_OK);
    ASSERT_EQ(device->SetCurrentViewport(viewport), D3D_OK);
    ASSERT_EQ(device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE), D3D_OK);
    DDBLTFX fx{};
    fx.dwSize = DDBLTFX_SIZE;
    fx.dwFillColor = kBackground;
    ASSERT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  }

  void TearDown() override {
    ReleaseOnce(viewport);
    ReleaseOnce(device);
    ReleaseOnce(direct3D);
    ReleaseOnce(back);
    ReleaseOnce(front);
    DirectDrawTest::TearDown();
  }

  // A triangle covering the top-left half of the 32-pixel viewport, pixel (8, 8) included.
  static std::vector<D3DLVERTEX> Triangle(D3DCOLOR colour = 0xFFFFFFFF) {
    return {Corner(0, 0, colour, 0, 0), Corner(32, 0, colour, 1, 0), Corner(0, 32, colour, 0, 1)};
  }

  // A triangle list drawn in a scene of its own.
  HRESULT DrawInScene(std::vector<D3DLVERTEX> vertices) {
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    const HRESULT result = device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_LVERTEX, vertices.data(),
                                                 static_cast<DWORD>(vertices.size()), D3DDP_WAIT);
    EXPECT_EQ(device->EndScene(), D3D_OK);
    return result;
  }

  std::uint32_t Pixel(int x, int y) { return ReadPixel(back, x, y); }

  // Every byte of the back buffer, to show a refused draw left it alone.
  std::vector<std::uint8_t> Snapshot() {
    DDSURFACEDESC locked = Description(0, 0);
    EXPECT_EQ(back->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
    const auto* bytes = static_cast<const std::uint8_t*>(locked.lpSurface);
    std::vector<std::uint8_t> copy(bytes, bytes + locked.lPitch * locked.dwHeight);
    back->Unlock(nullptr);
    return copy;
  }

  IDirectDrawSurface3* front = nullptr;
  IDirectDrawSurface3* back = nullptr;
  IDirect3D2* direct3D = nullptr;
  IDirect3DDevice2* device = nullptr;
  IDirect3DViewport2* viewport = nullptr;
};
