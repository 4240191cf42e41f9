// tirravel-soak [--frames N] [--seed S] [--every K] [--settle F] [--folder DIR]
//               [--scale N|native] [--view 4:3|wide] [--display WxH] [--rate HZ]
//
// Plays the whole game on the headless host for N frames (500000 by default), at the render
// scale and view given (as tirravel-replay takes them), with seeded random keys and frame times,
// checking the game's record after every frame and sampling resident memory every K frames
// (10000 by default). Exit status 0 when every check held, the game ended cleanly with no
// platform object and no thread of its own left, and resident memory grew by less than 1 MB
// after frame F (1000 by default); 1 otherwise; 2 for a bad command line. Texture.bmp is read
// from DIR (the current directory by default).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/testing.h"
#include "record/game_globals.h"
#include "tools/replay/display_choice.h"
#include "tools/replay/replay_runner.h"
#include "tools/soak/game_checks.h"
#include "tools/soak/random_player.h"
#include "tools/soak/resident_memory.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer holds freed memory back in quarantine, so resident memory says nothing here.
constexpr bool kJudgeMemory = false;
#else
constexpr bool kJudgeMemory = true;
#endif
constexpr std::uint64_t kAllowedGrowth = 1024 * 1024;

using Count = unsigned long long;  // for printf

struct Options {
  std::uint64_t frames = 500000;
  std::uint64_t seed = 1;
  std::uint64_t every = 10000;
  // Memory is judged from this frame on, when the play has met what it fills its caches with (at
  // a large render scale that takes longer).
  std::uint64_t settle = 1000;
  std::string folder = ".";
  replay::DisplayChoice display;
};

bool ParseOptions(int argc, char** argv, Options& options, std::string* error) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view name = argv[i];
    const char* value = argv[i + 1];
    if (replay::IsDisplayOption(name)) {
      if (!replay::TakeDisplayOption(name, value, &options.display, error)) return false;
      continue;
    }
    char* end = nullptr;
    const std::uint64_t number = std::strtoull(value, &end, 10);
    const bool isNumber = *value != '\0' && *end == '\0';
    if (name == "--folder") {
      options.folder = value;
    } else if (name == "--frames" && isNumber && number > 0) {
      options.frames = number;
    } else if (name == "--seed" && isNumber) {
      options.seed = number;
    } else if (name == "--every" && isNumber && number > 0) {
      options.every = number;
    } else if (name == "--settle" && isNumber && number > 0) {
      options.settle = number;
    } else {
      return false;
    }
  }
  return argc % 2 == 1;
}

struct MemorySample {
  std::uint64_t frame;
  std::uint64_t resident;
};

// What the random play got up to, so a soak that never left the title screen shows as such.
struct PlayCounts {
  std::uint64_t framesByState[4] = {};  // indexed by GameState
  std::uint64_t racesStarted = 0;
  std::uint64_t racesGivenUp = 0;
  std::uint64_t racesFinished = 0;
  GameState previous = GameState{0};

  void Note(const GameGlobals& g) {
    if (g.gameState >= StateCountdown && g.gameState <= StateTitle) ++framesByState[g.gameState];
    if (previous == StateTitle && g.gameState == StateCountdown) ++racesStarted;
    if (previous == StateFlying && g.gameState == StateTitle) {
      ++(g.stateTimer == 0.0f ? racesGivenUp : racesFinished);
    }
    previous = g.gameState;
  }
};

class Soak {
 public:
  explicit Soak(const Options& options) : options_(options), player_(options.seed) {}

  // Called before the first frame (frame 0) and after every frame: checks what the frame left,
  // then plays the next frame, or ends the game.
  replay::ReplayStep AfterFrame(std::uint64_t frame) {
    if (frame > 0) {
      history_.firstFrameDone = true;
      counts_.Note(globals);
      if (failures_.empty()) {
        for (const std::string& line : CheckGameRecord(globals, history_)) {
          failures_.push_back("frame " + std::to_string(frame) + ": " + line);
        }
      }
      if (frame == options_.settle || frame % options_.every == 0 || frame == options_.frames) {
        Sample(frame);
      }
    }
    if (frame >= options_.frames || !failures_.empty()) return {};
    replay::ReplayStep step = player_.NextStep();
    history_.longestFrameSeconds = std::max(history_.longestFrameSeconds,
                                            static_cast<float>(step.frame->milliseconds) / 1000.0f);
    return step;
  }

  const std::vector<std::string>& Failures() const { return failures_; }
  const PlayCounts& Counts() const { return counts_; }

  // Growth of resident memory from the first thousand frames to the highest later sample.
  std::uint64_t Growth() const {
    std::uint64_t settled = 0;
    std::uint64_t highest = 0;
    for (const MemorySample& sample : samples_) {
      if (sample.frame == options_.settle) settled = sample.resident;
      if (sample.frame >= options_.settle) highest = std::max(highest, sample.resident);
    }
    return highest > settled ? highest - settled : 0;
  }

 private:
  void Sample(std::uint64_t frame) {
    samples_.push_back({frame, ResidentBytes()});
    std::printf("frame %9llu  resident %8llu kB\n", Count{frame},
                Count{samples_.back().resident / 1024});
    std::fflush(stdout);
  }

  Options options_;
  RandomPlayer player_;
  FrameHistory history_;
  PlayCounts counts_;
  std::vector<std::string> failures_;  // the promises the first failing frame broke
  std::vector<MemorySample> samples_;
};

// Prints what went wrong, if anything, and the figures; true when the soak passed.
bool Judge(const Options& options, const Soak& soak, const replay::ReplayResult& result,
           double seconds, int threadsBefore) {
  bool ok = result.status == 0 && soak.Failures().empty() && result.error.empty();
  for (const std::string& failure : soak.Failures()) std::printf("broken: %s\n", failure.c_str());
  if (result.status != 0) std::printf("the game ended with status %d\n", result.status);
  if (!result.error.empty()) std::printf("the replay failed: %s\n", result.error.c_str());
  if (const int left = platform::testing::LiveObjects(); left != 0) {
    std::printf("%d platform objects were left alive\n", left);
    ok = false;
  }
  if (const int threads = ThreadCount(); threads != threadsBefore) {
    std::printf("%d threads before the game, %d after it\n", threadsBefore, threads);
    ok = false;
  }
  const std::uint64_t growth = soak.Growth();
  if (kJudgeMemory && options.frames > options.settle && growth >= kAllowedGrowth) ok = false;

  const PlayCounts& counts = soak.Counts();
  std::printf(
      "play: %llu frames on the title screen, %llu counting down, %llu flying; %llu races "
      "started, %llu given up, %llu finished\n",
      Count{counts.framesByState[StateTitle]}, Count{counts.framesByState[StateCountdown]},
      Count{counts.framesByState[StateFlying]}, Count{counts.racesStarted},
      Count{counts.racesGivenUp}, Count{counts.racesFinished});
  const platform::ddraw::RenderRequest& render = options.display.render;
  char scale[32] = "native";
  if (!render.native) std::snprintf(scale, sizeof scale, "%g", render.scale);
  std::printf(
      "soak: %llu frames, seed %llu, scale %s, %s view, %.1f s (%.3f ms a frame); resident "
      "memory grew by %llu kB after frame %llu%s: %s\n",
      Count{result.frames}, Count{options.seed}, scale,
      render.view == platform::ddraw::ViewShape::Wide ? "wide" : "4:3", seconds,
      result.frames ? seconds * 1000.0 / static_cast<double>(result.frames) : 0.0,
      Count{growth / 1024}, Count{options.settle},
      kJudgeMemory ? "" : " (not judged under AddressSanitizer)", ok ? "ok" : "FAILED");
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string mistake;
  if (!ParseOptions(argc, argv, options, &mistake)) {
    if (!mistake.empty()) std::fprintf(stderr, "tirravel-soak: %s\n", mistake.c_str());
    std::fprintf(
        stderr,
        "usage: tirravel-soak [--frames N] [--seed S] [--every K] [--settle F] [--folder DIR] %s\n",
        replay::kDisplayOptionsUsage);
    return 2;
  }
  std::error_code error;
  std::filesystem::current_path(options.folder, error);
  if (error) {
    std::fprintf(stderr, "tirravel-soak: cannot enter %s: %s\n", options.folder.c_str(),
                 error.message().c_str());
    return 2;
  }

  Soak soak(options);
  const int threadsBefore = BaselineThreadCount();
  std::uint64_t frame = 0;
  const auto start = std::chrono::steady_clock::now();
  replay::ReplayOutputs outputs;
  outputs.keepLastPicture = false;  // no picture is read
  outputs.display = options.display;
  const replay::ReplayResult result =
      replay::RunReplay([&] { return soak.AfterFrame(frame++); }, outputs);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return Judge(options, soak, result, elapsed.count(), threadsBefore) ? 0 : 1;
}
