// A Mincho font file that fontconfig lists but FreeType cannot load (it was cut short after the
// font cache was made): the whole game still plays, draws its texts with the next face, and says
// so once on standard error.
#include <gtest/gtest.h>

#include "platform/testing.h"
#include "tests/robustness/support/fonts.h"
#include "tests/robustness/support/program_run.h"
#include "tests/robustness/support/whole_game.h"

namespace {

namespace fs = std::filesystem;

TEST(BrokenFontFile, TheGamePlaysWithTheNextFaceAndOneWarning) {
  const fs::path folder = FreshFolder("BrokenMincho");
  const fs::path fonts = folder / "fonts";
  fs::create_directory(fonts);
  fs::copy_file(InstalledFontFile("IPAMincho"), fonts / "mincho.ttf");
  fs::copy_file(InstalledFontFile("IPAGothic"), fonts / "gothic.ttf");
  UseOnlyTheseFonts(folder, {fonts});

  ProgramRun cache;
  cache.program = "/usr/bin/fc-cache";
  cache.folder = folder;
  ASSERT_EQ(RunProgram(cache).status, 0);
  fs::resize_file(fonts / "mincho.ttf", 100);  // the cache still lists it

  const GameOutcome outcome = PlayInProcess(TIRRAVEL_ASSETS, IdleFrames(5, 16));
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.frames, 5u);
  EXPECT_EQ(platform::testing::LiveObjects(), 0);
  EXPECT_EQ(outcome.err.rfind("tirravel: ", 0), 0u) << outcome.err;
  EXPECT_NE(outcome.err.find("IPAMincho"), std::string::npos) << outcome.err;
  EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << "one line: " << outcome.err;
  EXPECT_GT(PixelsOfColour(kOrangeText, 10, 160), 500);
  EXPECT_GT(PixelsOfColour(kOrangeText, 160, 320), 500);
  fs::remove_all(folder);
}

}  // namespace
