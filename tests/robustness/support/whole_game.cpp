#include "tests/robustness/support/whole_game.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/testing.h"
#include "tests/robustness/support/program_run.h"
#include "tests/support/temp_folder.h"
#include "tools/replay/replay_runner.h"

namespace {

int GraphicsObjectsLeft() {
  return platform::testing::LiveObjects() -
         platform::testing::LiveObjects(platform::testing::ObjectKind::Window);
}

}  // namespace

GameOutcome PlayInProcess(const std::filesystem::path& folder, const FrameScript& script,
                          const replay::DisplayChoice& display) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  std::uint64_t frame = 0;
  replay::ReplayOutputs outputs;
  outputs.display = display;
  testing::internal::CaptureStderr();
  const replay::ReplayResult result = replay::RunReplay([&] { return script(frame++); }, outputs);
  GameOutcome outcome;
  outcome.err = testing::internal::GetCapturedStderr();
  std::filesystem::current_path(previous);
  outcome.status = result.status;
  outcome.frames = result.frames;
  outcome.graphicsObjectsLeft = GraphicsObjectsLeft();
  EXPECT_EQ(result.error, "");
  return outcome;
}

FrameScript IdleFrames(std::uint64_t frames, std::uint32_t milliseconds) {
  return [frames, milliseconds](std::uint64_t frame) {
    replay::ReplayStep step;
    if (frame < frames) step.frame = replay::ReplayFrame{{}, milliseconds};
    return step;
  };
}

std::filesystem::path ReplayProgram() {
  return TIRRAVEL_REPLAY;
}

GameOutcome PlayAsProgram(const std::filesystem::path& folder, bool asNobody,
                          const std::filesystem::path& program) {
  const std::filesystem::path script = folder.parent_path() / (folder.filename().string() + ".txt");
  std::ofstream(script) << "frames 3 16\n";
  using std::filesystem::perms;
  std::filesystem::permissions(
      script, perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
  ProgramRun run;
  run.program = program;
  run.arguments = {script.string()};
  run.folder = folder;
  run.asNobody = asNobody;
  const ProgramResult result = RunProgram(run);
  EXPECT_FALSE(result.timedOut);
  GameOutcome outcome;
  outcome.status = result.status;
  outcome.err = result.err;
  return outcome;
}

std::filesystem::path FreshFolder(const std::string& name) {
  using std::filesystem::perms;
  static const TempFolder process;  // removed when the tests are over
  const std::filesystem::path folder = process.Path() / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  // Open to everyone, so the run that reads as another user can get at the files.
  const perms open = perms::owner_all | perms::group_read | perms::group_exec | perms::others_read |
                     perms::others_exec;
  std::filesystem::permissions(folder.parent_path(), open);
  std::filesystem::permissions(folder, open);
  return folder;
}

std::filesystem::path DataFolderBeside(const std::filesystem::path& program) {
  // /proc/self/exe, which the game goes by, names the program with every link resolved.
  return (std::filesystem::canonical(program).parent_path() / TIRRAVEL_DATA_FROM_PROGRAM)
      .lexically_normal();
}

std::string TextureNotFound(const std::filesystem::path& folder,
                            const std::filesystem::path& program) {
  return "Texture.bmp: file not found in " + std::filesystem::canonical(folder).string() +
         " nor in " + DataFolderBeside(program).string();
}
