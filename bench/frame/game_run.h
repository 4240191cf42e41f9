// Plays a replay script through the real game (WinMain and everything below it) on the headless
// host, in the current folder, and measures the processor time and the wall time of every frame.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/testing.h"
#include "tools/replay/display_choice.h"
#include "tools/replay/script.h"

namespace bench {

// What a frame shows, told from the game's state once the frame is done.
enum class Scenario {
  Title,      // the title screen before any finished race: orbit, controls, device lines
  Countdown,  // the five seconds before a race
  Flight,     // the race along the corridor
  Goal,       // the result screen once a race has reached the goal
};
inline constexpr Scenario kScenarios[] = {Scenario::Title, Scenario::Countdown, Scenario::Flight,
                                          Scenario::Goal};

const char* ScenarioName(Scenario scenario);
std::optional<Scenario> ScenarioNamed(std::string_view name);

struct FrameSample {
  double cpuSeconds = 0.0;         // this thread's processor time from the previous frame's flip
  double wallSeconds = 0.0;        // the time that passed meanwhile, for drawing on several threads
  double processCpuSeconds = 0.0;  // and the processor time of all the process's threads
  Scenario scenario = Scenario::Title;
};

struct GameRunOptions {
  bool referenceDevice = false;                         // draw with the "RGB" device
  platform::testing::DrawListener* listener = nullptr;  // told about every scene and draw
  replay::DisplayChoice display = {};                   // the render scale and view
};

struct GameRun {
  std::vector<FrameSample> frames;  // the first frame (which carries the start-up) excluded
  int status = 0;                   // what WinMain returned
  std::string error;                // what went wrong outside the game, or empty
};

GameRun PlayScript(const replay::Script& script, const GameRunOptions& options);

// Takes the display options (display_choice.h) out of a command's arguments into *display and
// returns the rest; nothing, with *error set, for a bad or missing value.
std::optional<std::vector<std::string>> TakeDisplayOptions(
    const std::vector<std::string>& arguments, replay::DisplayChoice* display, std::string* error);

// How a row names the size a run was drawn at: empty at the game's own 640 × 480, else " WxH",
// the physical picture's size.
std::string DisplayLabel(const replay::DisplayChoice& display);

// Reads and parses a script file; nothing, with *error set, on failure.
std::optional<replay::Script> LoadScript(const std::string& path, std::string* error);

// This thread's processor time, in seconds.
double ThreadCpuSeconds();
// The processor time of all the process's threads, in seconds.
double ProcessCpuSeconds();
// A monotonic wall clock, in seconds.
double WallSeconds();

}  // namespace bench
