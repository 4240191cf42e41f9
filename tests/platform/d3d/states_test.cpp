// Render states, light states and transforms: each read back as set, in its own place, and the
// numbers and pointers the device refuses; and what the states ask of the rasterizer.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <utility>

#include "platform/d3d/device_states.h"
#include "tests/platform/d3d/d3d_fixture.h"

namespace {

using StatesTest = Direct3DDeviceTest;

D3DTRANSFORMSTATETYPE Transform(DWORD value) {
  return static_cast<D3DTRANSFORMSTATETYPE>(value);
}

// Sets every state in [first, last] but `skipped` to a value of its own, checks that the bad
// numbers and a null out-pointer are refused, leaving the value read alone, and reads all back.
template <typename State, typename Set, typename Get>
void ExpectKeptEachInItsOwnPlace(DWORD first, DWORD last, DWORD skipped,
                                 std::initializer_list<DWORD> bad, Set set, Get get) {
  for (DWORD state = first; state <= last; ++state) {
    if (state == skipped) continue;
    ASSERT_EQ(set(State(state), 0x5000 + state), D3D_OK) << state;
  }
  for (DWORD state : bad) {
    DWORD value = 7;
    EXPECT_EQ(set(State(state), 1), DDERR_INVALIDPARAMS) << state;
    EXPECT_EQ(get(State(state), &value), DDERR_INVALIDPARAMS) << state;
    EXPECT_EQ(value, 7u) << state;
  }
  EXPECT_EQ(get(State(first), nullptr), DDERR_INVALIDPARAMS);
  for (DWORD state = first; state <= last; ++state) {
    if (state == skipped) continue;
    DWORD value = 0;
    EXPECT_EQ(get(State(state), &value), D3D_OK) << state;
    EXPECT_EQ(value, 0x5000 + state) << state;
  }
}

// Render states 1 to 49; Direct3D names no state 42.
TEST_F(StatesTest, RenderStatesAreKeptEachInItsOwnPlace) {
  ExpectKeptEachInItsOwnPlace<D3DRENDERSTATETYPE>(
      1, D3DRENDERSTATE_ANISOTROPY, 42, {0, 42, D3DRENDERSTATE_ANISOTROPY + 1, 0xFFFFFFFF},
      [&](D3DRENDERSTATETYPE s, DWORD v) { return device->SetRenderState(s, v); },
      [&](D3DRENDERSTATETYPE s, LPDWORD v) { return device->GetRenderState(s, v); });
}

TEST_F(StatesTest, LightStatesAreKeptEachInItsOwnPlace) {
  ExpectKeptEachInItsOwnPlace<D3DLIGHTSTATETYPE>(
      1, D3DLIGHTSTATE_FOGDENSITY, 0, {0, D3DLIGHTSTATE_FOGDENSITY + 1, 0xFFFFFFFF},
      [&](D3DLIGHTSTATETYPE s, DWORD v) { return device->SetLightState(s, v); },
      [&](D3DLIGHTSTATETYPE s, LPDWORD v) { return device->GetLightState(s, v); });
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

// A texture has one level: each mip filter samples as its filter within a level does.
TEST(DeviceStates, MipFiltersOnOneLevelSampleAsTheirInLevelFilter) {
  using platform::raster::TextureFilter;
  const std::pair<DWORD, TextureFilter> filters[] = {
      {D3DFILTER_NEAREST, TextureFilter::Point},
      {D3DFILTER_LINEAR, TextureFilter::Bilinear},
      {D3DFILTER_MIPNEAREST, TextureFilter::Point},
      {D3DFILTER_MIPLINEAR, TextureFilter::Bilinear},
      {D3DFILTER_LINEARMIPNEAREST, TextureFilter::Point},
      {D3DFILTER_LINEARMIPLINEAR, TextureFilter::Bilinear},
  };
  for (const auto& [filter, sampled] : filters) {
    platform::d3d::DeviceStates states;
    states.render[D3DRENDERSTATE_TEXTUREMIN] = filter;
    platform::raster::RasterContext context;
    platform::d3d::ApplyStates(states, context);
    EXPECT_EQ(context.minFilter, sampled) << "filter " << filter;
  }
}

}  // namespace
