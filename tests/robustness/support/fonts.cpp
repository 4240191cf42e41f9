#include "tests/robustness/support/fonts.h"

#include <stdlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/host/headless/headless_host.h"
#include "platform/testing.h"
#include "tests/robustness/support/program_run.h"
#include "tests/robustness/support/whole_game.h"

void UseOnlyTheseFonts(const std::filesystem::path& folder,
                       const std::vector<std::filesystem::path>& fontFolders) {
  const std::filesystem::path configuration = folder / "fonts.conf";
  std::ofstream out(configuration);
  out << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n";
  for (const auto& fonts : fontFolders) out << "<dir>" << fonts.string() << "</dir>\n";
  out << "<cachedir>" << (folder / "cache").string() << "</cachedir>\n</fontconfig>\n";
  out.close();
  setenv("FONTCONFIG_FILE", configuration.c_str(), 1);
}

std::filesystem::path InstalledFontFile(const std::string& family) {
  ProgramRun run;
  run.program = "/usr/bin/fc-match";
  run.arguments = {"-f", "%{file}", family};
  run.folder = std::filesystem::temp_directory_path();
  const ProgramResult result = RunProgram(run);
  return std::filesystem::canonical(result.out);
}

int PixelsOfColour(std::uint16_t colour, int top, int bottom) {
  const platform::host::headless::Frame* frame = platform::host::headless::LastFrame();
  if (!frame) return 0;
  const auto begin = frame->pixels.begin() + static_cast<std::ptrdiff_t>(top) * frame->width;
  const auto end = frame->pixels.begin() + static_cast<std::ptrdiff_t>(bottom) * frame->width;
  return static_cast<int>(std::count(begin, end, colour));
}

void ExpectFiveFramesWithOneFontWarning(const std::string& warned) {
  const GameOutcome outcome = PlayInProcess(TIRRAVEL_ASSETS, IdleFrames(5, 16));
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.frames, 5u);
  EXPECT_EQ(platform::testing::LiveObjects(), 0);
  EXPECT_EQ(outcome.err.rfind("tirravel: ", 0), 0u) << outcome.err;
  EXPECT_NE(outcome.err.find(warned), std::string::npos) << outcome.err;
  EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << "one line: " << outcome.err;
  // The title, and the three lines of controls (Japanese but for their keys' names).
  EXPECT_GT(PixelsOfColour(kOrangeText, 10, 160), 500);
  EXPECT_GT(PixelsOfColour(kOrangeText, 160, 320), 500);
}
