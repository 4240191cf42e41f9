// The commands that need fresh processes: start-up time and peak resident memory.
#include <sys/resource.h>

#include <cstdio>

#include "bench/frame/child_process.h"
#include "bench/frame/commands.h"
#include "bench/frame/game_run.h"
#include "bench/frame/statistics.h"
#include "tools/replay/replay_runner.h"

namespace bench {
namespace {

constexpr int kStartupRuns = 15;

}  // namespace

int StartupCommand(const Arguments& arguments) {
  if (!arguments.empty()) return Fail("startup takes no arguments");
  std::string error;
  const auto childArguments = [] {
    return std::vector<std::string>{"startup-child", std::to_string(WallSeconds())};
  };
  return PrintMedianOfRuns(kStartupRuns, childArguments, &error) ? 0 : Fail(error);
}

int StartupChildCommand(const Arguments& arguments) {
  if (arguments.size() != 1) return Fail("startup-child START");
  const double start = std::stod(arguments[0]);
  double firstFlip = 0.0;
  int calls = 0;
  // One frame: the step source is asked before the loop and again right after the first flip.
  const replay::ReplayResult result = replay::RunReplay(
      [&]() -> replay::ReplayStep {
        if (++calls == 1) return {{}, replay::ReplayFrame{{}, 16}};
        firstFlip = WallSeconds();
        return {};
      },
      {});
  if (result.status != 0 || !result.error.empty() || firstFlip == 0.0) {
    return Fail("the game did not flip a frame");
  }
  PrintRow("startup", "first frame", "headless", "median", (firstFlip - start) * 1e3, "ms");
  return 0;
}

int MemoryCommand(const Arguments& given) {
  std::string error;
  replay::DisplayChoice display;
  const auto arguments = TakeDisplayOptions(given, &display, &error);
  if (!arguments) return Fail(error);
  if (arguments->size() != 1) {
    return Fail(std::string("memory SCRIPT ") + replay::kDisplayOptionsUsage);
  }
  const auto script = LoadScript((*arguments)[0], &error);
  if (!script) return Fail(error);
  const GameRun run = PlayScript(*script, {.display = display});
  if (!run.error.empty() || run.status != 0) return Fail("the game did not play the script");
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  PrintRow("memory", "peak resident", "race" + DisplayLabel(display), "peak",
           static_cast<double>(usage.ru_maxrss) / 1024.0, "MB");
  return 0;
}

}  // namespace bench
