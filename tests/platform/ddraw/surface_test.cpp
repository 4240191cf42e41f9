// The flip chain and the memory of surfaces: flips, colour fills, locks and device contexts.
#include "platform/api/gdi.h"
#include "tests/platform/ddraw/ddraw_fixture.h"

namespace {

using platform::host::headless::LastFrame;

TEST_F(DirectDrawTest, FlipChainIsTwo640x480Rgb565Surfaces) {
  IDirectDrawSurface3* front = nullptr;
  IDirectDrawSurface3* back = nullptr;
  CreateFlipChain(&front, &back);
  DDSURFACEDESC description = GamesSizeDescription(back);
  EXPECT_EQ(description.ddpfPixelFormat.dwRBitMask, 0xF800u);
  EXPECT_NE(description.ddsCaps.dwCaps & DDSCAPS_BACKBUFFER, 0u);
  EXPECT_NE(description.ddsCaps.dwCaps & DDSCAPS_3DDEVICE, 0u);
  ASSERT_EQ(front->GetSurfaceDesc(&description), DD_OK);
  EXPECT_NE(description.ddsCaps.dwCaps & DDSCAPS_FRONTBUFFER, 0u);
  EXPECT_EQ(description.dwBackBufferCount, 1u);
  // Nothing else is attached: there is no depth buffer.
  DDSCAPS depth{DDSCAPS_ZBUFFER};
  IDirectDrawSurface3* none = nullptr;
  EXPECT_EQ(front->GetAttachedSurface(&depth, &none), DDERR_NOTFOUND);
  EXPECT_EQ(LiveObjects(platform::testing::ObjectKind::Surface), 2);
  // The game never releases the back buffer: it goes with the front surface.
  EXPECT_EQ(front->Release(), 0u);
  EXPECT_EQ(LiveObjects(platform::testing::ObjectKind::Surface), 0);
}

TEST_F(DirectDrawTest, FlipChainRequests) {
  DDSURFACEDESC description = FlipChainDescription(2);
  IDirectDrawSurface* surface = nullptr;
  EXPECT_EQ(directDraw->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPARAMS);
  description.dwBackBufferCount = 1;
  description.ddsCaps.dwCaps &= ~DDSCAPS_COMPLEX;
  EXPECT_EQ(directDraw->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDCAPS);
  IDirectDrawSurface3* front = nullptr;
  IDirectDrawSurface3* back = nullptr;
  CreateFlipChain(&front, &back);
  description.ddsCaps.dwCaps |= DDSCAPS_COMPLEX;
  EXPECT_EQ(directDraw->CreateSurface(&description, &surface, nullptr),
            DDERR_PRIMARYSURFACEALREADYEXISTS);
  ASSERT_EQ(directDraw->SetCooperativeLevel(FakeWindow(), DDSCL_NORMAL), DD_OK);
  front->Release();
  EXPECT_EQ(directDraw->CreateSurface(&description, &surface, nullptr), DDERR_NOEXCLUSIVEMODE);
  EXPECT_EQ(surface, nullptr);
}

TEST_F(DirectDrawTest, FlipSwapsFrontAndBackAndShowsTheFront) {
  IDirectDrawSurface3* front = nullptr;
  IDirectDrawSurface3* back = nullptr;
  CreateFlipChain(&front, &back);
  DDBLTFX fx = Fill(0x1234);
  ASSERT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
  ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(ReadPixel(front, 639, 479), 0x1234u);
  EXPECT_EQ(ReadPixel(back, 0, 0), 0u);
  const auto* frame = LastFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->width, 640);
  EXPECT_EQ(frame->height, 480);
  EXPECT_EQ(frame->pixels[0], 0x1234);
  EXPECT_EQ(frame->pixels[640 * 480 - 1], 0x1234);

  // A flip with the back buffer named, then one that shows the old front again.
  ASSERT_EQ(front->Flip(back, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(LastFrame()->pixels[0], 0);
  EXPECT_EQ(platform::host::headless::PresentedFrames(), 2u);

  EXPECT_EQ(back->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
  DDSURFACEDESC locked = Description(0, 0);
  ASSERT_EQ(back->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
  back->Unlock(nullptr);
  front->Release();
}

TEST_F(DirectDrawTest, ColourFillWritesTheRawValueIntoTheRectangle) {
  IDirectDrawSurface* surface = CreateTexture(8, 4, kRgb565);
  DDBLTFX fx = Fill(0xABCDEF12);  // only the low 16 bits belong to a pixel
  RECT rect{2, 1, 5, 3};
  ASSERT_EQ(surface->Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  EXPECT_EQ(ReadPixel(surface, 2, 1), 0xEF12u);
  EXPECT_EQ(ReadPixel(surface, 4, 2), 0xEF12u);
  EXPECT_EQ(ReadPixel(surface, 1, 1), 0u);
  EXPECT_EQ(ReadPixel(surface, 5, 2), 0u);
  EXPECT_EQ(ReadPixel(surface, 3, 3), 0u);
  RECT outside{6, 0, 9, 1};
  EXPECT_EQ(surface->Blt(&outside, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);
  RECT empty{3, 1, 3, 2};
  EXPECT_EQ(surface->Blt(&empty, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);
  EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_WAIT, &fx), DDERR_UNSUPPORTED);
  surface->Release();

  IDirectDrawSurface* wide = CreateTexture(3, 2, kXrgb8888);
  ASSERT_EQ(wide->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  EXPECT_EQ(ReadPixel(wide, 2, 1), 0xABCDEF12u);
  wide->Release();
}

TEST_F(DirectDrawTest, LockGivesRowsPaddedToFourBytes) {
  IDirectDrawSurface* narrow = CreateTexture(3, 2, kRgb565);
  DDSURFACEDESC locked = Description(0, 0);
  ASSERT_EQ(narrow->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(locked.lPitch, 8);
  EXPECT_NE(locked.dwFlags & DDSD_LPSURFACE, 0u);
  auto* first = static_cast<std::uint8_t*>(locked.lpSurface);
  DDSURFACEDESC again = Description(0, 0);
  EXPECT_EQ(narrow->Lock(nullptr, &again, 0, nullptr), DDERR_SURFACEBUSY);
  HDC dc = nullptr;
  EXPECT_EQ(narrow->GetDC(&dc), DDERR_SURFACEBUSY);
  ASSERT_EQ(narrow->Unlock(nullptr), DD_OK);
  EXPECT_EQ(narrow->Unlock(nullptr), DDERR_NOTLOCKED);
  RECT corner{2, 1, 3, 2};
  ASSERT_EQ(narrow->Lock(&corner, &locked, 0, nullptr), DD_OK);
  EXPECT_EQ(static_cast<std::uint8_t*>(locked.lpSurface), first + 8 + 4);
  narrow->Unlock(nullptr);
  narrow->Release();

  IDirectDrawSurface* indexed = CreateTexture(5, 1, kIndexed8);
  ASSERT_EQ(indexed->Lock(nullptr, &locked, 0, nullptr), DD_OK);
  EXPECT_EQ(locked.lPitch, 8);
  indexed->Unlock(nullptr);
  indexed->Release();
}

TEST_F(DirectDrawTest, DeviceContextDrawsIntoTheSurface) {
  IDirectDrawSurface3* front = nullptr;
  IDirectDrawSurface3* back = nullptr;
  CreateFlipChain(&front, &back);
  HDC dc = nullptr;
  ASSERT_EQ(back->GetDC(&dc), DD_OK);
  HDC second = nullptr;
  EXPECT_EQ(back->GetDC(&second), DDERR_DCALREADYCREATED);
  DDSURFACEDESC locked = Description(0, 0);
  EXPECT_EQ(back->Lock(nullptr, &locked, 0, nullptr), DDERR_SURFACEBUSY);
  EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
  SetPixel(dc, 3, 2, RGB(255, 255, 255));
  SetPixel(dc, 4, 2, RGB(255, 0, 0));
  EXPECT_EQ(front->ReleaseDC(dc), DDERR_NODC);
  ASSERT_EQ(back->ReleaseDC(dc), DD_OK);
  EXPECT_EQ(back->ReleaseDC(dc), DDERR_NODC);
  EXPECT_EQ(ReadPixel(back, 3, 2), 0xFFFFu);
  EXPECT_EQ(ReadPixel(back, 4, 2), 0xF800u);
  EXPECT_EQ(LiveObjects(platform::testing::ObjectKind::DeviceContext), 0);
  front->Release();
}

TEST_F(DirectDrawTest, ColourKeyIsOneRawValue) {
  IDirectDrawSurface* surface = CreateTexture(4, 4, kRgb565);
  DDCOLORKEY key{};
  EXPECT_EQ(surface->GetColorKey(DDCKEY_SRCBLT, &key), DDERR_NOCOLORKEY);
  DDCOLORKEY range{0x0000, 0x0010};
  EXPECT_EQ(surface->SetColorKey(DDCKEY_SRCBLT | DDCKEY_COLORSPACE, &range), DDERR_UNSUPPORTED);
  EXPECT_EQ(surface->SetColorKey(DDCKEY_DESTBLT, &range), DDERR_UNSUPPORTED);
  EXPECT_EQ(surface->SetColorKey(DDCKEY_SRCBLT | DDCKEY_DESTBLT, &range), DDERR_INVALIDPARAMS);
  // Without DDCKEY_COLORSPACE only the low value counts.
  ASSERT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, &range), DD_OK);
  ASSERT_EQ(surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
  EXPECT_EQ(key.dwColorSpaceLowValue, 0u);
  EXPECT_EQ(key.dwColorSpaceHighValue, 0u);
  DDCOLORKEY white{0xFFFF, 0xFFFF};
  ASSERT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, &white), DD_OK);
  DDSURFACEDESC description = Description(0, 0);
  ASSERT_EQ(surface->GetSurfaceDesc(&description), DD_OK);
  EXPECT_NE(description.dwFlags & DDSD_CKSRCBLT, 0u);
  EXPECT_EQ(description.ddckCKSrcBlt.dwColorSpaceLowValue, 0xFFFFu);
  ASSERT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, nullptr), DD_OK);
  EXPECT_EQ(surface->GetColorKey(DDCKEY_SRCBLT, &key), DDERR_NOCOLORKEY);
  surface->Release();
}

}  // namespace
