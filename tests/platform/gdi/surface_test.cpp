// Device contexts over surface memory of every layout DirectDraw hands out: what SetPixel stores,
// what GetPixel reads, and how BitBlt converts a bitmap into the surface's format.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/gdi/surface_dc.h"
#include "platform/testing.h"
#include "tests/platform/gdi/bmp_builder.h"

namespace {

using platform::PixelBuffer;
using platform::PixelLayout;

constexpr PixelLayout kRgb555{16, false, 0x7C00, 0x03E0, 0x001F, 0};
constexpr PixelLayout kArgb1555{16, false, 0x7C00, 0x03E0, 0x001F, 0x8000};
constexpr PixelLayout kArgb4444{16, false, 0x0F00, 0x00F0, 0x000F, 0xF000};
constexpr PixelLayout kXrgb8888{32, false, 0xFF0000, 0x00FF00, 0x0000FF, 0};
constexpr PixelLayout kArgb8888{32, false, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000};
constexpr PixelLayout kRgb888{24, false, 0xFF0000, 0x00FF00, 0x0000FF, 0};
constexpr PixelLayout kIndexed8{8, true, 0, 0, 0, 0};
constexpr PixelLayout kIndexed4{4, true, 0, 0, 0, 0};

// A small surface's memory with a guard of known bytes after its last row.
struct Surface {
  Surface(PixelLayout layout, int width, int height,
          const platform::PaletteColour* palette = nullptr)
      : memory(static_cast<std::size_t>(Pitch(layout, width)) * height + kGuard, 0xA5) {
    buffer = {memory.data(), width, height, Pitch(layout, width), layout, palette};
    std::fill(memory.begin(), memory.end() - kGuard, 0);
  }
  static int Pitch(PixelLayout layout, int width) {
    return ((width * static_cast<int>(layout.bitCount) + 7) / 8 + 3) / 4 * 4;
  }
  std::uint32_t Raw(int x, int y) const {
    const std::uint8_t* row = memory.data() + y * buffer.pitch;
    std::uint32_t value = 0;
    switch (buffer.layout.bitCount) {
      case 4:
        return (x & 1) ? row[x / 2] & 0xF : row[x / 2] >> 4;
      case 8:
        return row[x];
      case 16:
        std::memcpy(&value, row + 2 * x, 2);
        return value;
      case 24:
        std::memcpy(&value, row + 3 * x, 3);
        return value;
      default:
        std::memcpy(&value, row + 4 * x, 4);
        return value;
    }
  }
  bool GuardIntact() const {
    return std::all_of(memory.end() - kGuard, memory.end(),
                       [](std::uint8_t b) { return b == 0xA5; });
  }
  static constexpr std::size_t kGuard = 64;
  std::vector<std::uint8_t> memory;
  PixelBuffer buffer;
};

// Black, then a reddish and an orange entry: (200, 100, 50) lies nearest the orange one.
std::array<platform::PaletteColour, 256> TestPalette() {
  std::array<platform::PaletteColour, 256> palette{};
  palette[1] = {210, 90, 60};   // distance 300 from (200, 100, 50)
  palette[2] = {200, 100, 40};  // distance 100
  palette[3] = {255, 255, 255};
  return palette;
}

struct LayoutCase {
  const char* name;
  PixelLayout layout;
  std::uint32_t orangeRaw;  // what (200, 100, 50) is stored as
  COLORREF orangeRead;      // and what reading it back gives
  std::uint32_t whiteRaw;
  std::uint32_t blackRaw;
};

TEST(SurfaceContextTest, SetPixelStoresWhatEachLayoutCanHold) {
  const auto palette = TestPalette();
  const LayoutCase cases[] = {
      // 16-bit RGB truncates: r >> 3, g >> 2, b >> 3; reading widens by bit replication.
      {"RGB 565", platform::kRgb565Layout, 0xCB26, RGB(206, 101, 49), 0xFFFF, 0x0000},
      {"RGB 555", kRgb555, 0x6586, RGB(206, 99, 49), 0x7FFF, 0x0000},
      // GDI knows no alpha; the alpha bits are written opaque.
      {"ARGB 1555", kArgb1555, 0xE586, RGB(206, 99, 49), 0xFFFF, 0x8000},
      {"ARGB 4444", kArgb4444, 0xFC63, RGB(204, 102, 51), 0xFFFF, 0xF000},
      {"XRGB 8888", kXrgb8888, 0x00C86432, RGB(200, 100, 50), 0x00FFFFFF, 0},
      {"ARGB 8888", kArgb8888, 0xFFC86432, RGB(200, 100, 50), 0xFFFFFFFF, 0xFF000000},
      {"RGB 888", kRgb888, 0xC86432, RGB(200, 100, 50), 0xFFFFFF, 0},
      {"8-bit palette", kIndexed8, 2, RGB(200, 100, 40), 3, 0},
      {"4-bit palette", kIndexed4, 2, RGB(200, 100, 40), 3, 0},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    Surface surface(c.layout, 5, 2, palette.data());
    HDC dc = platform::gdi::CreateSurfaceDC(surface.buffer);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(SetPixel(dc, 3, 1, RGB(200, 100, 50)), c.orangeRead);
    EXPECT_EQ(surface.Raw(3, 1), c.orangeRaw);
    EXPECT_EQ(GetPixel(dc, 3, 1), c.orangeRead);
    SetPixel(dc, 4, 1, RGB(255, 255, 255));
    SetPixel(dc, 0, 0, RGB(0, 0, 0));
    EXPECT_EQ(surface.Raw(4, 1), c.whiteRaw);
    EXPECT_EQ(surface.Raw(0, 0), c.blackRaw);
    EXPECT_EQ(surface.Raw(2, 1), 0u) << "a neighbour was touched";
    EXPECT_EQ(SetPixel(dc, 5, 0, RGB(1, 2, 3)), CLR_INVALID);
    EXPECT_EQ(SetPixel(dc, 0, -1, RGB(1, 2, 3)), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, -1, 0), CLR_INVALID);
    EXPECT_TRUE(surface.GuardIntact());
    EXPECT_TRUE(platform::gdi::DeleteSurfaceDC(dc));
  }
}

TEST(SurfaceContextTest, EveryRgb565ValueSurvivesReadingAndWritingBack) {
  // The texture's colour key probe saves a pixel with GetPixel and restores it with SetPixel.
  Surface surface(platform::kRgb565Layout, 256, 256);
  for (std::uint32_t value = 0; value < 65536; ++value) {
    std::memcpy(surface.memory.data() + 2 * value, &value, 2);
  }
  HDC dc = platform::gdi::CreateSurfaceDC(surface.buffer);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) SetPixel(dc, x, y, GetPixel(dc, x, y));
  }
  for (std::uint32_t value = 0; value < 65536; ++value) {
    ASSERT_EQ(surface.Raw(static_cast<int>(value % 256), static_cast<int>(value / 256)), value);
  }
  platform::gdi::DeleteSurfaceDC(dc);
}

HBITMAP LoadBmp(const tirravel::test::BmpShape& shape) {
  const std::string path =
      tirravel::test::WriteTempFile("blt.bmp", tirravel::test::EncodeBmp(shape));
  return static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

// Copies the whole of a bitmap to (x, y) of a surface, as the texture code does.
void Blit(HBITMAP bitmap, Surface& surface, int x, int y, int width, int height) {
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  HDC target = platform::gdi::CreateSurfaceDC(surface.buffer);
  EXPECT_TRUE(BitBlt(target, x, y, width, height, memory, 0, 0, SRCCOPY));
  platform::gdi::DeleteSurfaceDC(target);
  SelectObject(memory, previous);
  DeleteDC(memory);
}

TEST(SurfaceContextTest, BitBltConvertsATrueColourBitmapAndClipsAtTheEdges) {
  tirravel::test::BmpShape shape;
  shape.width = 4;
  shape.height = 2;
  shape.pixels = {0xC86432, 0xFFFFFF, 0x000000, 0x0800FF,  // top row
                  0x123456, 0xFF0000, 0x00FF00, 0x0000FF};
  HBITMAP bitmap = LoadBmp(shape);
  ASSERT_NE(bitmap, nullptr);

  Surface rgb565(platform::kRgb565Layout, 4, 2);
  Blit(bitmap, rgb565, 0, 0, 4, 2);
  EXPECT_EQ(rgb565.Raw(0, 0), 0xCB26u);
  EXPECT_EQ(rgb565.Raw(1, 0), 0xFFFFu);
  EXPECT_EQ(rgb565.Raw(2, 0), 0x0000u);
  EXPECT_EQ(rgb565.Raw(3, 0), 0x081Fu);
  EXPECT_EQ(rgb565.Raw(0, 1), (0x12u >> 3) << 11 | (0x34u >> 2) << 5 | 0x56u >> 3);
  EXPECT_EQ(rgb565.Raw(1, 1), 0xF800u);

  Surface xrgb(kXrgb8888, 4, 2);
  Blit(bitmap, xrgb, 0, 0, 4, 2);
  EXPECT_EQ(xrgb.Raw(0, 1), 0x00123456u);

  // Shifted up and left by one: only the bitmap's (1..3, 1) reach the surface's top row.
  Surface clipped(platform::kRgb565Layout, 3, 3);
  Blit(bitmap, clipped, -1, -1, 4, 2);
  EXPECT_EQ(clipped.Raw(0, 0), 0xF800u);
  EXPECT_EQ(clipped.Raw(1, 0), 0x07E0u);
  EXPECT_EQ(clipped.Raw(2, 0), 0x001Fu);
  EXPECT_EQ(clipped.Raw(0, 1), 0u);
  // Past the right and bottom edges.
  Surface corner(platform::kRgb565Layout, 3, 3);
  Blit(bitmap, corner, 2, 2, 4, 2);
  EXPECT_EQ(corner.Raw(2, 2), 0xCB26u);
  EXPECT_EQ(corner.Raw(1, 2), 0u);
  EXPECT_TRUE(corner.GuardIntact());
  DeleteObject(bitmap);
}

TEST(SurfaceContextTest, BitBltMatchesPalettesOrCopiesIndicesWhenTheyAgree) {
  auto palette = TestPalette();
  tirravel::test::BmpShape shape;
  shape.width = 3;
  shape.height = 1;
  shape.bitCount = 8;
  for (const auto& entry : palette) {
    shape.colours.push_back(std::uint32_t{entry.red} << 16 | entry.green << 8 | entry.blue);
  }
  shape.colours[4] = 0x000000;  // a second black: with identical palettes index 4 stays 4
  palette[4] = {0, 0, 0};
  shape.pixels = {4, 2, 3};
  HBITMAP indexed = LoadBmp(shape);
  ASSERT_NE(indexed, nullptr);

  Surface same(kIndexed8, 3, 1, palette.data());
  Blit(indexed, same, 0, 0, 3, 1);
  EXPECT_EQ(same.Raw(0, 0), 4u);
  EXPECT_EQ(same.Raw(1, 0), 2u);
  EXPECT_EQ(same.Raw(2, 0), 3u);

  std::array<platform::PaletteColour, 256> other{};
  other[7] = {255, 255, 255};
  other[9] = {190, 110, 45};
  Surface different(kIndexed8, 3, 1, other.data());
  Blit(indexed, different, 0, 0, 3, 1);
  EXPECT_EQ(different.Raw(0, 0), 0u);  // black: the first black entry
  EXPECT_EQ(different.Raw(1, 0), 9u);
  EXPECT_EQ(different.Raw(2, 0), 7u);

  // A true-colour bitmap into the indexed surface goes to the nearest entries too.
  shape.bitCount = 24;
  shape.colours.clear();
  shape.pixels = {0xC86432, 0xF0F0F0, 0x010101};
  HBITMAP rgb = LoadBmp(shape);
  Blit(rgb, different, 0, 0, 3, 1);
  EXPECT_EQ(different.Raw(0, 0), 9u);
  EXPECT_EQ(different.Raw(1, 0), 7u);
  EXPECT_EQ(different.Raw(2, 0), 0u);
  DeleteObject(indexed);
  DeleteObject(rgb);
}

TEST(SurfaceContextTest, BitBltWithinOnePictureReadsBeforeItWrites) {
  Surface surface(platform::kRgb565Layout, 4, 1);
  const std::uint16_t start[4] = {1, 2, 3, 4};
  std::memcpy(surface.memory.data(), start, sizeof start);
  HDC dc = platform::gdi::CreateSurfaceDC(surface.buffer);
  EXPECT_TRUE(BitBlt(dc, 1, 0, 3, 1, dc, 0, 0, SRCCOPY));
  EXPECT_EQ(surface.Raw(1, 0), 1u);
  EXPECT_EQ(surface.Raw(2, 0), 2u);
  EXPECT_EQ(surface.Raw(3, 0), 3u);
  EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, dc, 0, 0, 0x00EE0086));  // SRCPAINT is not offered
  EXPECT_FALSE(BitBlt(dc, 0, 0, -1, 1, dc, 0, 0, SRCCOPY));
  platform::gdi::DeleteSurfaceDC(dc);
}

TEST(SurfaceContextTest, UnusableBuffersGetNoContext) {
  std::vector<std::uint8_t> memory(64);
  PixelBuffer noBits{nullptr, 4, 4, 8, platform::kRgb565Layout, nullptr};
  PixelBuffer noPalette{memory.data(), 4, 4, 4, kIndexed8, nullptr};
  PixelBuffer shortRows{memory.data(), 8, 4, 4, platform::kRgb565Layout, nullptr};
  PixelBuffer oddLayout{memory.data(), 4, 4, 8, PixelLayout{12, false, 0xF00, 0xF0, 0xF, 0},
                        nullptr};
  for (const PixelBuffer& buffer : {noBits, noPalette, shortRows, oddLayout}) {
    EXPECT_EQ(platform::gdi::CreateSurfaceDC(buffer), nullptr);
  }
}

}  // namespace
