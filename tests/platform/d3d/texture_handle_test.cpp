// Texture handles: how they are handed out, and a handle whose surface has gone.
#include <gtest/gtest.h>

#include "platform/testing.h"
#include "tests/platform/d3d/d3d_fixture.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFF;
constexpr std::uint32_t kBlue = 0x001F;
constexpr std::uint32_t kRed = 0xF800;

class TextureHandleTest : public Direct3DDeviceTest {
 protected:
  // An 8×8 RGB 565 texture of one colour, and its texture interface.
  IDirect3DTexture2* SolidTexture(std::uint32_t colour) {
    IDirectDrawSurface* surface = CreateTexture(8, 8, kRgb565);
    DDBLTFX fx{};
    fx.dwSize = DDBLTFX_SIZE;
    fx.dwFillColor = colour;
    EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
    IDirect3DTexture2* texture = nullptr;
    EXPECT_EQ(surface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<LPVOID*>(&texture)),
              DD_OK);
    surface->Release();  // the texture interface holds the surface
    return texture;
  }

  D3DTEXTUREHANDLE HandleOf(IDirect3DTexture2* texture) {
    D3DTEXTUREHANDLE handle = 0;
    EXPECT_EQ(texture->GetHandle(device, &handle), D3D_OK);
    return handle;
  }

  // Pixel (8, 8) of a white triangle drawn with the handle (modulated by the texture's colour).
  std::uint32_t DrawnWith(D3DTEXTUREHANDLE handle) {
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATE_TEXTUREHANDLE, handle), D3D_OK);
    EXPECT_EQ(DrawInScene(Triangle()), D3D_OK);
    return Pixel(8, 8);
  }
};

TEST_F(TextureHandleTest, EachTextureHasOneHandleOfItsOwn) {
  IDirect3DTexture2* blue = SolidTexture(kBlue);
  IDirect3DTexture2* red = SolidTexture(kRed);
  const D3DTEXTUREHANDLE handle = HandleOf(blue);
  EXPECT_NE(handle, 0u);  // 0 means "no texture"
  EXPECT_EQ(HandleOf(blue), handle);
  EXPECT_NE(HandleOf(red), handle);
  D3DTEXTUREHANDLE untouched = 77;
  EXPECT_EQ(blue->GetHandle(nullptr, &untouched), DDERR_INVALIDPARAMS);
  EXPECT_EQ(untouched, 77u);
  EXPECT_EQ(blue->GetHandle(device, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(DrawnWith(HandleOf(red)), kRed);
  EXPECT_EQ(DrawnWith(handle), kBlue);
  EXPECT_EQ(DrawnWith(0), kWhite);
  red->Release();
  blue->Release();
}

// A handle outlives its texture as a number only: set as the current texture while the surface
// goes, or set afterwards, it draws untextured, and no later texture is handed the same number.
TEST_F(TextureHandleTest, AHandleWhoseSurfaceWentDrawsUntextured) {
  IDirect3DTexture2* blue = SolidTexture(kBlue);
  const D3DTEXTUREHANDLE stale = HandleOf(blue);
  EXPECT_EQ(DrawnWith(stale), kBlue);
  const int textures = platform::testing::LiveObjects(platform::testing::ObjectKind::Texture);
  EXPECT_EQ(blue->Release(), 0u);
  ASSERT_EQ(platform::testing::LiveObjects(platform::testing::ObjectKind::Texture), textures - 1);

  EXPECT_EQ(DrawInScene(Triangle()), D3D_OK);  // the stale handle still current
  EXPECT_EQ(Pixel(8, 8), kWhite);
  DWORD current = 0;
  EXPECT_EQ(device->GetRenderState(D3DRENDERSTATE_TEXTUREHANDLE, &current), D3D_OK);
  EXPECT_EQ(current, stale);

  IDirect3DTexture2* red = SolidTexture(kRed);
  const D3DTEXTUREHANDLE fresh = HandleOf(red);
  EXPECT_NE(fresh, stale);
  EXPECT_EQ(DrawnWith(stale), kWhite);
  EXPECT_EQ(DrawnWith(fresh), kRed);
  red->Release();
}

}  // namespace
