// Whole replays of the real game in this process: every frame sees exactly its script's
// milliseconds and every message turn none, whatever key changes and messages come between;
// the keys reach GetKeyState as the game polls them; the script's end sends Escape.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "platform/api/win32.h"
#include "tests/support/temp_folder.h"
#include "tools/replay/replay_runner.h"
#include "tools/replay/trace.h"

namespace {

struct Replayed {
  replay::ReplayResult result;
  std::vector<std::map<std::string, std::string>> rows;  // by column name, one per frame
  DWORD clockAtEnd = 0;  // what the game's clock read once the run was over
};

std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  std::stringstream stream(line);
  for (std::string cell; std::getline(stream, cell, ',');) cells.push_back(cell);
  return cells;
}

std::string ReadAll(std::FILE* file) {
  std::string text;
  std::rewind(file);
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
    text.append(buffer, got);
  }
  return text;
}

// Plays a script from the folder that holds Texture.bmp, keeping its trace.
Replayed Play(const std::string& text, replay::ReplayOutputs outputs = {}) {
  std::string error;
  const auto script = replay::ParseScript(text, &error);
  EXPECT_TRUE(script.has_value()) << error;
  if (!script) return {};
  std::FILE* trace = std::tmpfile();
  outputs.trace = trace;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(TIRRAVEL_ASSETS_DIR);
  replay::ScriptCursor cursor(*script);
  Replayed run;
  run.result = replay::RunReplay([&cursor] { return cursor.Next(); }, outputs);
  run.clockAtEnd = GetTickCount();
  std::filesystem::current_path(previous);

  std::stringstream lines(ReadAll(trace));
  std::fclose(trace);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, replay::TraceHeader());
  const std::vector<std::string> names = Cells(line);
  while (std::getline(lines, line)) {
    const std::vector<std::string> cells = Cells(line);
    EXPECT_EQ(cells.size(), names.size());
    std::map<std::string, std::string> row;
    for (std::size_t i = 0; i < names.size() && i < cells.size(); ++i) row[names[i]] = cells[i];
    run.rows.push_back(row);
  }
  return run;
}

// The frame time the frame clock computes from a difference of ms milliseconds, as printed.
std::string Seconds(std::uint32_t ms) {
  const float seconds = static_cast<float>(static_cast<double>(static_cast<float>(ms)) / 1000.0);
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(seconds));
  return text;
}

TEST(ReplayRun, AtADisplaysRateTheTitleTurnsByItsShareOfADegreeAPicture) {
  for (const int hz : {60, 144, 240}) {
    replay::ReplayOutputs outputs;
    outputs.display.picturesPerSecond = hz;
    const Replayed run = Play("frames 3 7\n", outputs);
    ASSERT_EQ(run.rows.size(), 3u);
    const float share = 60.0f / static_cast<float>(hz);  // exactly 1 at 60: the game's own steps
    float heading = 90.0f;
    for (const auto& row : run.rows) {
      heading = heading - 1.0f * share;
      char text[32];
      std::snprintf(text, sizeof text, "%.9g", static_cast<double>(heading));
      EXPECT_EQ(row.at("playerHeading"), text) << hz << " Hz";
    }
  }
}

TEST(ReplayRun, EveryFrameSeesItsMillisecondsAndMessageTurnsSeeNone) {
  // Space and Z type characters, so their presses cost extra message turns; shift comes sided.
  const Replayed run = Play(
      "frames 3 16\n"
      "frames 2 20 space\n"
      "message z\n"
      "message z\n"
      "frames 1 0 up\n"
      "frames 2 33 up shift\n"
      "message z\n"
      "frames 1 7000 left right\n"
      "message z\n"
      "message escape\n"
      "frames 1 16\n");
  EXPECT_EQ(run.result.status, 0);
  EXPECT_EQ(run.result.error, "");
  ASSERT_EQ(run.rows.size(), 9u) << "the Escape before the last frame ends the game";
  const std::uint32_t ms[] = {16, 16, 16, 20, 20, 0, 33, 33, 7000};
  std::uint32_t total = 0;
  for (std::size_t i = 0; i < run.rows.size(); ++i) {
    EXPECT_EQ(run.rows[i].at("frame"), std::to_string(i + 1));
    EXPECT_EQ(run.rows[i].at("frameSeconds"), Seconds(ms[i])) << "frame " << i + 1;
    total += ms[i];
  }
  // The clock started at 0 and moved only for the frames: every message turn measured nothing.
  EXPECT_EQ(run.clockAtEnd, total);

  auto key = [&](std::size_t frame, const char* name) { return run.rows[frame - 1].at(name); };
  EXPECT_EQ(key(4, "spaceKey"), "1");  // pressed
  EXPECT_EQ(key(5, "spaceKey"), "3");  // held
  EXPECT_EQ(key(6, "spaceKey"), "2");  // released
  EXPECT_EQ(key(6, "upKey"), "1");
  EXPECT_EQ(key(7, "shiftKey"), "1");
  EXPECT_EQ(key(8, "shiftKey"), "3");
  EXPECT_EQ(key(9, "shiftKey"), "2");
  EXPECT_EQ(key(9, "leftKey"), "1");
  EXPECT_EQ(key(9, "rightKey"), "1");
  EXPECT_EQ(key(5, "filterEnabled"), "1");
  EXPECT_EQ(key(6, "filterEnabled"), "1") << "two presses of Z toggle twice";
  EXPECT_EQ(key(9, "filterEnabled"), "0");
}

TEST(ReplayRun, TheFirstFrameSeesItsTimeWithOrWithoutInputBeforeIt) {
  for (const char* script : {"frames 2 25\n", "frames 2 25 space\n", "message z\nframes 2 25\n"}) {
    const Replayed run = Play(script);
    ASSERT_EQ(run.rows.size(), 2u) << script;
    EXPECT_EQ(run.rows[0].at("frameSeconds"), Seconds(25)) << script;
    EXPECT_EQ(run.rows[1].at("frameSeconds"), Seconds(25)) << script;
    EXPECT_EQ(run.clockAtEnd, 50u) << script;
  }
}

TEST(ReplayRun, TheScriptsEndSendsEscapeUnlessTheGameAlreadyEnded) {
  const Replayed toTheEnd = Play("frames 4 16\n");
  EXPECT_EQ(toTheEnd.result.status, 0);
  EXPECT_EQ(toTheEnd.result.frames, 4u);
  EXPECT_EQ(toTheEnd.rows.size(), 4u);

  const Replayed byF12 = Play("frames 2 16\nmessage f12\nframes 5 16\n");
  EXPECT_EQ(byF12.result.status, 0);
  EXPECT_EQ(byF12.result.frames, 2u);
  EXPECT_EQ(byF12.result.error, "");

  const Replayed noFrames = Play("message z\n");
  EXPECT_EQ(noFrames.result.status, 0);
  EXPECT_EQ(noFrames.result.frames, 0u);
  EXPECT_TRUE(noFrames.rows.empty());
}

TEST(ReplayRun, PicturesAreWrittenForTheChosenFramesAndAMissingOneIsAnError) {
  const TempFolder temporary;
  const std::filesystem::path folder = temporary.Path() / "first";
  std::filesystem::create_directories(folder);
  replay::ReplayOutputs outputs;
  outputs.pngFolder = folder.string();
  outputs.pictures = *replay::ParsePictureSelection("2,3,9");

  const Replayed run = Play("frames 3 16\nmessage escape\nframes 6 16\n", outputs);
  EXPECT_EQ(run.result.status, 0);
  EXPECT_EQ(run.result.error, "no picture of frame 9: the game ended after 3 frames");
  EXPECT_FALSE(std::filesystem::exists(folder / "frame-00001.png"));
  EXPECT_TRUE(std::filesystem::exists(folder / "frame-00002.png"));
  EXPECT_TRUE(std::filesystem::exists(folder / "frame-00003.png"));

  // By default, only the last frame's picture.
  const std::filesystem::path lastFolder = temporary.Path() / "last";
  std::filesystem::create_directories(lastFolder);
  outputs.pngFolder = lastFolder.string();
  outputs.pictures = {};
  const Replayed last = Play("frames 2 16\n", outputs);
  EXPECT_EQ(last.result.error, "");
  EXPECT_FALSE(std::filesystem::exists(lastFolder / "frame-00001.png"));
  EXPECT_TRUE(std::filesystem::exists(lastFolder / "frame-00002.png"));
}

TEST(ReplayRun, WithoutTextureTheGamesOwnFailureIsTheStatus) {
  const TempFolder empty;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(empty.Path());
  replay::ScriptCursor cursor(*replay::ParseScript("frames 5 16\n", nullptr));
  const replay::ReplayResult result = replay::RunReplay([&cursor] { return cursor.Next(); }, {});
  std::filesystem::current_path(previous);
  EXPECT_NE(result.status, 0);
  EXPECT_EQ(result.frames, 0u);
}

}  // namespace
