// The course texture on the real DirectDraw and GDI, with a software 3-D device double.
#include "video/course_texture.h"
#include "video/bitmap_utilities.h"

#include <fstream>

#include "tests/video/bmp_file.h"
#include "tests/video/real_platform.h"

namespace {

using namespace device_test;
using namespace doubles;
using platform::testing::LiveObjects;
using platform::testing::ObjectKind;

TEST_F(RealPlatformTest, SoftwareTextureIsOneSurfaceHeldTwice) {
  const auto path =
      WriteBmp("rgb24.bmp", 3, 2, 24, {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x000000});
  Texture texture;
  ASSERT_EQ(texture.CreateFromBitmap(directDraw, &device, path.c_str()), 1);
  EXPECT_EQ(texture.owner, directDraw);
  EXPECT_EQ(texture.memorySurface, texture.deviceSurface);
  EXPECT_EQ(texture.palette, nullptr);
  EXPECT_EQ(texture.GetTextureHandle(), ForwardingTexture::kHandle);
  EXPECT_EQ(LiveObjects(ObjectKind::Surface), 1);
  EXPECT_EQ(LiveObjects(ObjectKind::Bitmap), 0);  // the bitmap was deleted
  // A 24-bit picture gets X8R8G8B8, copied pixel for pixel.
  EXPECT_EQ(RawPixel(texture.memorySurface, 0, 0) & 0xFFFFFF, 0x112233u);
  EXPECT_EQ(RawPixel(texture.memorySurface, 2, 0) & 0xFFFFFF, 0x778899u);
  EXPECT_EQ(RawPixel(texture.memorySurface, 1, 1) & 0xFFFFFF, 0xDDEEFFu);
  // Both fields hold a reference: the one surface goes at the second release.
  texture.ReleaseSurfaces();
  EXPECT_EQ(texture.memorySurface, nullptr);
  EXPECT_EQ(texture.deviceSurface, nullptr);
  EXPECT_EQ(texture.GetTextureHandle(), 0u);
  EXPECT_EQ(LiveObjects(ObjectKind::Surface), 0);
  EXPECT_EQ(texture.LoadToDevice(), 0);
}

TEST_F(RealPlatformTest, IndexedTextureCarriesTheBitmapsColourTable) {
  const auto path =
      WriteBmp("pal8.bmp", 4, 1, 8, {3, 2, 1, 0}, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF});
  Texture texture;
  ASSERT_EQ(texture.CreateFromBitmap(directDraw, &device, path.c_str()), 1);
  ASSERT_NE(texture.palette, nullptr);
  PALETTEENTRY entries[5] = {};
  ASSERT_EQ(texture.palette->GetEntries(0, 0, 5, entries), DD_OK);
  EXPECT_EQ(entries[1].peRed, 255);  // red and blue change places between the two layouts
  EXPECT_EQ(entries[1].peBlue, 0);
  EXPECT_EQ(entries[3].peBlue, 255);
  EXPECT_EQ(entries[4].peRed + entries[4].peGreen + entries[4].peBlue, 0);
  IDirectDrawPalette* attached = nullptr;
  ASSERT_EQ(texture.deviceSurface->GetPalette(&attached), DD_OK);
  EXPECT_EQ(attached, texture.palette);
  attached->Release();
  EXPECT_EQ(RawPixel(texture.memorySurface, 0, 0), 3u);
  EXPECT_EQ(RawPixel(texture.memorySurface, 3, 0), 0u);
  texture.ReleaseSurfaces();
  EXPECT_EQ(texture.palette, nullptr);
  EXPECT_EQ(LiveObjects(ObjectKind::Palette), 0);
}

TEST_F(RealPlatformTest, KeyOnA16BitTextureIsTheValueGdiWrites) {
  const auto path = WriteBmp("rgb16.bmp", 2, 1, 16, {0x7FFF, 0x001F});
  Texture texture;
  ASSERT_EQ(texture.CreateFromBitmap(directDraw, &device, path.c_str()), 1);
  ASSERT_EQ(RawPixel(texture.memorySurface, 0, 0), 0xFFFFu);  // RGB 565 white
  ASSERT_EQ(texture.SetKeyColor(RGB(0, 0, 0)), 1);
  EXPECT_EQ(SourceKey(texture.deviceSurface), 0x0000u);
  EXPECT_EQ(RawPixel(texture.memorySurface, 0, 0), 0xFFFFu);  // the probe pixel is put back
  ASSERT_EQ(texture.SetKeyColor(RGB(255, 0, 0)), 1);
  EXPECT_EQ(SourceKey(texture.deviceSurface), 0xF800u);
  // Without a colour the key is pixel (0, 0) itself, masked to its 16 bits.
  WriteRawPixel(texture.memorySurface, 0, 0, 0x1234);
  WriteRawPixel(texture.memorySurface, 1, 0, 0xABCD);
  ASSERT_EQ(texture.SetKeyColor(CLR_INVALID), 1);
  EXPECT_EQ(SourceKey(texture.deviceSurface), 0x1234u);
  EXPECT_EQ(RawPixel(texture.memorySurface, 0, 0), 0x1234u);
  texture.ReleaseSurfaces();
}

TEST_F(RealPlatformTest, KeyOnA32BitTextureIsTheWholeWord) {
  const auto path = WriteBmp("key32.bmp", 2, 2, 24, {0xFFFFFF, 0, 0, 0});
  Texture texture;
  ASSERT_EQ(texture.CreateFromBitmap(directDraw, &device, path.c_str()), 1);
  ASSERT_EQ(texture.SetKeyColor(0), 1);
  EXPECT_EQ(SourceKey(texture.deviceSurface), 0u);
  WriteRawPixel(texture.memorySurface, 0, 0, 0xFF102030u);
  ASSERT_EQ(texture.SetKeyColor(CLR_INVALID), 1);
  EXPECT_EQ(SourceKey(texture.deviceSurface), 0xFF102030u);
  texture.ReleaseSurfaces();
  EXPECT_EQ(texture.SetKeyColor(0), 0);  // an empty texture has nothing to key
}

TEST_F(RealPlatformTest, MissingOrUnreadableFileLeavesTheTextureAlone) {
  const auto good = WriteBmp("good.bmp", 2, 2, 24, {1, 2, 3, 4});
  Texture texture;
  ASSERT_EQ(texture.CreateFromBitmap(directDraw, &device, good.c_str()), 1);
  IDirectDrawSurface* before = texture.memorySurface;
  const std::string missing = BitmapFolder().File("no-such-texture.bmp");
  EXPECT_EQ(texture.CreateFromBitmap(directDraw, &device, missing.c_str()), 0);
  const std::string junk = BitmapFolder().File("junk.bmp");
  std::ofstream(junk) << "not a bitmap at all";
  EXPECT_EQ(texture.CreateFromBitmap(directDraw, &device, junk.c_str()), 0);
  EXPECT_EQ(texture.memorySurface, before);
  EXPECT_EQ(texture.deviceSurface, before);
  EXPECT_EQ(texture.GetTextureHandle(), ForwardingTexture::kHandle);
  EXPECT_EQ(LiveObjects(ObjectKind::Surface), 1);
  EXPECT_EQ(LoadBitmapImage(missing.c_str()), nullptr);
  texture.ReleaseSurfaces();
}

TEST_F(RealPlatformTest, NoAcceptableFormatLeavesTheTextureEmpty) {
  OfferFormats(device, {platform::ddraw::TextureFormats()[3]});  // ARGB 1555 only
  const auto path = WriteBmp("noformat.bmp", 2, 2, 24, {1, 2, 3, 4});
  Texture texture;
  EXPECT_EQ(texture.CreateFromBitmap(directDraw, &device, path.c_str()), 0);
  EXPECT_EQ(texture.memorySurface, nullptr);
  EXPECT_EQ(texture.deviceSurface, nullptr);
  EXPECT_EQ(LiveObjects(ObjectKind::Surface), 0);
  EXPECT_EQ(LiveObjects(ObjectKind::Bitmap), 0);
}

TEST_F(RealPlatformTest, MipMapLevelsTakeOneBitmapEach) {
  const std::string names[] = {
      WriteBmp("mip0.bmp", 4, 4, 24, std::vector<std::uint32_t>(16, 0x102030)),
      WriteBmp("mip1.bmp", 2, 2, 24, std::vector<std::uint32_t>(4, 0x405060)),
      WriteBmp("mip2.bmp", 1, 1, 24, {0x708090})};
  LPCSTR list[] = {names[0].c_str(), names[1].c_str(), names[2].c_str()};
  Texture texture;
  ASSERT_EQ(texture.CreateMipmapFromBitmaps(directDraw, &device, list, 3), 1);
  EXPECT_EQ(LiveObjects(ObjectKind::Surface), 3);
  EXPECT_EQ(LiveObjects(ObjectKind::Bitmap), 0);
  DDSCAPS caps{DDSCAPS_TEXTURE | DDSCAPS_MIPMAP};
  IDirectDrawSurface* level = texture.memorySurface;
  const std::uint32_t colours[] = {0x102030, 0x405060, 0x708090};
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      IDirectDrawSurface* next = nullptr;
      ASSERT_EQ(level->GetAttachedSurface(&caps, &next), DD_OK);
      next->Release();
      level = next;
    }
    EXPECT_EQ(RawPixel(level, 0, 0) & 0xFFFFFF, colours[i]) << "level " << i;
  }
  // A missing later bitmap stops the building but keeps what was built.
  LPCSTR broken[] = {names[0].c_str(), names[1].c_str(), "no-such-level.bmp"};
  EXPECT_EQ(texture.CreateMipmapFromBitmaps(directDraw, &device, broken, 3), 0);
  EXPECT_NE(texture.memorySurface, nullptr);
  texture.ReleaseSurfaces();
  EXPECT_EQ(LiveObjects(ObjectKind::Surface), 0);
}

TEST_F(RealPlatformTest, PlainSurfaceUtilities) {
  const auto path = WriteBmp("plain.bmp", 3, 1, 24, {0xFF0000, 0x00FF00, 0x0000FF});
  IDirectDrawSurface3* surface =
      CreateSurfaceFromBitmap(directDraw, path.c_str(), DDSCAPS_OFFSCREENPLAIN);
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(RawPixel(surface, 0, 0), 0xF800u);  // the display's RGB 565
  EXPECT_EQ(RawPixel(surface, 1, 0), 0x07E0u);
  EXPECT_EQ(RawPixel(surface, 2, 0), 0x001Fu);
  EXPECT_EQ(SetSurfaceKeyColor(surface, RGB(0, 255, 0)), 1);
  EXPECT_EQ(SourceKey(surface), 0x07E0u);
  EXPECT_EQ(RawPixel(surface, 0, 0), 0xF800u);
  EXPECT_EQ(surface->Release(), 0u);
  EXPECT_EQ(CreateSurfaceFromBitmap(directDraw, "no-such-picture.bmp", 0), nullptr);

  const auto indexed = WriteBmp("plain8.bmp", 2, 1, 8, {1, 0}, {0x000000, 0xFFFFFF});
  surface = CreateSurfaceFromBitmap(directDraw, indexed.c_str(), DDSCAPS_OFFSCREENPLAIN);
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(RawPixel(surface, 0, 0), 0xFFFFu);
  surface->Release();
  EXPECT_EQ(LiveObjects(ObjectKind::Palette), 0);
  EXPECT_EQ(LiveObjects(ObjectKind::Bitmap), 0);
}

TEST_F(RealPlatformTest, PaletteOfABitmapWithoutColourTableIsBlack) {
  const auto path = WriteBmp("table-less.bmp", 1, 1, 24, {0xFFFFFF});
  HBITMAP bitmap = LoadBitmapImage(path.c_str());
  ASSERT_NE(bitmap, nullptr);
  IDirectDrawPalette* palette = CreatePaletteFromBitmap(directDraw, bitmap);
  ASSERT_NE(palette, nullptr);
  PALETTEENTRY entries[256];
  ASSERT_EQ(palette->GetEntries(0, 0, 256, entries), DD_OK);
  for (const PALETTEENTRY& entry : entries) {
    EXPECT_EQ(entry.peRed | entry.peGreen | entry.peBlue | entry.peFlags, 0);
  }
  palette->Release();
  DeleteObject(bitmap);
}

}  // namespace
