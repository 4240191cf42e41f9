// Without a display the game says so in one line, exits with a non-zero status and leaves
// nothing: on the headless host told it has none, and as the real program on the SDL host with
// no display to open.
#include <gtest/gtest.h>

#include "platform/api/win32.h"
#include "platform/host/headless/headless_host.h"
#include "platform/testing.h"
#include "record/game_globals.h"
#include "tests/robustness/support/program_run.h"
#include "tests/robustness/support/whole_game.h"

namespace {

namespace headless = platform::host::headless;

TEST(NoDisplay, TheWholeGameOnAHostWithoutOneSaysSo) {
  headless::Reset({.displayAvailable = false});
  platform::testing::ResetUserInterface();
  globals = GameGlobals{};
  testing::internal::CaptureStderr();
  char commandLine[] = "";
  platform::testing::InstallDirect3D();  // as the program's main does before WinMain
  const int status = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
  const std::string err = testing::internal::GetCapturedStderr();
  platform::testing::ResetUserInterface();

  EXPECT_EQ(status, 1);
  EXPECT_EQ(err,
            "InitWindow failed: no display could be opened (the headless host was told it has "
            "none)\n");
  EXPECT_EQ(headless::PresentedFrames(), 0u);
  EXPECT_EQ(platform::testing::LiveObjects(), 0);
}

TEST(NoDisplay, TheGameOnSdlWithNoDisplayToOpenSaysSoAndEnds) {
  if (std::filesystem::exists("/dev/dri")) {
    GTEST_SKIP() << "this machine has a console display SDL could open";
  }
  const std::filesystem::path folder = FreshFolder("NoDisplay");
  std::filesystem::copy_file(std::filesystem::path(TIRRAVEL_ASSETS) / "Texture.bmp",
                             folder / "Texture.bmp");
  // A login session's runtime folder, but no X server, no Wayland compositor, and SDL left to
  // look for a display on its own.
  const std::filesystem::path runtime = folder / "runtime";
  std::filesystem::create_directory(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  ProgramRun run;
  run.program = TIRRAVEL_GAME;
  run.folder = folder;
  run.environment = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER",
                     "XDG_RUNTIME_DIR=" + runtime.string(),
                     "LSAN_OPTIONS=suppressions=" TIRRAVEL_SDL_LEAK_SUPPRESSIONS};
  run.timeoutSeconds = 60;
  const ProgramResult result = RunProgram(run);

  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err.rfind("InitWindow failed: no display could be opened (", 0), 0u)
      << result.err;
  EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
  EXPECT_EQ(result.out, "");
  std::filesystem::remove_all(folder);
}

}  // namespace
