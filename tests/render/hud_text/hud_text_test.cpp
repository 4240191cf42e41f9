// The text overlay as a player sees it: each of the game's lines drawn on the back buffer, where
// and in the colour asked, its shadow offset, clipped at the screen's edges, with its Japanese
// characters really there.
#include "render/hud_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/api/gdi.h"
#include "platform/testing.h"
#include "record/game_globals.h"
#include "record/screen_texts.h"
#include "tests/render/hud_text/back_buffer.h"
#include "tests/render/hud_text/kernel_double.h"

namespace {

using tirravel::test::BackBuffer;
using tirravel::test::kernel;

constexpr std::uint16_t Rgb565(int r, int g, int b) {
  return static_cast<std::uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}
constexpr std::uint16_t kOrange = Rgb565(255, 180, 0);
constexpr std::uint16_t kGrey = Rgb565(120, 120, 120);

struct Box {
  int left = BackBuffer::kWidth, top = BackBuffer::kHeight, right = -1, bottom = -1;
  bool Empty() const { return right < 0; }
};

class HudTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    globals.backBuffer = &screen;
    kernel = {};
  }
  void TearDown() override { globals.backBuffer = nullptr; }

  // The bounding box of the pixels for which pick is true.
  template <typename Pick>
  Box Where(Pick pick) {
    Box box;
    for (int y = 0; y < BackBuffer::kHeight; ++y) {
      for (int x = 0; x < BackBuffer::kWidth; ++x) {
        if (!pick(screen.At(x, y))) continue;
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
               std::max(box.bottom, y)};
      }
    }
    return box;
  }
  Box Ink() {
    return Where([](std::uint16_t p) { return p != 0; });
  }
  // A line with its shadow, as the screens draw every line.
  void Shadowed(const char* text, int size, int x, int y, int offset) {
    DrawHudText(text, size, x + offset, y + offset, 120, 120, 120, 0);
    DrawHudText(text, size, x, y, 255, 180, 0, 0);
  }

  BackBuffer screen;
};

TEST_F(HudTextTest, DrawsTheLineAtItsPlaceInItsColourAndGivesEverythingBack) {
  const int before = platform::testing::LiveObjects();
  DrawHudText(kTextCountdownTime, 50, 20, 80, 255, 180, 0, 0);
  const Box ink = Ink();
  ASSERT_FALSE(ink.Empty());
  // "TIME  0": seven half-width characters of the 50-pixel cell, 25 pixels apart.
  EXPECT_GE(ink.left, 20);
  EXPECT_LE(ink.left, 24);
  EXPECT_GE(ink.top, 80);
  EXPECT_LE(ink.right, 20 + 7 * 25);
  EXPECT_LT(ink.bottom, 80 + 50);
  EXPECT_GT(ink.right, 20 + 6 * 25) << "the 0 is there";
  EXPECT_FALSE(Where([](std::uint16_t p) { return p == kOrange; }).Empty());
  EXPECT_EQ(screen.getDcCalls, 1);
  EXPECT_EQ(screen.releaseDcCalls, 1);
  EXPECT_EQ(kernel.allocations, 1);
  EXPECT_EQ(kernel.frees, 1);
  EXPECT_EQ(kernel.lastBytes, 60u);
  EXPECT_EQ(kernel.lastFlags, GPTR);
  EXPECT_EQ(platform::testing::LiveObjects(), before) << "the font and the context went back";
}

TEST_F(HudTextTest, TheShadowIsTheSameShapeOffsetBelowAndRight) {
  // Fully covered pixels show the colour itself, whatever it is; compare their extents.
  auto orange = [](std::uint16_t p) { return p == kOrange; };
  auto grey = [](std::uint16_t p) { return p == kGrey; };
  DrawHudText(kTextRaceTimeFormat, 50, 20, 80, 255, 180, 0, 0);
  const Box text = Where(orange);
  screen.Fill(0);
  DrawHudText(kTextRaceTimeFormat, 50, 21, 82, 120, 120, 120, 0);
  const Box shadow = Where(grey);
  ASSERT_FALSE(text.Empty());
  EXPECT_EQ(shadow.left, text.left + 1);
  EXPECT_EQ(shadow.top, text.top + 2);
  EXPECT_EQ(shadow.right, text.right + 1);
  EXPECT_EQ(shadow.bottom, text.bottom + 2);

  // Drawn together, the text lies on top and the shadow shows below and right of it.
  DrawHudText(kTextRaceTimeFormat, 50, 20, 80, 255, 180, 0, 0);
  EXPECT_EQ(Where(orange).top, text.top);
  EXPECT_EQ(Where(grey).bottom, text.bottom + 2);
  EXPECT_EQ(Where(grey).right, text.right + 1);
}

TEST_F(HudTextTest, OnlyTheLowEightBitsOfEachColourCount) {
  DrawHudText("I", 50, 100, 100, 300, -1, 263, 0);  // (44, 255, 7)
  EXPECT_FALSE(Where([](std::uint16_t p) { return p == Rgb565(44, 255, 7); }).Empty());
  const Box other = Where(
      [](std::uint16_t p) { return p != 0 && (p & 0x07E0) != 0x07E0 && p != Rgb565(44, 255, 7); });
  EXPECT_FALSE(other.Empty()) << "anti-aliased edges blend toward black";
}

TEST_F(HudTextTest, AnEmptyLineStillTakesAndGivesBackEverythingButDrawsNothing) {
  const int before = platform::testing::LiveObjects();
  DrawHudText("", 50, 20, 30, 255, 180, 0, 0);
  EXPECT_TRUE(Ink().Empty());
  EXPECT_EQ(screen.getDcCalls, 1);
  EXPECT_EQ(screen.releaseDcCalls, 1);
  EXPECT_EQ(kernel.allocations, 1);
  EXPECT_EQ(kernel.frees, 1);
  EXPECT_EQ(platform::testing::LiveObjects(), before);
}

TEST_F(HudTextTest, WithoutAContextNothingIsAllocatedOrDrawn) {
  screen.getDcResult = DDERR_SURFACELOST;
  DrawHudText(kTextPushShift, 50, 20, 30, 255, 180, 0, 0);
  EXPECT_TRUE(Ink().Empty());
  EXPECT_EQ(kernel.allocations, 0);
  EXPECT_EQ(screen.releaseDcCalls, 0);
  // The next call tries again.
  screen.getDcResult = DD_OK;
  DrawHudText(kTextPushShift, 50, 20, 30, 255, 180, 0, 0);
  EXPECT_FALSE(Ink().Empty());
}

TEST_F(HudTextTest, WithoutMemoryForTheFontTheContextGoesBackAndNothingIsDrawn) {
  const int before = platform::testing::LiveObjects();
  kernel.failAllocation = true;
  DrawHudText(kTextPushShift, 50, 20, 30, 255, 180, 0, 0);
  EXPECT_TRUE(Ink().Empty());
  EXPECT_EQ(screen.releaseDcCalls, 1);
  EXPECT_EQ(kernel.frees, 0);
  EXPECT_EQ(platform::testing::LiveObjects(), before);
}

TEST_F(HudTextTest, ThePromptIsClippedAsItScrollsPastEitherEdge) {
  DrawHudText(kTextPushShift, 50, 650, 390, 255, 180, 0, 0);
  EXPECT_TRUE(Ink().Empty()) << "x = 650 lies wholly beyond the right edge";

  Shadowed(kTextPushShift, 50, 600, 390, 1);
  Box ink = Ink();
  EXPECT_GE(ink.left, 600);
  EXPECT_EQ(ink.right, 639) << "cut at the right edge";

  screen.Fill(0);
  Shadowed(kTextPushShift, 50, -213, 390, 1);  // "PUSH SHIFT!" is 275 pixels wide
  ink = Ink();
  EXPECT_EQ(ink.left, 0) << "the F is cut at the left edge";
  EXPECT_LE(ink.right, -213 + 275 + 2);

  screen.Fill(0);
  Shadowed(kTextCount3, 200, 80, 400, 5);  // past the bottom
  EXPECT_EQ(Ink().bottom, 479);
  Shadowed(kTextTitle, 150, 20, -100, 2);  // past the top
  EXPECT_EQ(Ink().top, 0);
  EXPECT_TRUE(screen.GuardsIntact()) << "nothing outside the picture is touched";
}

TEST_F(HudTextTest, JapaneseCharactersAreDrawnAsThemselves) {
  // "↑　　直進します": 直 is the fourth full-width character, at 20 + 3 × 55.
  DrawHudText(kTextControlsUp, 55, 20, 160, 255, 180, 0, 0);
  std::vector<std::uint16_t> kanji;
  for (int y = 160; y < 215; ++y) {
    for (int x = 185; x < 240; ++x) kanji.push_back(screen.At(x, y));
  }
  EXPECT_EQ(Ink().left >= 20 && Ink().right < 20 + 8 * 55 + 2, true);
  // The ideographic spaces are blank.
  for (int y = 160; y < 215; ++y) {
    for (int x = 77; x < 183; ++x) ASSERT_EQ(screen.At(x, y), 0) << x << "," << y;
  }
  // The same place with a byte that decodes to nothing shows the missing-glyph box instead.
  screen.Fill(0);
  DrawHudText("\x81\xaa\x81\x40\x81\x40\x92", 55, 20, 160, 255, 180, 0, 0);
  std::vector<std::uint16_t> box;
  int kanjiInk = 0;
  for (int y = 160; y < 215; ++y) {
    for (int x = 185; x < 240; ++x) box.push_back(screen.At(x, y));
  }
  for (std::uint16_t p : kanji) kanjiInk += p != 0;
  EXPECT_NE(kanji, box);
  EXPECT_GT(kanjiInk, 400);
}

TEST_F(HudTextTest, TheGamesScreens) {
  char line[64];
  // The first title screen: title, controls, the prompt on its way in, device lines.
  Shadowed(kTextTitle, 150, 20, 10, 2);
  Shadowed(kTextControlsUp, 55, 20, 160, 2);
  Shadowed(kTextControlsTurn, 55, 20, 210, 2);
  Shadowed(kTextControlsSpace, 55, 20, 260, 2);
  Shadowed(kTextPushShift, 50, 650 - 3 * 80, 390, 1);
  HDC dc = nullptr;
  ASSERT_EQ(screen.GetDC(&dc), DD_OK);
  std::snprintf(line, sizeof line, kTextDeviceInfoFormat, "RGB Emulation", "Active Driver");
  TextOutA(dc, 10, 460, line, static_cast<int>(std::strlen(line)));
  TextOutA(dc, 10, 440, kTextFilterOn, static_cast<int>(std::strlen(kTextFilterOn)));
  screen.ReleaseDC(dc);
  EXPECT_FALSE(Where([](std::uint16_t p) { return p == kOrange; }).Empty());
  // The system font's lines: black text on opaque white, 16 pixels high at y = 440 and 460.
  EXPECT_EQ(screen.At(10, 440), 0xFFFF);
  EXPECT_EQ(screen.At(10, 475), 0xFFFF);
  EXPECT_EQ(screen.At(10, 476), 0);

  screen.Fill(0);
  Shadowed(kTextTitle, 150, 20, 10, 2);
  std::snprintf(line, sizeof line, kTextResultTimeFormat, 37);
  Shadowed(line, 80, 20, 170, 2);
  std::snprintf(line, sizeof line, kTextBestTimeFormat, 35);
  Shadowed(line, 80, 20, 250, 2);

  screen.Fill(0);
  Shadowed(kTextTitle, 150, 20, 10, 2);
  Shadowed(kTextResultGiveUp, 80, 20, 170, 2);

  screen.Fill(0);
  std::snprintf(line, sizeof line, kTextSpeedFormat, 0);
  DrawHudText(line, 50, 21, 32, 120, 120, 120, 0);
  DrawHudText(line, 50, 20, 30, 255, 180, 0, 0);
  DrawHudText(kTextCountdownTime, 50, 21, 82, 120, 120, 120, 0);
  DrawHudText(kTextCountdownTime, 50, 20, 80, 255, 180, 0, 0);
  Shadowed(kTextCount3, 200, 80, 100, 5);
  screen.Fill(0);
  Shadowed(kTextCountStart, 200, 80, 100, 5);

  screen.Fill(0);
  std::snprintf(line, sizeof line, kTextSpeedFormat, 45);
  DrawHudText(line, 50, 21, 32, 120, 120, 120, 0);
  DrawHudText(line, 50, 20, 30, 255, 180 - 3 * 45, 0, 0);
  std::snprintf(line, sizeof line, kTextRaceTimeFormat, 12);
  DrawHudText(line, 50, 21, 82, 120, 120, 120, 0);
  DrawHudText(line, 50, 20, 80, 255, 180 - 3 * 45, 0, 0);
  DrawHudText(kTextGiveUpHint, 30, 21, 442, 20, 20, 20, 0);
  DrawHudText(kTextGiveUpHint, 30, 20, 440, 255, 180, 0, 0);
  EXPECT_FALSE(Where([](std::uint16_t p) { return p == Rgb565(255, 45, 0); }).Empty());
  const Box hint = Where([](std::uint16_t p) { return p == kOrange; });
  EXPECT_GE(hint.top, 440);
  EXPECT_LT(hint.bottom, 470);
  EXPECT_TRUE(screen.GuardsIntact());
}

}  // namespace
