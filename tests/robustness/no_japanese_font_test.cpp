// On a machine without any Japanese face the whole game still plays and draws its texts, from
// a fallback face (missing characters as boxes), and says so once on standard error.
#include <gtest/gtest.h>

#include "platform/testing.h"
#include "tests/robustness/support/fonts.h"
#include "tests/robustness/support/whole_game.h"

namespace {

TEST(NoJapaneseFont, TheGamePlaysWithAFallbackFaceAndOneWarning) {
  const std::filesystem::path folder = FreshFolder("LatinFontsOnly");
  UseOnlyTheseFonts(folder, {"/usr/share/fonts/truetype/dejavu"});

  const GameOutcome outcome = PlayInProcess(TIRRAVEL_ASSETS, IdleFrames(5, 16));
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.frames, 5u);
  EXPECT_EQ(platform::testing::LiveObjects(), 0);
  EXPECT_EQ(outcome.err.rfind("tirravel: ", 0), 0u) << outcome.err;
  EXPECT_NE(outcome.err.find("Japanese faces"), std::string::npos) << outcome.err;
  EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << "one line: " << outcome.err;
  // The title, and the three lines of controls (Japanese but for their keys' names).
  EXPECT_GT(PixelsOfColour(kOrangeText, 10, 160), 500);
  EXPECT_GT(PixelsOfColour(kOrangeText, 160, 320), 500);
  std::filesystem::remove_all(folder);
}

}  // namespace
