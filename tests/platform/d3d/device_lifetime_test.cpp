// A device whose render target, Direct3D object or DirectDraw object goes while it lives.
#include <gtest/gtest.h>

#include "platform/testing.h"
#include "tests/platform/d3d/d3d_fixture.h"

namespace {

using DeviceLifetimeTest = Direct3DDeviceTest;

// The device holds its target: the caller's last Release leaves it drawable, and the device's
// own Release then frees it.
TEST_F(DeviceLifetimeTest, TheDeviceKeepsAPlainTargetAlive) {
  DDSURFACEDESC description =
      TextureDescription(32, 32, kRgb565, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
  IDirectDrawSurface* target = nullptr;
  ASSERT_EQ(directDraw->CreateSurface(&description, &target, nullptr), DD_OK);
  IDirect3DDevice2* offscreen = nullptr;
  ASSERT_EQ(direct3D->CreateDevice(IID_IDirect3DRGBDevice, target, &offscreen), D3D_OK);
  ASSERT_EQ(offscreen->AddViewport(viewport), D3D_OK);
  ASSERT_EQ(offscreen->SetCurrentViewport(viewport), D3D_OK);
  const int surfaces = platform::testing::LiveObjects(platform::testing::ObjectKind::Surface);
  EXPECT_EQ(target->Release(), 1u);
  EXPECT_EQ(platform::testing::LiveObjects(platform::testing::ObjectKind::Surface), surfaces);

  std::vector<D3DLVERTEX> triangle = Triangle();
  ASSERT_EQ(offscreen->BeginScene(), D3D_OK);
  EXPECT_EQ(offscreen->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_LVERTEX, triangle.data(), 3, 0),
            D3D_OK);
  ASSERT_EQ(offscreen->EndScene(), D3D_OK);
  EXPECT_EQ(offscreen->Release(), 0u);
  EXPECT_EQ(platform::testing::LiveObjects(platform::testing::ObjectKind::Surface), surfaces - 1);
}

// Surfaces are never lost here, so restoring the target changes nothing the device sees; nor
// does the Direct3D object that made the device going first.
TEST_F(DeviceLifetimeTest, RestoredTargetAndGoneDirect3DLeaveTheDeviceDrawing) {
  EXPECT_EQ(back->Restore(), DD_OK);
  EXPECT_EQ(front->Restore(), DD_OK);
  ReleaseOnce(direct3D);
  EXPECT_EQ(DrawInScene(Triangle()), D3D_OK);
  EXPECT_EQ(Pixel(8, 8), 0xFFFFu);
}

// Once its target is gone, whichever way, the device no longer draws: scenes and draws report
// the surface lost, states are still kept, and its Release touches nothing that went.
void ExpectLost(IDirect3DDevice2* device, std::vector<D3DLVERTEX> triangle) {
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_LVERTEX, triangle.data(), 3, 0),
            DDERR_SURFACELOST);
  EXPECT_EQ(device->EndScene(), D3D_OK);
  EXPECT_EQ(device->BeginScene(), DDERR_SURFACELOST);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_LVERTEX, triangle.data(), 3, 0),
            D3DERR_SCENE_NOT_IN_SCENE);
  DWORD cull = 0;
  EXPECT_EQ(device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW), D3D_OK);
  EXPECT_EQ(device->GetRenderState(D3DRENDERSTATE_CULLMODE, &cull), D3D_OK);
  EXPECT_EQ(cull, DWORD{D3DCULL_CW});
}

// The back buffer goes with the front of its chain, whatever the device holds.
TEST_F(DeviceLifetimeTest, TheTargetGoneWithItsChainLeavesTheDeviceLost) {
  ASSERT_EQ(device->BeginScene(), D3D_OK);
  ReleaseOnce(back);
  ReleaseOnce(front);
  ASSERT_EQ(platform::testing::LiveObjects(platform::testing::ObjectKind::Surface), 0);
  ExpectLost(device, Triangle());
}

// The DirectDraw object's last Release reclaims every surface, the device's target included.
TEST_F(DeviceLifetimeTest, TheTargetReclaimedByDirectDrawLeavesTheDeviceLost) {
  ReleaseOnce(direct3D);
  back = front = nullptr;  // reclaimed with the DirectDraw object
  ASSERT_EQ(device->BeginScene(), D3D_OK);
  EXPECT_EQ(directDraw->Release(), 0u);
  directDraw = nullptr;
  ASSERT_EQ(platform::testing::LiveObjects(platform::testing::ObjectKind::Surface), 0);
  ExpectLost(device, Triangle());
}

}  // namespace
