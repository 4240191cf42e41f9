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

// Where the ink starts, in pixels right of the pen, to a fraction of a pixel: per inked row, the
// first inked column less the part of it left bare, averaged over the rows.
double InkStart(const GlyphImage& glyph) {
  double sum = 0;
  int rows = 0;
  for (int row = 0; row < glyph.height; ++row) {
    const std::uint8_t* line = glyph.coverage.data() + static_cast<std::size_t>(row) * glyph.width;
    const std::uint8_t* first =
        std::find_if(line, line + glyph.width, [](auto c) { return c > 0; });
    if (first == line + glyph.width) continue;
    sum += glyph.left + (first - line) + 1.0 - *first / 255.0;
    ++rows;
  }
  return rows == 0 ? 0 : sum / rows;
}

TEST(FontLibraryTest, BoldThickensToTheRightAndKeepsTheInksStartAndTheAdvance) {
  FontLibrary library;
  for (const int height : {30, 50, 200}) {
    auto regular = library.Realize(Mincho(height, false));
    auto bold = library.Realize(Mincho(height, true));
    // Glyphs that start with upright strokes: a slanted start moves a little as FreeType pushes
    // the outline out along its normals.
    for (const char32_t character : {U'I', U'l', U'H', U'直'}) {
      const GlyphImage plain = regular->Glyph(character);
      const GlyphImage& thick = bold->Glyph(character);
      SCOPED_TRACE(testing::Message()
                   << "height " << height << " U+" << std::hex << static_cast<unsigned>(character));
      EXPECT_NEAR(InkStart(thick), InkStart(plain), 0.1);
      EXPECT_GT(InkOf(thick), InkOf(plain));
      EXPECT_EQ(thick.advance, plain.advance);
    }
  }
}

TEST(FontLibraryTest, TheGlyphCachesOfAllFontsStayWithinTheirByteBudget) {
  FontLibrary library;
  auto regular = library.Realize(Mincho(1024, false));
  auto bold = library.Realize(Mincho(1024, true));
  std::size_t largest = 0;
  for (char32_t character = U'一'; character < U'一' + 120; ++character) {
    for (auto* font : {regular.get(), bold.get()}) {
      largest = std::max(largest, font->Glyph(character).coverage.size());
      EXPECT_LE(library.GlyphBytes(), platform::gdi::kGlyphCacheBytes);
    }
  }
  EXPECT_GT(largest * 240, 2 * platform::gdi::kGlyphCacheBytes) << "the glyphs overflowed it";
  EXPECT_GT(library.GlyphBytes(), 0u);
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
