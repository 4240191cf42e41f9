// What the game relies on of contexts and objects: SelectObject hands back what it replaces,
// objects in use cannot be deleted, and every object made is counted until it goes.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>

#include "platform/api/gdi.h"
#include "platform/core/last_error.h"
#include "platform/gdi/font_library.h"
#include "platform/gdi/gdi_state.h"
#include "platform/gdi/surface_dc.h"
#include "platform/testing.h"
#include "tests/platform/gdi/bmp_builder.h"

namespace {

using platform::testing::LiveObjects;
using platform::testing::ObjectKind;

HBITMAP SmallBitmap() {
  tirravel::test::BmpShape shape;
  shape.width = 2;
  shape.height = 2;
  shape.pixels.assign(4, 0x808080);
  const std::string path =
      tirravel::test::WriteTempFile("small.bmp", tirravel::test::EncodeBmp(shape));
  return static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

LOGFONTA Mincho(LONG height) {
  LOGFONTA description{};
  description.lfHeight = height;
  description.lfWeight = FW_BOLD;
  description.lfCharSet = SHIFTJIS_CHARSET;
  std::strcpy(description.lfFaceName, "\x95\x57\x8f\x80\x96\xbe\x92\xa9");  // 標準明朝
  return description;
}

TEST(GdiObjectTest, SelectObjectReturnsWhatItReplacesAndTheOriginalsGoBack) {
  const int before = LiveObjects();
  const int bitmapsBefore = LiveObjects(ObjectKind::Bitmap);
  const int fontsBefore = LiveObjects(ObjectKind::Font);
  const int contextsBefore = LiveObjects(ObjectKind::DeviceContext);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP first = SmallBitmap();
  HBITMAP second = SmallBitmap();
  const LOGFONTA description = Mincho(30);
  HFONT font = CreateFontIndirectA(&description);
  EXPECT_EQ(LiveObjects(ObjectKind::DeviceContext), contextsBefore + 1);
  EXPECT_EQ(LiveObjects(ObjectKind::Bitmap), bitmapsBefore + 2);
  EXPECT_EQ(LiveObjects(ObjectKind::Font), fontsBefore + 1);

  HGDIOBJ stockBitmap = SelectObject(dc, first);
  ASSERT_NE(stockBitmap, nullptr);
  EXPECT_EQ(SelectObject(dc, second), first);
  HGDIOBJ systemFont = SelectObject(dc, font);
  ASSERT_NE(systemFont, nullptr);
  EXPECT_EQ(SelectObject(dc, systemFont), font);
  EXPECT_EQ(SelectObject(dc, stockBitmap), second);

  LOGFONTA readBack{};
  EXPECT_EQ(GetObjectA(font, sizeof readBack, &readBack), static_cast<int>(sizeof(LOGFONTA)));
  EXPECT_EQ(std::memcmp(&readBack, &description, sizeof description), 0);
  EXPECT_EQ(GetObjectA(font, 0, nullptr), static_cast<int>(sizeof(LOGFONTA)));
  EXPECT_EQ(GetObjectA(first, 4, &readBack), 0);  // too small for a BITMAP

  EXPECT_TRUE(DeleteObject(font));
  EXPECT_TRUE(DeleteObject(first));
  EXPECT_TRUE(DeleteObject(second));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_EQ(LiveObjects(), before);
}

TEST(GdiObjectTest, ObjectsInUseAreNotDeletedAndUnknownHandlesAreRefused) {
  const int before = LiveObjects();
  HDC dc = CreateCompatibleDC(nullptr);
  HDC other = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = SmallBitmap();
  const LOGFONTA description = Mincho(50);
  HFONT font = CreateFontIndirectA(&description);
  HGDIOBJ stockBitmap = SelectObject(dc, bitmap);
  HGDIOBJ systemFont = SelectObject(dc, font);

  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_FALSE(DeleteObject(font));
  EXPECT_EQ(SelectObject(other, bitmap), nullptr) << "a bitmap lives in one context at a time";
  EXPECT_TRUE(DeleteObject(systemFont)) << "stock objects stay, deleting them is harmless";
  EXPECT_TRUE(DeleteObject(stockBitmap));

  // Deleting the context frees what it held.
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_FALSE(DeleteObject(font));
  EXPECT_EQ(SelectObject(other, font), nullptr);
  EXPECT_EQ(SetBkMode(other, 3), 0);
  EXPECT_EQ(SetBkMode(other, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetTextColor(other, RGB(1, 2, 3)), RGB(0, 0, 0));
  EXPECT_EQ(SetTextColor(other, RGB(4, 5, 6)), RGB(1, 2, 3));
  EXPECT_TRUE(DeleteDC(other));
  EXPECT_EQ(SetBkMode(other, OPAQUE), 0);
  EXPECT_EQ(TextOutA(other, 0, 0, "A", 1), FALSE);
  EXPECT_EQ(LiveObjects(), before);
}

// The serial of the font a new font object stands for, realised as the object is made.
std::uint64_t RealizedSerial(const LOGFONTA& description) {
  HFONT font = CreateFontIndirectA(&description);
  EXPECT_NE(font, nullptr);
  const std::uint64_t serial =
      platform::gdi::RealizedFontOf(*platform::gdi::FindFont(font))->Serial();
  DeleteObject(font);
  return serial;
}

TEST(GdiObjectTest, FontsBeyond1024PixelsAreRefusedBeforeAnythingIsMade) {
  const int fontsBefore = LiveObjects(ObjectKind::Font);
  // Sizes no other test asks for, so that each is realised here and numbered in turn.
  const std::uint64_t serialBefore = RealizedSerial(Mincho(977));
  for (const LONG size : {LONG{1025}, LONG{-1025}, LONG{INT_MAX}, LONG{INT_MIN}}) {
    LOGFONTA description = Mincho(size);
    platform::ClearLastErrorText();
    EXPECT_EQ(CreateFontIndirectA(&description), nullptr) << size;
    EXPECT_NE(platform::LastErrorText(), "");
    description = Mincho(50);
    description.lfWidth = size;
    EXPECT_EQ(CreateFontIndirectA(&description), nullptr) << size;
  }
  EXPECT_EQ(RealizedSerial(Mincho(983)), serialBefore + 1) << "a refused font was realised";
  EXPECT_EQ(LiveObjects(ObjectKind::Font), fontsBefore);
  const LOGFONTA largest = Mincho(-1024);
  HFONT font = CreateFontIndirectA(&largest);
  EXPECT_NE(font, nullptr);
  EXPECT_TRUE(DeleteObject(font));
}

TEST(GdiObjectTest, SurfaceContextsGoBackOnlyThroughTheSurface) {
  std::vector<std::uint16_t> pixels(16);
  const platform::PixelBuffer buffer{
      reinterpret_cast<std::uint8_t*>(pixels.data()), 4, 4, 8, platform::kRgb565Layout, nullptr};
  const int before = LiveObjects(ObjectKind::DeviceContext);
  HDC dc = platform::gdi::CreateSurfaceDC(buffer);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(LiveObjects(ObjectKind::DeviceContext), before + 1);
  HBITMAP bitmap = SmallBitmap();
  EXPECT_EQ(SelectObject(dc, bitmap), nullptr);
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_TRUE(platform::gdi::DeleteSurfaceDC(dc));
  EXPECT_FALSE(platform::gdi::DeleteSurfaceDC(dc));
  HDC memory = CreateCompatibleDC(nullptr);
  EXPECT_FALSE(platform::gdi::DeleteSurfaceDC(memory));
  DeleteDC(memory);
  DeleteObject(bitmap);
  EXPECT_EQ(LiveObjects(ObjectKind::DeviceContext), before);
}

}  // namespace
