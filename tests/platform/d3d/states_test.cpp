// Render states, light states and transforms: each read back as set, in its own place, and the
// numbers and pointers the device refuses.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/platform/d3d/d3d_fixture.h"

namespace {

using StatesTest = Direct3DDeviceTest;

// Render states 1 to 49; Direct3D names no state 42.
constexpr DWORD kLastRenderState = D3DRENDERSTATE_ANISOTROPY;
constexpr DWORD kUnnamedRenderState = 42;

D3DRENDERSTATETYPE RenderState(DWORD value) {
  return static_cast<D3DRENDERSTATETYPE>(value);
}

D3DLIGHTSTATETYPE LightState(DWORD value) {
  return static_cast<D3DLIGHTSTATETYPE>(value);
}

D3DTRANSFORMSTATETYPE Transform(DWORD value) {
  return static_cast<D3DTRANSFORMSTATETYPE>(value);
}

TEST_F(StatesTest, RenderStatesAreKeptEachInItsOwnPlace) {
  for (DWORD state = 1; state <= kLastRenderState; ++state) {
    if (state == kUnnamedRenderState) continue;
    ASSERT_EQ(device->SetRenderState(RenderState(state), 0x5000 + state), D3D_OK) << state;
  }
  for (DWORD state : {DWORD{0}, kUnnamedRenderState, kLastRenderState + 1, DWORD{0xFFFFFFFF}}) {
    DWORD value = 7;
    EXPECT_EQ(device->SetRenderState(RenderState(state), 1), DDERR_INVALIDPARAMS) << state;
    EXPECT_EQ(device->GetRenderState(RenderState(state), &value), DDERR_INVALIDPARAMS) << state;
    EXPECT_EQ(value, 7u) << state;
  }
  EXPECT_EQ(device->GetRenderState(D3DRENDERSTATE_CULLMODE, nullptr), DDERR_INVALIDPARAMS);
  for (DWORD state = 1; state <= kLastRenderState; ++state) {
    if (state == kUnnamedRenderState) continue;
    DWORD value = 0;
    EXPECT_EQ(device->GetRenderState(RenderState(state), &value), D3D_OK) << state;
    EXPECT_EQ(value, 0x5000 + state) << state;
  }
}

TEST_F(StatesTest, LightStatesAreKeptEachInItsOwnPlace) {
  for (DWORD state = D3DLIGHTSTATE_MATERIAL; state <= D3DLIGHTSTATE_FOGDENSITY; ++state) {
    ASSERT_EQ(device->SetLightState(LightState(state), 0x6000 + state), D3D_OK) << state;
  }
  for (DWORD state : {DWORD{0}, DWORD{D3DLIGHTSTATE_FOGDENSITY + 1}, DWORD{0xFFFFFFFF}}) {
    DWORD value = 7;
    EXPECT_EQ(device->SetLightState(LightState(state), 1), DDERR_INVALIDPARAMS) << state;
    EXPECT_EQ(device->GetLightState(LightState(state), &value), DDERR_INVALIDPARAMS) << state;
    EXPECT_EQ(value, 7u) << state;
  }
  EXPECT_EQ(device->GetLightState(D3DLIGHTSTATE_FOGMODE, nullptr), DDERR_INVALIDPARAMS);
  for (DWORD state = D3DLIGHTSTATE_MATERIAL; state <= D3DLIGHTSTATE_FOGDENSITY; ++state) {
    DWORD value = 0;
    EXPECT_EQ(device->GetLightState(LightState(state), &value), D3D_OK) << state;
    EXPECT_EQ(value, 0x6000 + state) << state;
  }
}

D3DMATRIX Filled(float first) {
  D3DMATRIX matrix;
  float* at = &matrix._11;
  for (int i = 0; i < 16; ++i) at[i] = first + static_cast<float>(i);
  return matrix;
}

bool Same(const D3DMATRIX& a, const D3DMATRIX& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Identity until set; world, view and projection apart; a refused call changes nothing.
TEST_F(StatesTest, TransformsAreKeptEachInItsOwnPlace) {
  const D3DMATRIX identity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const D3DTRANSFORMSTATETYPE kinds[] = {D3DTRANSFORMSTATE_WORLD, D3DTRANSFORMSTATE_VIEW,
                                         D3DTRANSFORMSTATE_PROJECTION};
  for (D3DTRANSFORMSTATETYPE kind : kinds) {
    D3DMATRIX read = Filled(-1.0f);
    ASSERT_EQ(device->GetTransform(kind, &read), D3D_OK);
    EXPECT_TRUE(Same(read, identity)) << kind;
    D3DMATRIX set = Filled(100.0f * static_cast<float>(kind));
    ASSERT_EQ(device->SetTransform(kind, &set), D3D_OK);
  }
  D3DMATRIX other = Filled(-50.0f);
  for (DWORD kind : {DWORD{0}, DWORD{D3DTRANSFORMSTATE_PROJECTION + 1}, DWORD{0xFFFFFFFF}}) {
    D3DMATRIX read = Filled(-1.0f);
    EXPECT_EQ(device->SetTransform(Transform(kind), &other), DDERR_INVALIDPARAMS) << kind;
    EXPECT_EQ(device->GetTransform(Transform(kind), &read), DDERR_INVALIDPARAMS) << kind;
    EXPECT_TRUE(Same(read, Filled(-1.0f))) << kind;
  }
  for (D3DTRANSFORMSTATETYPE kind : kinds) {
    EXPECT_EQ(device->SetTransform(kind, nullptr), DDERR_INVALIDPARAMS) << kind;
    EXPECT_EQ(device->GetTransform(kind, nullptr), DDERR_INVALIDPARAMS) << kind;
    D3DMATRIX read{};
    ASSERT_EQ(device->GetTransform(kind, &read), D3D_OK);
    EXPECT_TRUE(Same(read, Filled(100.0f * static_cast<float>(kind)))) << kind;
  }
}

// The world matrix is the one applied to the vertices: moved 16 pixels right, the triangle
// leaves the viewport's left edge uncovered.
TEST_F(StatesTest, TheWorldMatrixMovesWhatIsDrawn) {
  D3DMATRIX moved{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 16, 0, 0, 1};
  ASSERT_EQ(device->SetTransform(D3DTRANSFORMSTATE_WORLD, &moved), D3D_OK);
  EXPECT_EQ(DrawInScene(Triangle()), D3D_OK);
  EXPECT_EQ(Pixel(4, 4), kBackground);
  EXPECT_EQ(Pixel(20, 4), 0xFFFFu);
}

}  // namespace
