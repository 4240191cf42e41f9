// GDI on a picture drawn at a render scale: the game's coordinates and font sizes land k times as
// large (from the origin, in the wide view), text is drawn at that size rather than enlarged,
// nothing outside the picture is touched, and kept lines are never shared between scales.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "platform/api/gdi.h"
#include "platform/gdi/surface_dc.h"
#include "tests/platform/gdi/guarded_picture.h"
#include "tests/support/mincho_text.h"

namespace {

constexpr std::uint16_t kBlue = GuardedPicture::kBlue;

// The game's 640 × 480 picture at a scale, widened by twice the origin, inside a guard border.
class ScaledScreen : public GuardedPicture {
 public:
  explicit ScaledScreen(float scale, int originX = 0)
      : GuardedPicture(static_cast<int>(std::lround(640 * scale)) + 2 * originX,
                       static_cast<int>(std::lround(480 * scale)), 8, scale, originX) {}

  struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  };
  // The smallest box holding every pixel that is no longer the background.
  Box Ink() {
    Box box;
    for (int y = 0; y < height(); ++y) {
      for (int x = 0; x < width(); ++x) {
        if (At(x, y) == kBlue) continue;
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
               std::max(box.bottom, y + 1)};
      }
    }
    return box;
  }
};

// The title as the game draws it: its shadow and then itself, bold Mincho 150 at (20, 10).
void DrawTitle(HDC dc) {
  DrawMinchoText(dc, "Tirravel", 150, 22, 12, RGB(120, 120, 120), false);
  DrawMinchoText(dc, "Tirravel", 150, 20, 10, RGB(255, 180, 0), false);
}

TEST(ScaledTextTest, TextLandsWhereTheGamesLayoutSaysAtItsRealSize) {
  ScaledScreen classic(1.0f);
  DrawTitle(classic.dc());
  const ScaledScreen::Box base = classic.Ink();
  ASSERT_GT(base.right, base.left);
  struct Case {
    float scale;
    int originX;
  };
  for (const Case c : {Case{2.0f, 0}, Case{2.25f, 0}, Case{2.25f, 240}, Case{4.5f, 0}}) {
    SCOPED_TRACE(testing::Message() << "scale " << c.scale << ", origin " << c.originX);
    ScaledScreen screen(c.scale, c.originX);
    DrawTitle(screen.dc());
    const ScaledScreen::Box box = screen.Ink();
    // Each edge where the game's picture has it, to within the rounding of glyph metrics and
    // advances at either size.
    const double slack = 2 * c.scale + 3;
    EXPECT_NEAR(box.left, base.left * c.scale + c.originX, slack);
    EXPECT_NEAR(box.top, base.top * c.scale, slack);
    EXPECT_NEAR(box.right, base.right * c.scale + c.originX, slack + 8);  // eight advances
    EXPECT_NEAR(box.bottom, base.bottom * c.scale, slack);
    EXPECT_TRUE(screen.BorderIntact());
  }
}

TEST(ScaledTextTest, EdgesAreDrawnAtTheScaleNotEnlarged) {
  // Enlarged text would come in whole 2 × 2 blocks of one colour; drawn text does not.
  ScaledScreen screen(2.0f);
  DrawMinchoText(screen.dc(), "SPEED 45", 50, 20, 30, RGB(255, 180, 0), false);
  int mixedBlocks = 0;
  for (int y = 60; y < 160; y += 2) {
    for (int x = 40; x < 500; x += 2) {
      const std::uint16_t p = screen.At(x, y);
      mixedBlocks += p != screen.At(x + 1, y) || p != screen.At(x, y + 1);
    }
  }
  EXPECT_GT(mixedBlocks, 200);

  // The system font, hard-edged in the game's pixels, is smoothed at a scale: black on white
  // with greys between.
  ScaledScreen system(2.0f);
  TextOutA(system.dc(), 10, 440, "RGB Emulation", 13);
  std::set<std::uint16_t> colours;
  for (int y = 880; y < 912; ++y) {
    for (int x = 20; x < 240; ++x) colours.insert(system.At(x, y));
  }
  EXPECT_GT(colours.size(), 2u);
  // Its opaque cell is the scaled 16-pixel one.
  EXPECT_EQ(system.At(20, 880), 0xFFFF);
  EXPECT_EQ(system.At(20, 911), 0xFFFF);
  EXPECT_EQ(system.At(20, 912), kBlue);
  EXPECT_EQ(system.At(19, 880), kBlue);
}

TEST(ScaledTextTest, NothingOutsideTheWidePictureIsTouched) {
  ScaledScreen screen(2.25f, 240);
  DrawMinchoText(screen.dc(), "  3", 200, -260, -80, RGB(255, 180, 0), true);
  DrawMinchoText(screen.dc(), "PUSH SHIFT!", 50, 600, 450, RGB(255, 180, 0), true);
  DrawMinchoText(screen.dc(), "PUSH SHIFT!", 50, 2147483000, -2147483000, RGB(0, 0, 0), true);
  EXPECT_TRUE(TextOutA(screen.dc(), -2147483647, 2147483647, "AB", 2));
  TextOutA(screen.dc(), 700, 470, "RGB Emulation", 13);
  EXPECT_TRUE(screen.BorderIntact());
  EXPECT_NE(screen.At(2, 2), kBlue) << "the opaque cell reaches into the margin";
}

TEST(ScaledTextTest, KeptLinesAreNotSharedBetweenScales) {
  // The fourth drawing of a line is drawn as kept; at each scale it must be the first one's.
  for (float scale : {1.0f, 2.0f, 2.25f, 1.0f}) {
    SCOPED_TRACE(testing::Message() << "scale " << scale);
    std::vector<std::vector<std::uint16_t>> drawings;
    for (int i = 0; i < 4; ++i) {
      ScaledScreen screen(scale);
      DrawMinchoText(screen.dc(), "BEST 123", 80, 20, 250, RGB(255, 180, 0), false);
      drawings.push_back(screen.Memory());
    }
    EXPECT_EQ(drawings.back(), drawings.front());
  }
}

TEST(ScaledTextTest, PixelsAndCopiesCoverTheGamesPixelsAtTheScale) {
  ScaledScreen screen(2.25f, 240);
  // The game's pixel (10, 10) is physical [263, 265) × [23, 25) at 2.25 from 240.
  EXPECT_EQ(SetPixel(screen.dc(), 10, 10, RGB(255, 255, 255)), RGB(255, 255, 255));
  EXPECT_EQ(screen.At(263, 23) & screen.At(264, 24), 0xFFFF);
  EXPECT_EQ(screen.At(262, 23) | screen.At(265, 24) | screen.At(263, 22) | screen.At(264, 25),
            kBlue);
  EXPECT_EQ(GetPixel(screen.dc(), 10, 10), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(screen.dc(), -107, 0), RGB(0, 0, 255)) << "in the left margin";
  EXPECT_EQ(GetPixel(screen.dc(), -107, 480), CLR_INVALID);

  // A copy from a memory context fills the blocks of the game's pixels it lands on.
  ScaledScreen source(1.0f);
  SetPixel(source.dc(), 1, 0, RGB(0, 0, 0));
  ASSERT_TRUE(BitBlt(screen.dc(), 0, 0, 2, 1, source.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(screen.At(240, 0), kBlue);
  EXPECT_EQ(screen.At(242, 1), 0x0000);
  EXPECT_EQ(screen.At(244, 1), 0x0000);
  EXPECT_EQ(screen.At(245, 1), kBlue);
  ASSERT_TRUE(BitBlt(screen.dc(), -2000, -10, 100000, 100000, source.dc(), 0, 0, SRCCOPY));
  EXPECT_TRUE(screen.BorderIntact());
}

TEST(ScaledTextTest, AnUnusableScaleOrOriginGetsNoContext) {
  std::vector<std::uint16_t> memory(64 * 64);
  platform::PixelBuffer buffer{reinterpret_cast<std::uint8_t*>(memory.data()),
                               64,
                               64,
                               128,
                               platform::kRgb565Layout,
                               nullptr};
  for (float scale : {0.0f, -1.0f, NAN, INFINITY, 100.0f}) {
    buffer.scale = scale;
    EXPECT_EQ(platform::gdi::CreateSurfaceDC(buffer), nullptr) << scale;
  }
  buffer.scale = 1.0f;
  buffer.originX = -1;
  EXPECT_EQ(platform::gdi::CreateSurfaceDC(buffer), nullptr);
}

}  // namespace
