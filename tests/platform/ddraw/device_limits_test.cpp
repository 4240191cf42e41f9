// The software 3-D device refuses draws it could only serve by allocating without bound.
#include <gtest/gtest.h>

#include <vector>

#include "platform/d3d/device.h"
#include "tests/platform/ddraw/ddraw_fixture.h"

namespace {

// 1024 vertices pass the count check and reach the next one (no viewport here); one more is
// refused as a bad parameter before anything is copied.
TEST_F(DirectDrawTest, DrawPrimitiveTakesAtMostD3dMaxNumVertices) {
  IDirectDrawSurface3* front = nullptr;
  IDirectDrawSurface3* back = nullptr;
  CreateFlipChain(&front, &back);
  IDirectDrawSurface* target = nullptr;
  ASSERT_EQ(back->QueryInterface(IID_IDirectDrawSurface, reinterpret_cast<LPVOID*>(&target)),
            DD_OK);
  auto* device = new platform::d3d::Device(target, platform::raster::RasterPath::Optimised);
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
  EXPECT_EQ(device->Release(), 0u);
  target->Release();
  back->Release();
  front->Release();
}

}  // namespace
