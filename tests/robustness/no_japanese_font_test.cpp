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

  ExpectFiveFramesWithOneFontWarning("Japanese faces");
  std::filesystem::remove_all(folder);
}

}  // namespace
