// The platform's drawing at the edges of its coordinates, where the fuzz targets look: each case
// found by fuzzing names its input under fuzz/regressions/.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/api/ddraw.h"
#include "platform/api/gdi.h"
#include "platform/testing.h"
#include "tests/robustness/support/bmp_bytes.h"
#include "tests/support/temp_folder.h"

namespace {

const HWND kWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1000));

class SurfaceDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw_, nullptr), DD_OK);
    ASSERT_EQ(directDraw_->SetCooperativeLevel(kWindow, DDSCL_NORMAL), DD_OK);
    DDSURFACEDESC description;
    std::memset(&description, 0, sizeof description);
    description.dwSize = DDSURFACEDESC_SIZE;
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    description.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
    description.dwWidth = 200;
    description.dwHeight = 60;
    description.ddpfPixelFormat = {DDPIXELFORMAT_SIZE, DDPF_RGB, 0, 16, 0xF800, 0x07E0, 0x1F, 0};
    ASSERT_EQ(directDraw_->CreateSurface(&description, &surface_, nullptr), DD_OK);
    ASSERT_EQ(surface_->GetDC(&dc_), DD_OK);
    LOGFONTA font{};
    font.lfHeight = 50;
    font_ = CreateFontIndirectA(&font);
    previous_ = SelectObject(dc_, font_);
    SetBkMode(dc_, OPAQUE);
    SetTextColor(dc_, RGB(255, 180, 0));
  }

  void TearDown() override {
    SelectObject(dc_, previous_);
    DeleteObject(font_);
    surface_->ReleaseDC(dc_);
    surface_->Release();
    directDraw_->Release();
    EXPECT_EQ(platform::testing::LiveObjects(), 0);
  }

  int LitPixels() {
    DDSURFACEDESC locked;
    std::memset(&locked, 0, sizeof locked);
    locked.dwSize = DDSURFACEDESC_SIZE;
    surface_->ReleaseDC(dc_);
    EXPECT_EQ(surface_->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
    int lit = 0;
    for (DWORD y = 0; y < locked.dwHeight; ++y) {
      const auto* row = static_cast<const std::uint16_t*>(locked.lpSurface) +
                        y * static_cast<DWORD>(locked.lPitch) / 2;
      for (DWORD x = 0; x < locked.dwWidth; ++x) lit += row[x] != 0;
    }
    surface_->Unlock(nullptr);
    EXPECT_EQ(surface_->GetDC(&dc_), DD_OK);
    return lit;
  }

  IDirectDraw* directDraw_ = nullptr;
  IDirectDrawSurface* surface_ = nullptr;
  HDC dc_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// text/opaque-box-bottom-overflows-int: the opaque box's bottom edge was y + the cell height in
// int, which overflows for a y near the largest coordinate.
TEST_F(SurfaceDrawing, OpaqueTextAtTheFarEndsOfTheCoordinatesDrawsNothingAndSucceeds) {
  const char text[] = "SPEED 50";
  for (int y : {INT_MAX, INT_MAX - 20, INT_MIN}) {
    for (int x : {INT_MIN, 0, INT_MAX}) {
      EXPECT_EQ(TextOutA(dc_, x, y, text, 8), TRUE) << x << ", " << y;
    }
  }
  EXPECT_EQ(LitPixels(), 0);
  EXPECT_EQ(TextOutA(dc_, 0, 0, text, 8), TRUE);
  EXPECT_GT(LitPixels(), 500) << "the same text on the surface shows";
}

// Block copies whose positions and sizes reach the ends of int: only the overlap of the two
// pictures is copied, computed without overflow.
TEST_F(SurfaceDrawing, BlockCopiesAtTheFarEndsOfTheCoordinatesCopyOnlyTheOverlap) {
  const TempFolder folder;
  const std::string path = folder.File("picture.bmp");
  const Bytes file = MakeBmp(24, 8, 8);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  HANDLE bitmap = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  ASSERT_NE(bitmap, nullptr);
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(source, static_cast<HBITMAP>(bitmap));

  for (int at : {INT_MIN, INT_MIN + 4, INT_MAX - 4, INT_MAX}) {
    for (int size : {0, 4, INT_MAX}) {
      EXPECT_EQ(BitBlt(dc_, at, 0, size, size, source, 0, 0, SRCCOPY), TRUE);
      EXPECT_EQ(BitBlt(dc_, 0, at, size, size, source, 0, 0, SRCCOPY), TRUE);
      EXPECT_EQ(BitBlt(dc_, 0, 0, size, size, source, at, at, SRCCOPY), TRUE);
    }
  }
  EXPECT_EQ(LitPixels(), 0);
  EXPECT_EQ(BitBlt(dc_, -4, -4, INT_MAX, INT_MAX, source, 0, 0, SRCCOPY), TRUE);
  EXPECT_EQ(LitPixels(), 16) << "the 4 x 4 corner the picture overlaps";

  SelectObject(source, previous);
  DeleteDC(source);
  DeleteObject(static_cast<HBITMAP>(bitmap));
}

}  // namespace
