// Text as it lands in a 640×480 RGB 565 picture: the system font's defaults, the bold Mincho's
// cell and pitch, and clipping that touches nothing outside the picture. (The overlay's own tests
// look at colours, shadows and Japanese glyphs.)
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "platform/api/gdi.h"
#include "tests/platform/gdi/guarded_picture.h"
#include "tests/support/mincho_text.h"

namespace {

constexpr std::uint16_t kBlue = GuardedPicture::kBlue;

// A 640×480 picture inside a larger block whose border must never change.
class Screen : public GuardedPicture {
 public:
  Screen() : GuardedPicture(640, 480, 40) {}

  // Pixels in [x0, x1) × [y0, y1) that are no longer the background.
  int Ink(int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) count += At(x, y) != kBlue;
    }
    return count;
  }
  std::vector<std::uint16_t> Region(int x0, int y0, int x1, int y1) {
    std::vector<std::uint16_t> pixels;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) pixels.push_back(At(x, y));
    }
    return pixels;
  }
};

// Draws text with a Mincho font the way the game does, transparent, in orange.
void DrawMincho(Screen& screen, const std::string& text, int height, int x, int y,
                LONG weight = FW_BOLD) {
  DrawMinchoText(screen.dc(), text, height, x, y, RGB(255, 180, 0), false, weight);
}

TEST(TextTest, AFreshContextDrawsTheSystemFontBlackOnOpaqueWhite) {
  Screen screen;
  ASSERT_TRUE(TextOutA(screen.dc(), 10, 20, "AB", 2));
  // Two half-width characters of the 16-pixel cell: 16 × 16 pixels, nothing around them.
  int black = 0;
  for (int y = 20; y < 36; ++y) {
    for (int x = 10; x < 26; ++x) {
      const std::uint16_t pixel = screen.At(x, y);
      ASSERT_TRUE(pixel == 0xFFFF || pixel == 0x0000) << "grey at " << x << "," << y;
      black += pixel == 0x0000;
    }
  }
  EXPECT_GT(black, 20);
  EXPECT_EQ(screen.Ink(0, 0, 640, 480), 16 * 16);
}

TEST(TextTest, AnOpaqueCellIsExactlyTheAskedHeightAndHalfAsWidePerCharacter) {
  Screen screen;
  LOGFONTA description{};
  description.lfHeight = 50;
  description.lfWeight = FW_BOLD;
  std::strcpy(description.lfFaceName, kMinchoName);
  HFONT font = CreateFontIndirectA(&description);
  HGDIOBJ previous = SelectObject(screen.dc(), font);
  TextOutA(screen.dc(), 100, 200, "1 A", 3);  // opaque white cell, black text
  SelectObject(screen.dc(), previous);
  DeleteObject(font);
  EXPECT_EQ(screen.Ink(100, 200, 175, 250), 75 * 50);
  // Bold ink may stand a pixel past the last advance, as synthetic bold does; nothing else shows.
  EXPECT_EQ(screen.Ink(0, 0, 640, 480), 75 * 50 + screen.Ink(175, 200, 176, 250));
  EXPECT_LE(screen.Ink(175, 200, 176, 250), 10);
}

TEST(TextTest, HalfWidthCharactersKeepFixedColumns) {
  // "TIME      %d" and "BEST      %d" rely on it: the digit lands ten advances to the right.
  Screen line;
  Screen digit;
  DrawMincho(line, "TIME      7", 80, 20, 170);
  DrawMincho(digit, "7", 80, 20 + 10 * 40, 170);
  EXPECT_GT(digit.Ink(420, 170, 470, 250), 100);
  EXPECT_EQ(line.Region(400, 160, 470, 260), digit.Region(400, 160, 470, 260));
}

TEST(TextTest, BoldIsAboutAPixelWiderAndKeepsTheAdvance) {
  Screen plain;
  Screen bold;
  DrawMincho(plain,
             "\x92\xbc"
             "1",
             50, 20, 20, FW_NORMAL);  // "直1"
  DrawMincho(bold,
             "\x92\xbc"
             "1",
             50, 20, 20, FW_BOLD);
  const int plainInk = plain.Ink(20, 20, 70, 70);
  const int boldInk = bold.Ink(20, 20, 70, 70);
  EXPECT_GT(boldInk, plainInk + 40);
  EXPECT_LT(boldInk, plainInk * 2);
  // The digit after the kanji starts at the same column in both.
  auto leftmost = [](Screen& screen) {
    for (int x = 70; x < 100; ++x) {
      if (screen.Ink(x, 20, x + 1, 70) > 0) return x;
    }
    return -1;
  };
  EXPECT_NE(leftmost(plain), -1);
  EXPECT_NEAR(leftmost(bold), leftmost(plain), 1);
}

TEST(TextTest, TextPastAnyEdgeIsClippedAndNothingOutsideIsTouched) {
  Screen screen;
  DrawMincho(screen, "  3", 200, -150, -80);
  DrawMincho(screen, "PUSH SHIFT!", 50, 560, 450);
  DrawMincho(screen, "\x92\xbc\x90\x69", 200, 500, 380);
  EXPECT_TRUE(screen.BorderIntact());
  EXPECT_GT(screen.Ink(0, 0, 200, 120), 0) << "the part of the 3 inside the picture is drawn";
  EXPECT_GT(screen.Ink(560, 450, 640, 480), 0);

  Screen beyond;
  DrawMincho(beyond, "PUSH SHIFT!", 50, 650, 390);
  DrawMincho(beyond, "PUSH SHIFT!", 50, -100000, 390);
  DrawMincho(beyond, "PUSH SHIFT!", 50, 2147483000, 2147483000);
  EXPECT_TRUE(TextOutA(beyond.dc(), -2147483647, -2147483647, "AB", 2));
  EXPECT_EQ(beyond.Ink(0, 0, 640, 480), 0);
  EXPECT_TRUE(beyond.BorderIntact());
}

TEST(TextTest, AFontPerLineCostsNextToNothing) {
  Screen screen;
  DrawMincho(screen, "SPEED 45", 50, 20, 30);  // the first line realises the font
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 1000; ++i) DrawMincho(screen, "SPEED 45", 50, 20, 30);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  RecordProperty("microseconds_per_line", static_cast<int>(seconds * 1000));
  EXPECT_LT(seconds, 2.0) << "a thousand lines took " << seconds << " s";
}

}  // namespace
