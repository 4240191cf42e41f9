// The DirectDraw object: drivers, creation, capabilities, cooperative level, display mode,
// reference counts and the reclaiming of everything at its final release.
#include <string>
#include <vector>

#include "tests/platform/ddraw/ddraw_fixture.h"

namespace {

using platform::testing::LiveObjects;
using platform::testing::ObjectKind;

struct SeenDriver {
  bool nullGuid;
  std::string description;
  std::string name;
};

BOOL RecordDriver(GUID* guid, LPSTR description, LPSTR name, LPVOID context) {
  static_cast<std::vector<SeenDriver>*>(context)->push_back({guid == nullptr, description, name});
  return DDENUMRET_OK;
}

TEST(DirectDrawDrivers, OnePrimaryDisplayWithoutThreeDHardware) {
  std::vector<SeenDriver> seen;
  ASSERT_EQ(DirectDrawEnumerateA(RecordDriver, &seen), DD_OK);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].nullGuid);
  EXPECT_EQ(seen[0].description, "Primary Display Driver");
  EXPECT_EQ(seen[0].name, "display");
  EXPECT_EQ(DirectDrawEnumerateA(nullptr, &seen), DDERR_INVALIDPARAMS);

  IDirectDraw* directDraw = nullptr;
  ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
  DDCAPS driver{};
  DDCAPS emulation{};
  driver.dwSize = emulation.dwSize = DDCAPS_SIZE;
  ASSERT_EQ(directDraw->GetCaps(&driver, &emulation), DD_OK);
  EXPECT_EQ(driver.dwCaps & DDCAPS_3D, 0u);
  EXPECT_EQ(driver.ddsCaps.dwCaps & DDSCAPS_TEXTURE, 0u);
  EXPECT_NE(emulation.ddsCaps.dwCaps & DDSCAPS_TEXTURE, 0u);
  EXPECT_EQ(driver.dwSize, DDCAPS_SIZE);
  driver.dwSize = 360;
  EXPECT_EQ(directDraw->GetCaps(&driver, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(directDraw->Release(), 0u);
}

TEST(DirectDrawDrivers, CreationRejectsUnknownDriversAndAggregation) {
  IDirectDraw* directDraw = reinterpret_cast<IDirectDraw*>(0x1);
  GUID other = IID_IDirectDraw;
  EXPECT_EQ(DirectDrawCreate(&other, &directDraw, nullptr), DDERR_INVALIDDIRECTDRAWGUID);
  EXPECT_EQ(directDraw, nullptr);
  IUnknown* outer = reinterpret_cast<IUnknown*>(0x1);
  EXPECT_EQ(DirectDrawCreate(nullptr, &directDraw, outer), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(DirectDrawCreate(nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(LiveObjects(), 0);
}

TEST(DirectDrawObject, InterfacesShareOneReferenceCount) {
  IDirectDraw* first = nullptr;
  ASSERT_EQ(DirectDrawCreate(nullptr, &first, nullptr), DD_OK);
  IDirectDraw2* second = nullptr;
  ASSERT_EQ(first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<LPVOID*>(&second)), DD_OK);
  EXPECT_EQ(first->Release(), 1u);
  EXPECT_EQ(LiveObjects(ObjectKind::DirectDraw), 1);
  void* none = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(second->QueryInterface(IID_IDirectDrawSurface3, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(second->Release(), 0u);
  EXPECT_EQ(LiveObjects(), 0);
}

TEST(DirectDrawObject, OffersDirect3DOnlyOnceTheStartUpInstalledIt) {
  IDirectDraw* directDraw = nullptr;
  ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
  platform::ClearLastErrorText();
  void* direct3D = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(directDraw->QueryInterface(IID_IDirect3D2, &direct3D), E_NOINTERFACE);
  EXPECT_EQ(direct3D, nullptr);
  EXPECT_NE(platform::LastErrorText().find("InstallDirect3D was not called"), std::string::npos);

  platform::testing::InstallDirect3D();
  ASSERT_EQ(directDraw->QueryInterface(IID_IDirect3D2, &direct3D), DD_OK);
  EXPECT_EQ(directDraw->Release(), 1u);  // the Direct3D interface holds its DirectDraw object
  EXPECT_EQ(static_cast<IDirect3D2*>(direct3D)->Release(), 0u);
  EXPECT_EQ(LiveObjects(), 0);
  platform::testing::InstallDirect3DHooks({});
}

TEST(DirectDrawObject, OnlyOneObjectHoldsTheScreen) {
  IDirectDraw* a = nullptr;
  IDirectDraw* b = nullptr;
  ASSERT_EQ(DirectDrawCreate(nullptr, &a, nullptr), DD_OK);
  ASSERT_EQ(DirectDrawCreate(nullptr, &b, nullptr), DD_OK);
  constexpr DWORD kExclusive = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN;
  EXPECT_EQ(a->SetCooperativeLevel(nullptr, kExclusive), DDERR_INVALIDPARAMS);
  EXPECT_EQ(a->SetCooperativeLevel(FakeWindow(), DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
  EXPECT_EQ(a->SetCooperativeLevel(FakeWindow(), DDSCL_NORMAL | DDSCL_EXCLUSIVE),
            DDERR_INVALIDPARAMS);
  EXPECT_EQ(a->SetDisplayMode(640, 480, 16), DDERR_NOEXCLUSIVEMODE);
  ASSERT_EQ(a->SetCooperativeLevel(FakeWindow(), kExclusive), DD_OK);
  EXPECT_EQ(b->SetCooperativeLevel(FakeWindow(), kExclusive), DDERR_EXCLUSIVEMODEALREADYSET);
  EXPECT_EQ(b->SetCooperativeLevel(FakeWindow(), DDSCL_NORMAL), DD_OK);
  a->Release();  // gives the screen up with the object
  EXPECT_EQ(b->SetCooperativeLevel(FakeWindow(), kExclusive), DD_OK);
  b->Release();
}

TEST_F(DirectDrawTest, OnlyTheGamesDisplayModeExists) {
  EXPECT_EQ(directDraw->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
  EXPECT_EQ(directDraw->SetDisplayMode(640, 480, 16, 60, 0), DD_OK);
  EXPECT_EQ(directDraw->SetDisplayMode(640, 480, 32, 0, 0), DDERR_INVALIDMODE);
  EXPECT_EQ(directDraw->SetDisplayMode(800, 600, 16, 0, 0), DDERR_INVALIDMODE);
  EXPECT_EQ(directDraw->SetDisplayMode(640, 480, 16, 85, 0), DDERR_INVALIDMODE);
  EXPECT_FALSE(platform::LastErrorText().empty());

  DDSURFACEDESC mode = Description(0, 0);
  ASSERT_EQ(directDraw->GetDisplayMode(&mode), DD_OK);
  EXPECT_EQ(mode.dwWidth, 640u);
  EXPECT_EQ(mode.dwHeight, 480u);
  EXPECT_EQ(mode.ddpfPixelFormat.dwRGBBitCount, 16u);
  EXPECT_EQ(mode.ddpfPixelFormat.dwRBitMask, 0xF800u);
  EXPECT_EQ(mode.ddpfPixelFormat.dwGBitMask, 0x07E0u);
  EXPECT_EQ(mode.ddpfPixelFormat.dwBBitMask, 0x001Fu);
  mode.dwSize = 0;
  EXPECT_EQ(directDraw->GetDisplayMode(&mode), DDERR_INVALIDPARAMS);
}

TEST_F(DirectDrawTest, PalettesHold256Entries) {
  PALETTEENTRY entries[256] = {};
  entries[7] = {10, 20, 30, 0};
  IDirectDrawPalette* palette = nullptr;
  EXPECT_EQ(directDraw->CreatePalette(DDPCAPS_4BIT, entries, &palette, nullptr),
            DDERR_INVALIDPARAMS);
  EXPECT_EQ(directDraw->CreatePalette(DDPCAPS_8BIT, nullptr, &palette, nullptr),
            DDERR_INVALIDPARAMS);
  ASSERT_EQ(directDraw->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
  PALETTEENTRY read[2] = {};
  ASSERT_EQ(palette->GetEntries(0, 6, 2, read), DD_OK);
  EXPECT_EQ(read[1].peGreen, 20);
  EXPECT_EQ(palette->GetEntries(0, 255, 2, read), DDERR_INVALIDPARAMS);
  EXPECT_EQ(palette->SetEntries(0, 256, 1, read), DDERR_INVALIDPARAMS);
  EXPECT_EQ(palette->Release(), 0u);
  EXPECT_EQ(LiveObjects(ObjectKind::Palette), 0);
}

TEST_F(DirectDrawTest, FinalReleaseReclaimsEverythingItMade) {
  IDirectDrawSurface3* front = nullptr;
  IDirectDrawSurface3* back = nullptr;
  CreateFlipChain(&front, &back);
  IDirectDrawSurface* texture = CreateTexture(16, 16, kIndexed8);
  PALETTEENTRY entries[256] = {};
  IDirectDrawPalette* palette = nullptr;
  ASSERT_EQ(directDraw->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
  ASSERT_EQ(texture->SetPalette(palette), DD_OK);
  HDC dc = nullptr;
  ASSERT_EQ(texture->GetDC(&dc), DD_OK);  // a context still out is reclaimed too
  EXPECT_EQ(LiveObjects(ObjectKind::Surface), 3);
  EXPECT_EQ(LiveObjects(ObjectKind::DeviceContext), 1);
  EXPECT_EQ(directDraw->Release(), 0u);
  directDraw = nullptr;
  EXPECT_EQ(LiveObjects(), 0);
}

TEST_F(DirectDrawTest, WrongRecordSizesAreRejected) {
  DDSURFACEDESC description = TextureDescription(4, 4, kRgb565, DDSCAPS_TEXTURE);
  description.dwSize = 112;  // sizeof on this machine, not the DirectX 5 size
  IDirectDrawSurface* surface = nullptr;
  EXPECT_EQ(directDraw->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPARAMS);
  surface = CreateTexture(4, 4, kRgb565);
  description.dwSize = 0;
  EXPECT_EQ(surface->GetSurfaceDesc(&description), DDERR_INVALIDPARAMS);
  EXPECT_EQ(surface->Lock(nullptr, &description, 0, nullptr), DDERR_INVALIDPARAMS);
  DDBLTFX fx{};
  fx.dwSize = 96;
  EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDPARAMS);
  DDPIXELFORMAT format{};
  EXPECT_EQ(surface->GetPixelFormat(&format), DDERR_INVALIDPARAMS);
  surface->Release();
}

}  // namespace
