// Kept lines of text against their definition: each glyph of the line blended over the picture in
// turn, clipped. Drawn the first time (the line made) and again (the line kept), italic glyphs
// that overlap, every edge of the picture, an opaque cell; and a cache that stays bounded.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>
#include <string>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/gdi/cp932.h"
#include "platform/gdi/font_library.h"
#include "platform/gdi/gdi_state.h"
#include "platform/gdi/rgb565_blend.h"
#include "platform/gdi/surface_dc.h"
#include "platform/gdi/text_line.h"
#include "tests/support/mincho_text.h"

namespace {

using platform::gdi::RealizedFont;

constexpr COLORREF kInk = RGB(255, 180, 0);

// An RGB 565 picture with a gradient under the text, so blends over it differ pixel by pixel,
// inside a border that must not change.
class Picture {
 public:
  static constexpr int kWidth = 320, kHeight = 200, kBorder = 24;
  static constexpr int kStride = kWidth + 2 * kBorder;
  static constexpr std::uint16_t kGuard = 0x5A5A;

  Picture() : memory_(static_cast<std::size_t>(kStride) * (kHeight + 2 * kBorder), kGuard) {
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) At(x, y) = static_cast<std::uint16_t>(x * 157 + y * 1031);
    }
    pixels_ = {reinterpret_cast<std::uint8_t*>(&At(0, 0)),
               kWidth,
               kHeight,
               kStride * 2,
               platform::kRgb565Layout,
               nullptr};
  }
  std::uint16_t& At(int x, int y) {
    return memory_[static_cast<std::size_t>(y + kBorder) * kStride + x + kBorder];
  }
  const platform::PixelBuffer& Pixels() const { return pixels_; }
  const std::vector<std::uint16_t>& Memory() const { return memory_; }

 private:
  std::vector<std::uint16_t> memory_;
  platform::PixelBuffer pixels_;
};

HFONT MakeFont(int height, bool italic) {
  LOGFONTA description{};
  description.lfHeight = height;
  description.lfWeight = FW_BOLD;
  description.lfItalic = italic;
  description.lfCharSet = SHIFTJIS_CHARSET;
  std::strcpy(description.lfFaceName, kMinchoName);
  return CreateFontIndirectA(&description);
}

RealizedFont& RealizedOf(HFONT font) {
  return *platform::gdi::RealizedFontOf(*platform::gdi::FindFont(font));
}

void Draw(Picture& picture, HFONT font, const std::string& text, int x, int y, bool opaque) {
  HDC dc = platform::gdi::CreateSurfaceDC(picture.Pixels());
  HGDIOBJ previous = SelectObject(dc, font);
  SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
  SetTextColor(dc, kInk);
  TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
  SelectObject(dc, previous);
  platform::gdi::DeleteSurfaceDC(dc);
}

// What TextOutA must draw: the cell filled (white, a context's default) when opaque, then glyph
// after glyph blended in turn.
void DrawByDefinition(Picture& picture, HFONT font, const std::string& text, int x, int y,
                      bool opaque) {
  RealizedFont& realized = RealizedOf(font);
  platform::gdi::Cp932Decoder decoder;
  const std::u32string characters = decoder.Decode(text.data(), static_cast<int>(text.size()));
  auto inside = [](long long px, long long py) {
    return px >= 0 && py >= 0 && px < Picture::kWidth && py < Picture::kHeight;
  };
  if (opaque) {
    long long width = 0;
    for (char32_t c : characters) width += realized.Glyph(c).advance;
    constexpr std::uint16_t kWhite = 0xFFFF;
    for (long long py = y; py < y + realized.CellHeight(); ++py) {
      for (long long px = x; px < x + width; ++px) {
        if (inside(px, py)) picture.At(static_cast<int>(px), static_cast<int>(py)) = kWhite;
      }
    }
  }
  const platform::gdi::Rgb565Ink ink{{255, 180, 0}, 255 >> 3 << 11 | 180 >> 2 << 5};
  long long pen = x;
  for (char32_t c : characters) {
    const platform::gdi::GlyphImage& glyph = realized.Glyph(c);
    for (int row = 0; row < glyph.height; ++row) {
      for (int column = 0; column < glyph.width; ++column) {
        const long long px = pen + glyph.left + column;
        const long long py = y + realized.Ascent() - glyph.top + row;
        if (!inside(px, py)) continue;
        platform::gdi::BlendRgb565(
            picture.At(static_cast<int>(px), static_cast<int>(py)),
            glyph.coverage[static_cast<std::size_t>(row) * glyph.width + column], ink);
      }
    }
    pen += glyph.advance;
  }
}

void ExpectAsDefined(HFONT font, const std::string& text, int x, int y, bool opaque) {
  Picture expected;
  DrawByDefinition(expected, font, text, x, y, opaque);
  // Drawn as it comes until it is kept, then as kept.
  for (int drawing = 0; drawing <= platform::gdi::LineCache::kDrawingsBeforeKept; ++drawing) {
    Picture drawn;
    Draw(drawn, font, text, x, y, opaque);
    EXPECT_EQ(drawn.Memory(), expected.Memory())
        << "drawing " << drawing << " of \"" << text << "\" at (" << x << ", " << y << ")";
  }
}

TEST(TextLineTest, KeptLinesDrawTheirGlyphsBlendedInTurn) {
  // A cache of the test's own, to look at the lines TextOutA's cache keeps of the same texts.
  platform::gdi::LineCache lines;
  HFONT italic = MakeFont(60, true);
  const std::string text = "WWW WAVY//";
  // Bold W's reach into their neighbours: pixels two glyphs both cover partly.
  const platform::gdi::LineImage* line = nullptr;
  for (int drawing = 0; drawing <= platform::gdi::LineCache::kDrawingsBeforeKept; ++drawing) {
    line = lines.Line(RealizedOf(italic), text.data(), static_cast<int>(text.size()));
    EXPECT_EQ(line != nullptr, drawing == platform::gdi::LineCache::kDrawingsBeforeKept);
  }
  ASSERT_NE(line, nullptr);
  ASSERT_FALSE(line->extras.empty()) << "the test needs glyphs that overlap partly";

  ExpectAsDefined(italic, text, 30, 40, false);
  ExpectAsDefined(italic, text, -37, 50, false);   // the left edge
  ExpectAsDefined(italic, text, 150, 70, false);   // the right edge
  ExpectAsDefined(italic, text, 20, -29, false);   // the top edge
  ExpectAsDefined(italic, text, 40, 171, false);   // the bottom edge
  ExpectAsDefined(italic, text, -200, -40, true);  // two edges, opaque
  ExpectAsDefined(italic, text, 7, 90, true);
  DeleteObject(italic);

  // A large black square: its inside is kept as solid runs.
  HFONT large = MakeFont(200, false);
  const std::string square = "\x81\xa1";
  for (int drawing = 0; drawing <= platform::gdi::LineCache::kDrawingsBeforeKept; ++drawing) {
    line = lines.Line(RealizedOf(large), square.data(), 2);
  }
  ASSERT_NE(line, nullptr);
  EXPECT_TRUE(
      std::any_of(line->runs.begin(), line->runs.end(), [](const auto& run) { return run.solid; }));
  ExpectAsDefined(large, square, -20, 10, false);
  ExpectAsDefined(large, square, 100, -60, true);
  DeleteObject(large);

  HFONT upright = MakeFont(30, false);
  ExpectAsDefined(upright, "PUSH SHIFT \x92\xbc\x90\x69", 3, 5, false);
  ExpectAsDefined(upright, "12:34.5", 301, 190, true);
  DeleteObject(upright);
}

TEST(TextLineTest, TheCacheStaysBoundedWhateverIsDrawn) {
  HFONT font = MakeFont(40, false);
  RealizedFont& realized = RealizedOf(font);
  platform::gdi::LineCache lines;
  // Each text as often as it takes to be kept.
  auto draw = [&](const std::string& text) {
    for (int d = 0; d <= platform::gdi::LineCache::kDrawingsBeforeKept; ++d) {
      lines.Line(realized, text.data(), static_cast<int>(text.size()));
    }
  };
  for (int i = 0; i < 1000; ++i) {
    draw("TIME " + std::to_string(i * 7919));
    ASSERT_LE(lines.Size(), platform::gdi::LineCache::kMaxLines);
  }
  EXPECT_EQ(lines.Size(), platform::gdi::LineCache::kMaxLines);
  // Long lines fill the byte budget before the count: the oldest go first.
  for (int i = 0; i < 100; ++i) {
    draw(std::string(60, static_cast<char>('A' + i % 26)) + std::to_string(i));
    ASSERT_LE(lines.Bytes(), platform::gdi::LineCache::kMaxBytes);
  }
  DeleteObject(font);
}

}  // namespace
