// The commands that play the game: frame costs, captures and the race script.
#include <algorithm>
#include <cstdio>
#include <fstream>

#include "bench/capture/call_logger.h"
#include "bench/frame/commands.h"
#include "bench/frame/game_run.h"
#include "bench/frame/statistics.h"
#include "tools/autopilot/race_scripts.h"

namespace bench {
namespace {

// The device named on the command line: "optimised" or "reference".
std::optional<bool> ReferenceDeviceNamed(const std::string& name) {
  if (name == "optimised") return false;
  if (name == "reference") return true;
  return std::nullopt;
}

std::string RunProblem(const GameRun& run) {
  if (!run.error.empty()) return run.error;
  if (run.status != 0) return "the game ended with status " + std::to_string(run.status);
  return {};
}

}  // namespace

int FramesCommand(const Arguments& given) {
  std::string error;
  replay::DisplayChoice display;
  const auto rest = TakeDisplayOptions(given, &display, &error);
  if (!rest) return Fail(error);
  const Arguments& arguments = *rest;
  if (arguments.size() != 3) {
    return Fail(std::string("frames SCRIPT SCENARIO[,SCENARIO...] optimised|reference ") +
                replay::kDisplayOptionsUsage);
  }
  const auto script = LoadScript(arguments[0], &error);
  const auto reference = ReferenceDeviceNamed(arguments[2]);
  if (!script) return Fail(error);
  std::vector<Scenario> scenarios;
  for (std::size_t from = 0; from <= arguments[1].size();) {
    const std::size_t comma = std::min(arguments[1].find(',', from), arguments[1].size());
    const auto scenario = ScenarioNamed(std::string_view(arguments[1]).substr(from, comma - from));
    if (!scenario) return Fail("unknown scenario in " + arguments[1]);
    scenarios.push_back(*scenario);
    from = comma + 1;
  }
  if (!reference) return Fail("unknown device " + arguments[2]);
  // Without --threads the device draws on one thread and a frame costs the game thread's
  // processor time, as ever; with it, the threads share the frame and it costs the wall time.
  const bool threaded = display.drawingThreads != 0;
  if (!threaded) display.drawingThreads = 1;
  std::string variant = arguments[2] + DisplayLabel(display);
  if (threaded) {
    if (DisplayLabel(display).empty()) variant += " 640x480";
    variant += " " + std::to_string(display.drawingThreads) +
               (display.drawingThreads == 1 ? " thread" : " threads");
  }

  const GameRun run = PlayScript(*script, {.referenceDevice = *reference, .display = display});
  if (std::string problem = RunProblem(run); !problem.empty()) return Fail(problem);
  for (Scenario scenario : scenarios) {
    std::vector<double> costs, allThreads;
    for (const FrameSample& frame : run.frames) {
      if (frame.scenario == scenario) {
        costs.push_back(threaded ? frame.wallSeconds : frame.cpuSeconds);
        allThreads.push_back(frame.processCpuSeconds);
      }
    }
    if (costs.empty())
      return Fail(std::string("the script shows no frame of ") + ScenarioName(scenario));
    PrintFrameSummary(threaded ? "threads" : "frame", ScenarioName(scenario), variant,
                      Summarise(costs));
    if (threaded) {
      // What sharing the frame out costs: all threads' processor time against one's.
      PrintRow("threads", ScenarioName(scenario), variant, "all threads cpu",
               Summarise(allThreads).median * 1e3, "ms");
    }
  }
  return 0;
}

int CaptureCommand(const Arguments& arguments) {
  if (arguments.size() != 3) return Fail("capture SCRIPT SCENARIO FILE");
  std::string error;
  const auto script = LoadScript(arguments[0], &error);
  const auto scenario = ScenarioNamed(arguments[1]);
  if (!script) return Fail(error);
  if (!scenario) return Fail("unknown scenario " + arguments[1]);

  capture::CallLogger logger;
  const GameRun run = PlayScript(*script, {.listener = &logger});
  if (std::string problem = RunProblem(run); !problem.empty()) return Fail(problem);
  if (!logger.Problem().empty()) return Fail(logger.Problem());
  capture::Capture capture = logger.Finish();
  // The logger saw every frame, the first one too; the samples start at the second.
  if (capture.frames.size() != run.frames.size() + 1) {
    return Fail("the game drew " + std::to_string(capture.frames.size()) + " scenes in " +
                std::to_string(run.frames.size() + 1) + " frames");
  }
  std::vector<capture::Frame> kept;
  for (std::size_t i = 0; i < run.frames.size(); ++i) {
    if (run.frames[i].scenario == *scenario) kept.push_back(std::move(capture.frames[i + 1]));
  }
  capture.frames = std::move(kept);
  if (capture.frames.empty()) return Fail("the script shows no frame of " + arguments[1]);
  if (!capture::WriteCapture(capture, arguments[2], &error)) return Fail(error);
  PrintRow("capture", arguments[1], "game", "frames", static_cast<double>(capture.frames.size()),
           "frames");
  PrintRow("capture", arguments[1], "game", "draws per frame",
           static_cast<double>(capture.DrawCount()) / static_cast<double>(capture.frames.size()),
           "draws");
  return 0;
}

int RecordRaceCommand(const Arguments& arguments) {
  if (arguments.size() != 1) return Fail("record-race FILE");
  std::string error;
  const std::string script = autopilot::BenchRaceScript({}, &error);
  if (script.empty()) return Fail(error);
  std::ofstream file(arguments[0]);
  file << "# The race scenario: written by `tirravel-bench record-race`, the race flown by its\n"
          "# autopilot. Frames of 32 ms up to the goal, then the result screen.\n"
       << script;
  return file.flush() ? 0 : Fail("cannot write " + arguments[0]);
}

}  // namespace bench
