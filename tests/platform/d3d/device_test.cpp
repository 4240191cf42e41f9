// The software 3-D device: draws it refuses, and the cull mode it honours.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/d3d/direct3d_device.h"
#include "platform/d3d/viewport.h"
#include "tests/platform/ddraw/ddraw_fixture.h"

namespace {

class DeviceTest : public DirectDrawTest {
 protected:
  void SetUp() override {
    DirectDrawTest::SetUp();
    CreateFlipChain(&front, &back);
    ASSERT_EQ(back->QueryInterface(IID_IDirectDrawSurface, reinterpret_cast<LPVOID*>(&target)),
              DD_OK);
    device = new platform::d3d::Device(target, platform::raster::RasterPath::Optimised);
  }
  void TearDown() override {
    EXPECT_EQ(device->Release(), 0u);
    target->Release();
    back->Release();
    front->Release();
    DirectDrawTest::TearDown();
  }
  // The back buffer's pixel (x, y).
  std::uint32_t Pixel(int x, int y) {
    DDSURFACEDESC locked = Description(0, 0);
    EXPECT_EQ(back->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
    const std::uint32_t value = PixelAt(locked, x, y);
    back->Unlock(nullptr);
    return value;
  }

  IDirectDrawSurface3* front = nullptr;
  IDirectDrawSurface3* back = nullptr;
  IDirectDrawSurface* target = nullptr;
  platform::d3d::Device* device = nullptr;
};

// A 32-pixel viewport whose clip space is the pixels, y negated: the screen's y points down, so
// (4, 4) → (28, 4) → (4, 28) runs clockwise as seen and the reverse counter-clockwise.
TEST_F(DeviceTest, CullModesDropTheWindingDirect3dNames) {
  auto* viewport = new platform::d3d::Viewport;
  D3DVIEWPORT2 values{D3DVIEWPORT2_SIZE, 0, 0, 32, 32, 0.0f, 0.0f, 32.0f, 32.0f, 0.0f, 1.0f};
  ASSERT_EQ(viewport->SetViewport2(&values), D3D_OK);
  ASSERT_EQ(device->AddViewport(viewport), D3D_OK);
  ASSERT_EQ(device->SetCurrentViewport(viewport), D3D_OK);
  auto corner = [](float x, float y, D3DCOLOR colour) {
    return D3DLVERTEX{x, -y, 0.5f, 0, colour, 0, 0, 0};
  };
  auto draw = [&](bool clockwise, D3DCOLOR colour) {
    D3DLVERTEX t[3] = {corner(4, 4, colour), corner(28, 4, colour), corner(4, 28, colour)};
    if (!clockwise) std::swap(t[1], t[2]);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_LVERTEX, t, 3, D3DDP_WAIT), D3D_OK);
    return Pixel(8, 8);
  };
  constexpr std::uint32_t kRed = 0xF800, kGreen = 0x07E0, kBlue = 0x001F;
  ASSERT_EQ(device->BeginScene(), D3D_OK);
  EXPECT_EQ(draw(false, 0xFFFF0000), 0u);  // the initial D3DCULL_CCW
  EXPECT_EQ(draw(true, 0xFFFF0000), kRed);
  ASSERT_EQ(device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW), D3D_OK);
  EXPECT_EQ(draw(true, 0xFF00FF00), kRed);
  EXPECT_EQ(draw(false, 0xFF00FF00), kGreen);
  ASSERT_EQ(device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE), D3D_OK);
  EXPECT_EQ(draw(true, 0xFF0000FF), kBlue);
  EXPECT_EQ(draw(false, 0xFFFFFFFF), 0xFFFFu);
  EXPECT_EQ(device->EndScene(), D3D_OK);
  viewport->Release();
}

// 1024 vertices pass the count check and reach the next one (no viewport here); one more is
// refused as a bad parameter before anything is copied.
TEST_F(DeviceTest, DrawPrimitiveTakesAtMostD3dMaxNumVertices) {
  std::vector<D3DLVERTEX> vertices(D3DMAXNUMVERTICES + 1);
  ASSERT_EQ(device->BeginScene(), D3D_OK);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_LVERTEX, vertices.data(),
                                  D3DMAXNUMVERTICES, D3DDP_WAIT),
            D3DERR_NOCURRENTVIEWPORT);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_LVERTEX, vertices.data(),
                                  D3DMAXNUMVERTICES + 1, D3DDP_WAIT),
            DDERR_INVALIDPARAMS);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_LINELIST, D3DVT_LVERTEX, vertices.data(), 0xFFFFFFFFu,
                                  D3DDP_WAIT),
            DDERR_INVALIDPARAMS);
  EXPECT_EQ(device->EndScene(), D3D_OK);
}

// Each object with one interface hands it out for its IID and IUnknown only, counts every
// reference, and goes (or, a palette, goes back to its DirectDraw object) at the last Release.
TEST_F(DeviceTest, OneInterfaceObjectsCountReferencesAndAnswerOnlyTheirInterface) {
  auto expectCounted = [](IUnknown* object, REFIID own, platform::testing::ObjectKind kind) {
    SCOPED_TRACE(static_cast<int>(kind));
    const int live = platform::testing::LiveObjects(kind);
    EXPECT_EQ(object->QueryInterface(own, nullptr), DDERR_INVALIDPARAMS);
    void* other = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(object->QueryInterface(IID_IDirectDrawSurface, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    void* same = nullptr;
    void* unknown = nullptr;
    ASSERT_EQ(object->QueryInterface(own, &same), DD_OK);
    ASSERT_EQ(object->QueryInterface(IID_IUnknown, &unknown), DD_OK);
    EXPECT_EQ(same, unknown);
    EXPECT_EQ(object->AddRef(), 4u);
    EXPECT_EQ(object->Release(), 3u);
    EXPECT_EQ(object->Release(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(platform::testing::LiveObjects(kind), live);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(platform::testing::LiveObjects(kind), live - 1);
  };
  expectCounted(new platform::d3d::Viewport, IID_IDirect3DViewport2,
                platform::testing::ObjectKind::Viewport);
  IDirectDrawPalette* palette = nullptr;
  PALETTEENTRY entries[256] = {};
  ASSERT_EQ(directDraw->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
  expectCounted(palette, IID_IDirectDrawPalette, platform::testing::ObjectKind::Palette);
  platform::testing::InstallDirect3D();
  IDirect3D2* direct3D = nullptr;
  ASSERT_EQ(directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<LPVOID*>(&direct3D)),
            DD_OK);
  expectCounted(direct3D, IID_IDirect3D2, platform::testing::ObjectKind::Direct3D);
  platform::testing::InstallDirect3DHooks({});
  expectCounted(new platform::d3d::Device(target, platform::raster::RasterPath::Reference),
                IID_IDirect3DDevice2, platform::testing::ObjectKind::Device);
}

}  // namespace
