// The font cache: which faces stand for the game's face names, the cell they give, and the
// fallback faces for characters the chosen face lacks.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/gdi/cp932.h"
#include "platform/gdi/font_library.h"

namespace {

using platform::gdi::FontLibrary;
using platform::gdi::FontRequest;
using platform::gdi::GlyphImage;

FontRequest Mincho(int height, bool bold = true) {
  FontRequest request;
  request.faceName = "標準明朝";
  request.height = height;
  request.bold = bold;
  return request;
}

int InkOf(const GlyphImage& glyph) {
  return static_cast<int>(
      std::count_if(glyph.coverage.begin(), glyph.coverage.end(), [](auto c) { return c > 0; }));
}

TEST(FontLibraryTest, TheGamesFaceNamesMapToTheIpaFaces) {
  FontLibrary library;
  auto mincho = library.Realize(Mincho(50));
  ASSERT_NE(mincho, nullptr);
  EXPECT_EQ(mincho->PrimaryFamily(), "IPAMincho");
  FontRequest system;
  system.faceName = "System";
  system.height = 16;
  system.monochrome = true;
  auto gothic = library.Realize(system);
  ASSERT_NE(gothic, nullptr);
  EXPECT_EQ(gothic->PrimaryFamily(), "IPAGothic");
  // The system font is drawn without anti-aliasing: coverage is all or nothing.
  const GlyphImage& a = gothic->Glyph(U'A');
  EXPECT_TRUE(std::all_of(a.coverage.begin(), a.coverage.end(),
                          [](std::uint8_t c) { return c == 0 || c == 255; }));
  EXPECT_EQ(a.advance, 8);
  EXPECT_EQ(gothic->Glyph(U'直').advance, 16);
}

TEST(FontLibraryTest, APositiveHeightIsTheCellAndSameRequestsShareOneFont) {
  FontLibrary library;
  auto font = library.Realize(Mincho(50));
  EXPECT_EQ(font->CellHeight(), 50);
  EXPECT_GT(font->Ascent(), 35);
  EXPECT_LT(font->Ascent(), 50);
  EXPECT_EQ(library.Realize(Mincho(50)), font);
  EXPECT_NE(library.Realize(Mincho(55)), font);
  EXPECT_NE(library.Realize(Mincho(50, false)), font);
  FontRequest em = Mincho(-40);
  EXPECT_GE(library.Realize(em)->CellHeight(), 40);
  // A lying height is drawn at a bounded size instead of allocating without end.
  EXPECT_LE(library.Realize(Mincho(2000000000))->CellHeight(), 1024);
}

TEST(FontLibraryTest, CharactersTheFaceLacksComeFromAFallbackFace) {
  FontLibrary library;
  auto font = library.Realize(Mincho(50, false));
  const GlyphImage box = font->Glyph(platform::gdi::kUndecodable);
  const GlyphImage& shade = font->Glyph(U'▒');  // not in the IPA faces
  EXPECT_GT(InkOf(shade), InkOf(box)) << "a shade block drawn from another face, not a box";
  EXPECT_NE(shade.coverage, box.coverage);
  EXPECT_GT(shade.advance, 0);
  // A control code never goes looking: it draws the face's missing-glyph box.
  EXPECT_EQ(font->Glyph(U'\n').coverage, box.coverage);
}

}  // namespace
