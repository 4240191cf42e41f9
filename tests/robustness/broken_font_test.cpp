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

  ExpectFiveFramesWithOneFontWarning("IPAMincho");
  fs::remove_all(folder);
}

}  // namespace
