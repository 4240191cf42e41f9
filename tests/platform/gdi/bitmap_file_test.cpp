// LoadImageA with BMP files: good files of every depth and header decode to the right pixels;
// malformed ones are refused with a reason, and nothing is allocated for them.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/core/last_error.h"
#include "platform/testing.h"
#include "tests/platform/gdi/bmp_builder.h"

namespace {

using tirravel::test::BmpShape;
using tirravel::test::EncodeBmp;
using tirravel::test::Put16;
using tirravel::test::Put32;
using tirravel::test::WriteTempFile;

constexpr UINT kFromFile = LR_LOADFROMFILE | LR_CREATEDIBSECTION;

HBITMAP LoadFile(const std::string& path, UINT flags = kFromFile) {
  return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, flags));
}

// A raw stored value and the colour GDI must read for it.
struct Sample {
  std::uint32_t raw;
  COLORREF colour;
};

struct GoodFile {
  const char* name;
  BmpShape shape;  // pixels are filled from the samples
  std::vector<Sample> samples;
};

std::vector<std::uint32_t> Palette16() {
  std::vector<std::uint32_t> colours;
  for (std::uint32_t i = 0; i < 16; ++i) colours.push_back(i * 0x110000 + (15 - i) * 0x11 + 0x800);
  return colours;
}

std::vector<std::uint32_t> Palette256() {
  std::vector<std::uint32_t> colours;
  for (std::uint32_t i = 0; i < 256; ++i) colours.push_back(i << 16 | (255 - i) << 8 | i / 2);
  return colours;
}

BmpShape Shape(std::uint32_t header, int height, int bits, std::uint32_t compression = 0) {
  BmpShape shape;
  shape.headerSize = header;
  shape.width = 5;  // odd, so rows need padding and 1- and 4-bit rows end mid-byte
  shape.height = height;
  shape.bitCount = bits;
  shape.compression = compression;
  return shape;
}

std::vector<GoodFile> GoodFiles() {
  std::vector<GoodFile> files;
  {
    GoodFile f{"1-bit", Shape(40, 3, 1), {{0, RGB(0x10, 0x20, 0x30)}, {1, RGB(0xF0, 0xE0, 0xD0)}}};
    f.shape.colours = {0x102030, 0xF0E0D0};
    f.samples.push_back({1, RGB(0xF0, 0xE0, 0xD0)});
    files.push_back(f);
  }
  {
    GoodFile f{"4-bit", Shape(40, 3, 4), {}};
    f.shape.colours = Palette16();
    for (std::uint32_t i : {0u, 15u, 7u, 1u}) {
      f.samples.push_back({i, RGB(i * 0x11, 0x08, (15 - i) * 0x11)});
    }
    files.push_back(f);
  }
  {
    GoodFile f{"8-bit", Shape(40, 3, 8), {}};
    f.shape.colours = Palette256();
    for (std::uint32_t i : {0u, 7u, 128u, 255u}) f.samples.push_back({i, RGB(i, 255 - i, i / 2)});
    files.push_back(f);
  }
  {
    GoodFile f{"8-bit, top-down, short table", Shape(40, -3, 8), {}};
    f.shape.colours = {0x0000FF, 0x00FF00, 0xFF0000};
    f.shape.coloursUsed = 3;
    f.samples = {{0, RGB(0, 0, 255)}, {1, RGB(0, 255, 0)}, {2, RGB(255, 0, 0)}};
    files.push_back(f);
  }
  {
    GoodFile f{"8-bit, core header", Shape(12, 3, 8), {}};
    f.shape.colours = Palette256();
    f.samples = {{3, RGB(3, 252, 1)}, {200, RGB(200, 55, 100)}};
    files.push_back(f);
  }
  // 5-5-5, widened by bit replication: 16 in five bits reads as 132.
  files.push_back({"16-bit 5-5-5",
                   Shape(40, 3, 16),
                   {{0x7FFF, RGB(255, 255, 255)},
                    {0x7C00, RGB(255, 0, 0)},
                    {0x03E0, RGB(0, 255, 0)},
                    {0x0010, RGB(0, 0, 132)},
                    {0x0000, RGB(0, 0, 0)}}});
  {
    GoodFile f{"16-bit 5-6-5 bit fields after a 40-byte header",
               Shape(40, 3, 16, 3),
               {{0xF800, RGB(255, 0, 0)}, {0x0020, RGB(0, 4, 0)}, {0x001F, RGB(0, 0, 255)}}};
    f.shape.masks[0] = 0xF800;
    f.shape.masks[1] = 0x07E0;
    f.shape.masks[2] = 0x001F;
    files.push_back(f);
  }
  {
    GoodFile f{"16-bit 5-6-5 bit fields in a 52-byte header",
               Shape(52, -3, 16, 3),
               {{0xFFFF, RGB(255, 255, 255)}, {0x07E0, RGB(0, 255, 0)}}};
    f.shape.masks[0] = 0xF800;
    f.shape.masks[1] = 0x07E0;
    f.shape.masks[2] = 0x001F;
    files.push_back(f);
  }
  files.push_back({"24-bit",
                   Shape(40, 3, 24),
                   {{0x123456, RGB(0x12, 0x34, 0x56)}, {0xFF0080, RGB(0xFF, 0x00, 0x80)}}});
  files.push_back({"24-bit, top-down", Shape(40, -3, 24), {{0xABCDEF, RGB(0xAB, 0xCD, 0xEF)}}});
  files.push_back({"24-bit, core header", Shape(12, 3, 24), {{0x010203, RGB(1, 2, 3)}}});
  files.push_back({"24-bit, 108-byte header", Shape(108, 3, 24), {{0x0A0B0C, RGB(10, 11, 12)}}});
  files.push_back(
      {"24-bit, 124-byte header", Shape(124, -3, 24), {{0xC0FFEE, RGB(0xC0, 0xFF, 0xEE)}}});
  files.push_back({"32-bit, top byte unused",
                   Shape(40, 3, 32),
                   {{0xAA123456, RGB(0x12, 0x34, 0x56)}, {0x00FFFFFF, RGB(255, 255, 255)}}});
  {
    GoodFile f{"32-bit bit fields, red lowest, alpha in a 56-byte header",
               Shape(56, 3, 32, 3),
               {{0xFF563412, RGB(0x12, 0x34, 0x56)}, {0x000000FF, RGB(255, 0, 0)}}};
    f.shape.masks[0] = 0x000000FF;
    f.shape.masks[1] = 0x0000FF00;
    f.shape.masks[2] = 0x00FF0000;
    f.shape.masks[3] = 0xFF000000;
    files.push_back(f);
  }
  return files;
}

using BitmapFileTest = ::testing::Test;

TEST_F(BitmapFileTest, GoodFilesOfEveryDepthReadAsTheirPixels) {
  for (GoodFile file : GoodFiles()) {
    SCOPED_TRACE(file.name);
    const int rows = file.shape.height < 0 ? -file.shape.height : file.shape.height;
    for (int i = 0; i < file.shape.width * rows; ++i) {
      file.shape.pixels.push_back(file.samples[i % file.samples.size()].raw);
    }
    HBITMAP bitmap = LoadFile(WriteTempFile("good.bmp", EncodeBmp(file.shape)));
    ASSERT_NE(bitmap, nullptr) << platform::LastErrorText();

    BITMAP info{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 5);
    EXPECT_EQ(info.bmHeight, 3);
    EXPECT_EQ(info.bmBitsPixel, file.shape.bitCount);
    EXPECT_EQ(info.bmWidthBytes % 4, 0);
    EXPECT_NE(info.bmBits, nullptr);

    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    for (int y = 0; y < rows; ++y) {
      for (int x = 0; x < 5; ++x) {
        const Sample& sample = file.samples[(y * 5 + x) % file.samples.size()];
        EXPECT_EQ(GetPixel(dc, x, y), sample.colour) << "at " << x << "," << y;
      }
    }
    EXPECT_EQ(GetPixel(dc, 5, 0), CLR_INVALID);
    SelectObject(dc, previous);
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(bitmap));
  }
}

TEST_F(BitmapFileTest, WithoutDibSectionThePictureTakesTheDisplayFormat) {
  BmpShape shape = Shape(40, 3, 24);
  shape.pixels.assign(15, 0xC86432);
  HBITMAP bitmap = LoadFile(WriteTempFile("ddb.bmp", EncodeBmp(shape)), LR_LOADFROMFILE);
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  EXPECT_EQ(info.bmBitsPixel, 16);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  EXPECT_EQ(GetPixel(dc, 4, 2), RGB(206, 101, 49));  // (200, 100, 50) through RGB 565
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

// One bit per pixel, 16384 × 8193: 16 MiB in the file, just over 256 MiB as RGB 565.
TEST_F(BitmapFileTest, APictureTooLargeOnceConvertedIsRefusedAsADisplayBitmapOnly) {
  BmpShape shape = Shape(40, 1, 1);
  shape.width = 8;
  shape.colours = {0x000000, 0xFFFFFF};
  shape.pixels.assign(8, 1);
  std::vector<std::uint8_t> file = EncodeBmp(shape);
  constexpr int kWidth = 16384, kHeight = 8193;
  Put32(file, bmp::kWidthField, kWidth);
  Put32(file, bmp::kHeightField, kHeight);
  file.resize(file.size() - 4 + static_cast<std::size_t>(kWidth / 8) * kHeight, 0);
  const std::string path = WriteTempFile("huge-1bit.bmp", file);
  platform::ClearLastErrorText();
  EXPECT_EQ(LoadFile(path, LR_LOADFROMFILE), nullptr);
  EXPECT_NE(platform::LastErrorText().find("too large for a display bitmap"), std::string::npos)
      << platform::LastErrorText();
  HBITMAP dib = LoadFile(path);
  ASSERT_NE(dib, nullptr) << platform::LastErrorText();
  DeleteObject(dib);
}

TEST_F(BitmapFileTest, ColourTableIsReadThroughAMemoryContext) {
  BmpShape shape = Shape(40, 2, 8);
  shape.colours = {0x112233, 0x445566, 0x778899};
  shape.coloursUsed = 3;
  shape.pixels.assign(10, 1);
  HBITMAP bitmap = LoadFile(WriteTempFile("table.bmp", EncodeBmp(shape)));
  ASSERT_NE(bitmap, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  RGBQUAD table[256] = {};
  EXPECT_EQ(GetDIBColorTable(dc, 0, 256, table), 0u);  // the stock bitmap has none
  HGDIOBJ previous = SelectObject(dc, bitmap);
  ASSERT_EQ(GetDIBColorTable(dc, 0, 256, table), 3u);
  EXPECT_EQ(table[0].rgbRed, 0x11);
  EXPECT_EQ(table[0].rgbGreen, 0x22);
  EXPECT_EQ(table[0].rgbBlue, 0x33);
  EXPECT_EQ(GetDIBColorTable(dc, 2, 5, table), 1u);
  EXPECT_EQ(table[0].rgbRed, 0x77);
  EXPECT_EQ(GetDIBColorTable(dc, 3, 5, table), 0u);
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

// A valid 4×4 8-bit picture with a full colour table: 14 + 40 + 1024 bytes of headers, then 16
// bytes of pixels.
std::vector<std::uint8_t> ValidFile() {
  BmpShape shape;
  shape.width = 4;
  shape.height = 4;
  shape.bitCount = 8;
  shape.colours = Palette256();
  shape.pixels.assign(16, 9);
  return EncodeBmp(shape);
}

struct BadFile {
  const char* name;
  std::vector<std::uint8_t> bytes;
  const char* reason;  // a part of the one-line reason
};

std::vector<std::uint8_t> With(void (*edit)(std::vector<std::uint8_t>&)) {
  std::vector<std::uint8_t> bytes = ValidFile();
  edit(bytes);
  return bytes;
}

std::vector<std::uint8_t> Cut(std::size_t size) {
  std::vector<std::uint8_t> bytes = ValidFile();
  bytes.resize(size);
  return bytes;
}

std::vector<std::uint8_t> BitFields(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  BmpShape shape = Shape(40, 2, 16, 3);
  shape.masks[0] = red;
  shape.masks[1] = green;
  shape.masks[2] = blue;
  shape.pixels.assign(10, 0);
  return EncodeBmp(shape);
}

std::vector<BadFile> BadFiles() {
  using B = std::vector<std::uint8_t>&;
  return {
      {"empty", {}, "file is empty"},
      {"cut in the file header", Cut(10), "file is truncated (file header needs 18 bytes, 10"},
      {"wrong signature", With([](B b) { b[0] = 'X'; }), "not a BMP file"},
      {"unknown header size", With([](B b) { Put32(b, 14, 64); }), "info header size 64"},
      {"cut in the info header", Cut(30), "file is truncated (info header needs 40 bytes, 16"},
      {"cut in the colour table", Cut(154),
       "file is truncated (colour table needs 1024 bytes, 100 present)"},
      {"cut in the pixels", Cut(14 + 40 + 1024 + 11),
       "file is truncated (pixel data needs 16 bytes, 11 present)"},
      {"pixel offset past the end", With([](B b) { Put32(b, 10, 5000); }),
       "pixel data offset 5000 lies beyond the end of the file (1094 bytes)"},
      {"pixel offset inside the headers", With([](B b) { Put32(b, 10, 20); }),
       "pixel data offset 20 lies inside the headers"},
      {"zero width", With([](B b) { Put32(b, 18, 0); }), "width 0 is not positive"},
      {"negative width", With([](B b) { Put32(b, 18, static_cast<std::uint32_t>(-4)); }),
       "width -4 is not positive"},
      {"zero height", With([](B b) { Put32(b, 22, 0); }), "height is 0"},
      {"absurd width", With([](B b) { Put32(b, 18, 100000); }), "are too large"},
      {"most negative height", With([](B b) { Put32(b, 22, static_cast<std::uint32_t>(INT_MIN)); }),
       "are too large"},
      {"pixel data too large to allocate",
       With([](B b) { Put32(b, 18, 16384), Put32(b, 22, 16384), Put16(b, 28, 32); }),
       "pixel data of 1073741824 bytes is too large"},
      {"bit count 7", With([](B b) { Put16(b, 28, 7); }), "bit count 7 is not supported"},
      {"bit count 0", With([](B b) { Put16(b, 28, 0); }), "bit count 0 is not supported"},
      {"two planes", With([](B b) { Put16(b, 26, 2); }), "plane count is 2, not 1"},
      {"colour table longer than 256", With([](B b) { Put32(b, 46, 300); }),
       "colour table of 300 entries is longer than the 256 a 8-bit bitmap allows"},
      {"colour table longer than a 4-bit picture allows",
       With([](B b) { Put16(b, 28, 4), Put32(b, 46, 17); }),
       "colour table of 17 entries is longer than the 16 a 4-bit bitmap allows"},
      {"24-bit picture with a huge colour table",
       With([](B b) { Put16(b, 28, 24), Put32(b, 46, 100000); }),
       "colour table of 100000 entries is longer than the 256"},
      {"run-length compression", With([](B b) { Put32(b, 30, 1); }),
       "compression 1 (RLE8) is not supported"},
      {"unknown compression", With([](B b) { Put32(b, 30, 99); }),
       "compression 99 is not supported"},
      {"bit fields on 8 bits", With([](B b) { Put32(b, 30, 3); }),
       "bit-field compression needs 16 or 32 bits, not 8"},
      {"overlapping masks", BitFields(0xF800, 0x0FE0, 0x001F), "colour masks are not usable"},
      {"scattered mask", BitFields(0xF0F0, 0x0, 0x000F), "colour masks are not usable"},
      {"mask outside 16 bits", BitFields(0x1F0000, 0x07E0, 0x001F), "colour masks are not usable"},
      {"all masks zero", BitFields(0, 0, 0), "colour masks are all zero"},
  };
}

TEST_F(BitmapFileTest, MalformedFilesAreRefusedWithTheirReason) {
  const int bitmapsBefore = platform::testing::LiveObjects(platform::testing::ObjectKind::Bitmap);
  for (const BadFile& file : BadFiles()) {
    SCOPED_TRACE(file.name);
    const std::string path = WriteTempFile("bad.bmp", file.bytes);
    platform::ClearLastErrorText();
    EXPECT_EQ(LoadFile(path), nullptr);
    const std::string& reason = platform::LastErrorText();
    EXPECT_EQ(reason.rfind(path + ": ", 0), 0u) << reason;
    EXPECT_NE(reason.find(file.reason), std::string::npos) << reason;
    EXPECT_EQ(reason.find('\n'), std::string::npos);
  }
  EXPECT_EQ(platform::testing::LiveObjects(platform::testing::ObjectKind::Bitmap), bitmapsBefore);
}

TEST_F(BitmapFileTest, AFileCutAnywhereIsRefused) {
  const std::vector<std::uint8_t> whole = ValidFile();
  for (std::size_t size = 0; size < whole.size(); ++size) {
    std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + size);
    EXPECT_EQ(LoadFile(WriteTempFile("cut.bmp", cut)), nullptr) << "cut at " << size;
  }
  HBITMAP bitmap = LoadFile(WriteTempFile("whole.bmp", whole));
  EXPECT_NE(bitmap, nullptr);
  DeleteObject(bitmap);
}

TEST_F(BitmapFileTest, MissingFilesAndOtherRequestsAreRefused) {
  const std::string missing = "no-such-directory/Texture.bmp";
  EXPECT_EQ(LoadFile(missing), nullptr);
  EXPECT_EQ(platform::LastErrorText(), missing + ": file not found");

  const std::string path = WriteTempFile("fine.bmp", ValidFile());
  const std::string directory = path.substr(0, path.rfind('/'));
  EXPECT_EQ(LoadFile(directory), nullptr);
  EXPECT_EQ(platform::LastErrorText(), directory + ": not a regular file");

  // The program carries no bitmap resources: without LR_LOADFROMFILE nothing is found.
  EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, path.c_str(), 1, 0, 0, kFromFile), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 8, 8, kFromFile), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, nullptr, IMAGE_BITMAP, 0, 0, kFromFile), nullptr);
  const auto resourceNumber = reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(101));
  EXPECT_EQ(LoadImageA(nullptr, resourceNumber, IMAGE_BITMAP, 0, 0, kFromFile), nullptr);
  EXPECT_EQ(platform::LastErrorText(), "#101: the program has no bitmap resource of that name");
}

}  // namespace
