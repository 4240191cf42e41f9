#include "bench/frame/game_run.h"

#include <time.h>

#include <fstream>
#include <sstream>

#include "platform/testing.h"
#include "record/game_globals.h"
#include "record/game_state.h"
#include "tools/replay/replay_runner.h"
#include "tools/replay/replay_step.h"

namespace bench {
namespace {

constexpr int kNoBestTime = 20000;

Scenario ScenarioOf(const GameGlobals& g) {
  switch (g.gameState) {
    case StateCountdown:
      return Scenario::Countdown;
    case StateFlying:
      return Scenario::Flight;
    default:
      return g.bestTime == kNoBestTime ? Scenario::Title : Scenario::Goal;
  }
}

double Seconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

const char* ScenarioName(Scenario scenario) {
  switch (scenario) {
    case Scenario::Title:
      return "title";
    case Scenario::Countdown:
      return "countdown";
    case Scenario::Flight:
      return "flight";
    case Scenario::Goal:
      return "goal";
  }
  return "?";
}

std::optional<Scenario> ScenarioNamed(std::string_view name) {
  for (Scenario scenario : kScenarios) {
    if (name == ScenarioName(scenario)) return scenario;
  }
  return std::nullopt;
}

double ThreadCpuSeconds() {
  return Seconds(CLOCK_THREAD_CPUTIME_ID);
}

double ProcessCpuSeconds() {
  return Seconds(CLOCK_PROCESS_CPUTIME_ID);
}

double WallSeconds() {
  return Seconds(CLOCK_MONOTONIC);
}

GameRun PlayScript(const replay::Script& script, const GameRunOptions& options) {
  platform::testing::SetDeviceAvailability(
      {.optimised = !options.referenceDevice, .reference = true});
  platform::testing::SetDrawListener(options.listener);

  GameRun run;
  replay::ScriptCursor cursor(script);
  std::uint64_t calls = 0;
  double last = 0.0, lastWall = 0.0, lastProcess = 0.0;
  // Asked once before the first frame and then right after every flip: the time between two
  // calls is one frame, with the messages handled before it.
  auto nextStep = [&] {
    const double now = ThreadCpuSeconds(), nowWall = WallSeconds();
    const double nowProcess = ProcessCpuSeconds();
    if (calls >= 2) {
      run.frames.push_back(
          {now - last, nowWall - lastWall, nowProcess - lastProcess, ScenarioOf(globals)});
    }
    ++calls;
    lastWall = WallSeconds();
    lastProcess = ProcessCpuSeconds();
    last = ThreadCpuSeconds();
    return cursor.Next();
  };
  replay::ReplayOutputs outputs;
  outputs.keepLastPicture = false;  // no picture is read: Present spares its copy
  outputs.display = options.display;
  const replay::ReplayResult result = replay::RunReplay(nextStep, outputs);

  platform::testing::SetDrawListener(nullptr);
  platform::testing::SetDeviceAvailability({});
  run.status = result.status;
  run.error = result.error;
  return run;
}

std::optional<std::vector<std::string>> TakeDisplayOptions(
    const std::vector<std::string>& arguments, replay::DisplayChoice* display, std::string* error) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (!replay::IsDisplayOption(arguments[i])) {
      rest.push_back(arguments[i]);
      continue;
    }
    if (i + 1 >= arguments.size()) {
      if (error) *error = arguments[i] + " needs a value";
      return std::nullopt;
    }
    if (!replay::TakeDisplayOption(arguments[i], arguments[i + 1], display, error)) {
      return std::nullopt;
    }
    ++i;
  }
  return rest;
}

std::string DisplayLabel(const replay::DisplayChoice& display) {
  const auto geometry = platform::ddraw::GeometryFor(display.render, display.displayWidth,
                                                     display.displayHeight, nullptr);
  if (!geometry || (geometry->width == 640 && geometry->height == 480)) return {};
  return " " + std::to_string(geometry->width) + "x" + std::to_string(geometry->height);
}

std::optional<replay::Script> LoadScript(const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (error) *error = "cannot read " + path;
    return std::nullopt;
  }
  std::ostringstream text;
  text << file.rdbuf();
  std::string why;
  auto script = replay::ParseScript(text.str(), &why);
  if (!script && error) *error = path + ":" + why;
  return script;
}

}  // namespace bench
