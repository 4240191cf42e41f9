// DrawPrimitive: the calls it refuses, with what each returns, and the vertex counts it takes.
#include <gtest/gtest.h>

#include <vector>

#include "tests/platform/d3d/d3d_fixture.h"

namespace {

using DrawPrimitiveTest = Direct3DDeviceTest;

constexpr std::uint32_t kWhite = 0xFFFF;

struct RefusedDraw {
  const char* what;
  D3DPRIMITIVETYPE primitive;
  D3DVERTEXTYPE vertexType;
  bool nullVertices;
  DWORD count;
  HRESULT expected;
};

// Each draw names vertices that would cover the viewport; none may touch a pixel.
TEST_F(DrawPrimitiveTest, RefusedDrawsReturnTheirErrorAndDrawNothing) {
  const RefusedDraw draws[] = {
      {"point list", D3DPT_POINTLIST, D3DVT_LVERTEX, false, 3, DDERR_UNSUPPORTED},
      {"triangle strip", D3DPT_TRIANGLESTRIP, D3DVT_LVERTEX, false, 3, DDERR_UNSUPPORTED},
      {"primitive 0", D3DPRIMITIVETYPE{0}, D3DVT_LVERTEX, false, 3, DDERR_UNSUPPORTED},
      {"untransformed vertices", D3DPT_TRIANGLELIST, D3DVT_VERTEX, false, 3, DDERR_INVALIDPARAMS},
      {"transformed vertices", D3DPT_TRIANGLELIST, D3DVT_TLVERTEX, false, 3, DDERR_INVALIDPARAMS},
      {"no vertices", D3DPT_TRIANGLELIST, D3DVT_LVERTEX, true, 3, DDERR_INVALIDPARAMS},
      {"one past the limit", D3DPT_TRIANGLELIST, D3DVT_LVERTEX, false, D3DMAXNUMVERTICES + 1,
       DDERR_INVALIDPARAMS},
      {"the largest count", D3DPT_LINELIST, D3DVT_LVERTEX, false, 0xFFFFFFFFu, DDERR_INVALIDPARAMS},
  };
  // Vertices past the limit, three by three the triangle.
  std::vector<D3DLVERTEX> vertices;
  while (vertices.size() <= D3DMAXNUMVERTICES) {
    for (const D3DLVERTEX& corner : Triangle()) vertices.push_back(corner);
  }
  const std::vector<std::uint8_t> before = Snapshot();
  ASSERT_EQ(device->BeginScene(), D3D_OK);
  for (const RefusedDraw& draw : draws) {
    EXPECT_EQ(device->DrawPrimitive(draw.primitive, draw.vertexType,
                                    draw.nullVertices ? nullptr : vertices.data(), draw.count,
                                    D3DDP_WAIT),
              draw.expected)
        << draw.what;
  }
  EXPECT_EQ(device->EndScene(), D3D_OK);
  EXPECT_TRUE(Snapshot() == before);
  // The same vertices do draw when the call is sound.
  EXPECT_EQ(DrawInScene(Triangle()), D3D_OK);
  EXPECT_EQ(Pixel(8, 8), kWhite);
}

// A draw outside BeginScene/EndScene is refused before its arguments are looked at.
TEST_F(DrawPrimitiveTest, OutsideASceneNothingIsDrawn) {
  std::vector<D3DLVERTEX> triangle = Triangle();
  const auto draw = [&](D3DVERTEXTYPE type) {
    return device->DrawPrimitive(D3DPT_TRIANGLELIST, type, triangle.data(), 3, D3DDP_WAIT);
  };
  const std::vector<std::uint8_t> before = Snapshot();
  EXPECT_EQ(draw(D3DVT_LVERTEX), D3DERR_SCENE_NOT_IN_SCENE);
  EXPECT_EQ(draw(D3DVT_TLVERTEX), D3DERR_SCENE_NOT_IN_SCENE);
  EXPECT_EQ(device->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
  ASSERT_EQ(device->BeginScene(), D3D_OK);
  EXPECT_EQ(device->BeginScene(), D3DERR_SCENE_IN_SCENE);
  ASSERT_EQ(device->EndScene(), D3D_OK);  // one scene was open, not two
  EXPECT_EQ(device->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
  EXPECT_EQ(draw(D3DVT_LVERTEX), D3DERR_SCENE_NOT_IN_SCENE);
  EXPECT_TRUE(Snapshot() == before);
}

// No vertices, or fewer than one primitive's, draw nothing and succeed; the vertices past the
// last whole primitive are left out and the whole ones drawn.
TEST_F(DrawPrimitiveTest, CountsThatAreNotWholePrimitives) {
  const std::vector<std::uint8_t> before = Snapshot();
  ASSERT_EQ(device->BeginScene(), D3D_OK);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_LVERTEX, nullptr, 0, 0), D3D_OK);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_LINELIST, D3DVT_LVERTEX, nullptr, 0, 0), D3D_OK);
  std::vector<D3DLVERTEX> triangle = Triangle();
  EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_LVERTEX, triangle.data(), 2, 0),
            D3D_OK);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_LINELIST, D3DVT_LVERTEX, triangle.data(), 1, 0), D3D_OK);
  ASSERT_EQ(device->EndScene(), D3D_OK);
  EXPECT_TRUE(Snapshot() == before);

  // Four vertices: the triangle, and a fourth that would have reached the bottom-right corner.
  std::vector<D3DLVERTEX> four = Triangle(0xFF00FF00);
  four.push_back(Corner(32, 32, 0xFF00FF00));
  EXPECT_EQ(DrawInScene(four), D3D_OK);
  EXPECT_EQ(Pixel(8, 8), 0x07E0u);
  EXPECT_EQ(Pixel(28, 28), kBackground);

  // Three line vertices: a line along row 20 and an end without a partner.
  std::vector<D3DLVERTEX> lines = {Corner(2, 20, 0xFFFF0000), Corner(30, 20, 0xFFFF0000),
                                   Corner(16, 2, 0xFFFF0000)};
  ASSERT_EQ(device->BeginScene(), D3D_OK);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_LINELIST, D3DVT_LVERTEX, lines.data(), 3, 0), D3D_OK);
  ASSERT_EQ(device->EndScene(), D3D_OK);
  EXPECT_EQ(Pixel(16, 20), 0xF800u);
}

}  // namespace
