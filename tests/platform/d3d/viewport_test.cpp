// Viewports: the values SetViewport2 refuses, rectangles outside the target, and viewports the
// device does not have.
#include <gtest/gtest.h>

#include <limits>

#include "tests/platform/d3d/d3d_fixture.h"

namespace {

using ViewportTest = Direct3DDeviceTest;

constexpr std::uint32_t kWhite = 0xFFFF;

// A refused SetViewport2 keeps the values set before.
TEST_F(ViewportTest, RefusedValuesKeepTheOnesSetBefore) {
  D3DVIEWPORT2 bad[7];
  for (D3DVIEWPORT2& values : bad) values = PixelViewport(10, 10, 8, 8);
  bad[0].dwSize = 0;
  bad[1].dwSize = D3DVIEWPORT2_SIZE + 4;
  bad[2].dwWidth = 0;
  bad[3].dwHeight = 0;
  bad[4].dvClipWidth = 0.0f;
  bad[5].dvClipHeight = -1.0f;
  bad[6].dvClipWidth = std::numeric_limits<float>::quiet_NaN();
  for (D3DVIEWPORT2& values : bad) {
    EXPECT_EQ(viewport->SetViewport2(&values), DDERR_INVALIDPARAMS) << &values - bad;
  }
  EXPECT_EQ(viewport->SetViewport2(nullptr), DDERR_INVALIDPARAMS);
  D3DVIEWPORT2 read{};
  read.dwSize = D3DVIEWPORT2_SIZE;
  ASSERT_EQ(viewport->GetViewport2(&read), D3D_OK);
  EXPECT_EQ(read.dwX, 0u);
  EXPECT_EQ(read.dwWidth, 32u);
  EXPECT_EQ(viewport->GetViewport2(nullptr), DDERR_INVALIDPARAMS);
  read.dwSize = 0;
  EXPECT_EQ(viewport->GetViewport2(&read), DDERR_INVALIDPARAMS);
}

// SetViewport2 knows no target; the draw checks the rectangle against it and refuses one that
// does not fit (or a clip volume that is not finite), drawing nothing.
TEST_F(ViewportTest, ARectangleOutsideTheTargetDrawsNothing) {
  const float infinity = std::numeric_limits<float>::infinity();
  D3DVIEWPORT2 outside[] = {
      PixelViewport(620, 0, 32, 32), PixelViewport(0, 460, 32, 32),
      PixelViewport(0, 0, 641, 32),  PixelViewport(0xFFFFFFF0u, 0, 32, 32),
      PixelViewport(0, 0, 32, 32),  // made unfit below: an infinite clip volume
  };
  outside[4].dvClipWidth = infinity;
  const std::vector<std::uint8_t> before = Snapshot();
  for (D3DVIEWPORT2& values : outside) {
    ASSERT_EQ(viewport->SetViewport2(&values), D3D_OK) << values.dwX << "," << values.dwY;
    EXPECT_EQ(DrawInScene(Triangle()), DDERR_INVALIDPARAMS) << values.dwX << "," << values.dwY;
  }
  EXPECT_TRUE(Snapshot() == before);

  // The bottom-right corner itself fits, and the values are read again at every draw.
  D3DVIEWPORT2 corner = PixelViewport(608, 448, 32, 32);
  ASSERT_EQ(viewport->SetViewport2(&corner), D3D_OK);
  EXPECT_EQ(DrawInScene(Triangle()), D3D_OK);
  EXPECT_EQ(Pixel(612, 452), kWhite);
  EXPECT_EQ(Pixel(4, 4), kBackground);
}

// Only a viewport of the device's own list, with values set, can be drawn through.
TEST_F(ViewportTest, TheDeviceDrawsOnlyThroughItsOwnViewportWithValues) {
  IDirect3DViewport2* stranger = nullptr;
  ASSERT_EQ(direct3D->CreateViewport(&stranger, nullptr), D3D_OK);
  D3DVIEWPORT2 values = PixelViewport(100, 100, 32, 32);
  ASSERT_EQ(stranger->SetViewport2(&values), D3D_OK);
  EXPECT_EQ(device->SetCurrentViewport(stranger), DDERR_INVALIDPARAMS);
  EXPECT_EQ(device->SetCurrentViewport(nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(device->AddViewport(nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(device->AddViewport(viewport), DDERR_INVALIDPARAMS);  // already in the list
  EXPECT_EQ(DrawInScene(Triangle()), D3D_OK);                     // still the first one
  EXPECT_EQ(Pixel(8, 8), kWhite);
  EXPECT_EQ(Pixel(108, 108), kBackground);

  IDirect3DViewport2* empty = nullptr;
  ASSERT_EQ(direct3D->CreateViewport(&empty, nullptr), D3D_OK);
  D3DVIEWPORT2 read{};
  read.dwSize = D3DVIEWPORT2_SIZE;
  EXPECT_EQ(empty->GetViewport2(&read), D3DERR_VIEWPORTDATANOTSET);
  ASSERT_EQ(device->AddViewport(empty), D3D_OK);
  ASSERT_EQ(device->SetCurrentViewport(empty), D3D_OK);
  const std::vector<std::uint8_t> before = Snapshot();
  EXPECT_EQ(DrawInScene(Triangle()), D3DERR_NOCURRENTVIEWPORT);
  EXPECT_TRUE(Snapshot() == before);
  empty->Release();
  stranger->Release();
}

TEST_F(ViewportTest, ANewDeviceHasNoCurrentViewport) {
  IDirect3DDevice2* second = nullptr;
  ASSERT_EQ(direct3D->CreateDevice(IID_IDirect3DRGBDevice, back, &second), D3D_OK);
  std::vector<D3DLVERTEX> triangle = Triangle();
  ASSERT_EQ(second->BeginScene(), D3D_OK);
  EXPECT_EQ(second->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_LVERTEX, triangle.data(), 3, 0),
            D3DERR_NOCURRENTVIEWPORT);
  ASSERT_EQ(second->EndScene(), D3D_OK);
  EXPECT_EQ(Pixel(8, 8), kBackground);
  EXPECT_EQ(second->Release(), 0u);
}

// The device holds the viewports it was given: the caller's last Release leaves it drawing.
TEST_F(ViewportTest, AViewportTheCallerReleasedStaysCurrent) {
  EXPECT_EQ(viewport->Release(), 1u);
  viewport = nullptr;
  EXPECT_EQ(DrawInScene(Triangle()), D3D_OK);
  EXPECT_EQ(Pixel(8, 8), kWhite);
}

}  // namespace
