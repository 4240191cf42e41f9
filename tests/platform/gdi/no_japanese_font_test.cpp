// On a machine without any Japanese face, text still draws (from whatever face is there), the
// player is told once on standard error, and nothing is silently dropped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/gdi/surface_dc.h"
#include "tests/support/temp_folder.h"

namespace {

// Points fontconfig at the DejaVu faces only, before anything has asked it for a font.
void HideJapaneseFaces() {
  // Kept until the program ends: fontconfig reads it, and writes its cache there, as it goes.
  static const TempFolder folder;
  const std::filesystem::path& directory = folder.Path();
  std::ofstream(directory / "fonts.conf")
      << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
      << "<dir>/usr/share/fonts/truetype/dejavu</dir>\n<cachedir>" << (directory / "cache").string()
      << "</cachedir>\n</fontconfig>\n";
  setenv("FONTCONFIG_FILE", (directory / "fonts.conf").c_str(), 1);
}

int DrawMincho(const char* text) {
  std::vector<std::uint16_t> pixels(200 * 60);
  const platform::PixelBuffer buffer{reinterpret_cast<std::uint8_t*>(pixels.data()),
                                     200,
                                     60,
                                     400,
                                     platform::kRgb565Layout,
                                     nullptr};
  HDC dc = platform::gdi::CreateSurfaceDC(buffer);
  LOGFONTA description{};
  description.lfHeight = 50;
  description.lfWeight = FW_BOLD;
  std::strcpy(description.lfFaceName, "\x95\x57\x8f\x80\x96\xbe\x92\xa9");  // 標準明朝
  HFONT font = CreateFontIndirectA(&description);
  HGDIOBJ previous = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  TextOutA(dc, 0, 0, text, static_cast<int>(std::strlen(text)));
  SelectObject(dc, previous);
  DeleteObject(font);
  platform::gdi::DeleteSurfaceDC(dc);
  return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [](auto p) { return p; }));
}

TEST(NoJapaneseFontTest, TextStillDrawsAndTheWarningComesOnce) {
  HideJapaneseFaces();
  testing::internal::CaptureStderr();
  const int latin = DrawMincho("SPEED 1");
  const int kanji = DrawMincho("\x92\xbc");  // 直, which no installed face has
  const std::string warnings = testing::internal::GetCapturedStderr();
  EXPECT_GT(latin, 100);
  EXPECT_GT(kanji, 0) << "a missing character shows as a box, never as nothing";
  const auto first = warnings.find("IPAMincho");
  ASSERT_NE(first, std::string::npos) << warnings;
  EXPECT_EQ(warnings.find("IPAMincho", first + 1), std::string::npos) << "said once: " << warnings;
  EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), 1);
}

}  // namespace
