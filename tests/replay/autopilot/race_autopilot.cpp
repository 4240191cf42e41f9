// race_autopilot OUTPUT: flies one race through the real game on the headless host, the way a
// careful player would, and writes what it did as a replay script. The golden race script was
// made with it; run it again (from a folder holding Texture.bmp) only when the rules change so
// that the old script no longer reaches the goal.
//
// The pilot waits for the title screen's first orbit, presses shift, waits out the countdown,
// then flies the corridor's shortest path: it keeps between 8 and 12 units up, turns toward the
// centre of the next cell of the path, and holds up (top speed is 50) while it points within 20
// degrees of it. After the goal it watches the result screen, starts a second race and gives it
// up after taking off, and watches the title screen that shows the give-up and the best time.
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "record/game_globals.h"
#include "tools/autopilot/autopilot.h"
#include "tools/replay/replay_runner.h"
#include "tools/replay/script_writer.h"

namespace {

using replay::PolledKey;
using replay::PolledKeys;

constexpr std::uint32_t kFrameMs = 50;
constexpr int kResultFrames = 100;           // the title screens, watched for five seconds
constexpr int kTakeOffFrames = 30;           // the second race's space held, before the give-up
constexpr int kFlightFrameLimit = 300 * 20;  // five minutes; the race takes under two

class Pilot {
 public:
  // The keys for the next frame, from the game as the last frame left it; nothing once done.
  std::optional<PolledKeys> NextKeys() {
    const GameGlobals& g = globals;
    ++framesInPhase_;
    ++frame_;
    if (framesInPhase_ == PictureFrameInPhase()) pictures_.push_back(frame_);
    switch (phase_) {
      case Phase::FirstOrbit:
        if (g.orbitPhase < 2) return PolledKeys{};
        Enter(Phase::Countdown, "shift once the first orbit is over, then the countdown");
        return Keys({PolledKey::Shift});
      case Phase::Countdown:
        if (g.gameState != StateFlying) return PolledKeys{};
        Enter(Phase::Race, "the race: climb, then fly the corridor's shortest path");
        [[fallthrough]];
      case Phase::Race:
        if (g.gameState == StateFlying && framesInPhase_ < kFlightFrameLimit) {
          ++flightFrames_;
          return steering_.Keys(g);
        }
        reachedGoal_ = g.gameState == StateTitle;
        raceSeconds_ = g.stateTimer;
        Enter(Phase::Result, "the goal: the result screen, until a restart is allowed");
        [[fallthrough]];
      case Phase::Result:
        if (framesInPhase_ <= kResultFrames || g.orbitPhase < 2) return PolledKeys{};
        Enter(Phase::SecondCountdown, "shift: a second race, then its countdown");
        return Keys({PolledKey::Shift});
      case Phase::SecondCountdown:
        if (g.gameState != StateFlying) return PolledKeys{};
        Enter(Phase::TakeOff, "take off, then give the race up");
        [[fallthrough]];
      case Phase::TakeOff:
        if (framesInPhase_ <= kTakeOffFrames) return Keys({PolledKey::Space});
        Enter(Phase::GiveUp, "");
        return Keys({PolledKey::Shift});
      case Phase::GiveUp:
        Enter(Phase::Done, "the title screen after a give-up: TIME GIVE UP, and the best time");
        return PolledKeys{};
      case Phase::Done:
        if (framesInPhase_ <= kResultFrames) return PolledKeys{};
        return std::nullopt;
    }
    return std::nullopt;
  }

  // A comment for the script before the next frame, once.
  std::string TakeNote() { return std::exchange(note_, {}); }
  bool ReachedGoal() const { return reachedGoal_; }
  int FlightFrames() const { return flightFrames_; }
  float RaceSeconds() const { return raceSeconds_; }
  // The frames worth a golden picture: the countdown's "  2", the middle of the race, the
  // result screen and the title screen after the give-up.
  const std::vector<std::uint64_t>& Pictures() const { return pictures_; }

 private:
  enum class Phase { FirstOrbit, Countdown, Race, Result, SecondCountdown, TakeOff, GiveUp, Done };

  int PictureFrameInPhase() const {
    switch (phase_) {
      case Phase::Countdown:
        return 50;
      case Phase::Race:
        return 800;
      case Phase::Result:
        return 60;
      case Phase::Done:
        return kResultFrames;
      default:
        return 0;
    }
  }

  void Enter(Phase phase, const std::string& note) {
    phase_ = phase;
    framesInPhase_ = 1;
    note_ = note;
  }

  static PolledKeys Keys(std::initializer_list<PolledKey> keys) {
    PolledKeys set;
    for (const PolledKey key : keys) set.set(static_cast<std::size_t>(key));
    return set;
  }

  autopilot::Autopilot steering_;  // holds up whenever it points the right way
  Phase phase_ = Phase::FirstOrbit;
  int framesInPhase_ = 0;  // counting the frame being decided
  int flightFrames_ = 0;
  std::uint64_t frame_ = 0;  // the frame being decided, from 1
  std::vector<std::uint64_t> pictures_;
  float raceSeconds_ = 0.0f;  // the race's time, as the goal left it
  bool reachedGoal_ = false;
  std::string note_ = "the title screen's first orbit";
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: race_autopilot OUTPUT.replay\n");
    return 2;
  }
  Pilot pilot;
  replay::ScriptWriter script;
  const replay::StepSource next = [&]() {
    replay::ReplayStep step;
    if (const auto keys = pilot.NextKeys()) {
      step.frame = replay::ReplayFrame{*keys, kFrameMs};
      if (const std::string note = pilot.TakeNote(); !note.empty()) script.Comment(note);
      script.Add(*step.frame);
    }
    return step;
  };
  const replay::ReplayResult result = replay::RunReplay(next, {});
  if (!pilot.ReachedGoal() || result.status != 0 || !result.error.empty()) {
    std::fprintf(stderr, "race_autopilot: no race to the goal within five minutes %s\n",
                 result.error.c_str());
    return 1;
  }
  std::printf("race time %.3f s (best time %d) in %d frames of %u ms\n",
              static_cast<double>(pilot.RaceSeconds()), globals.bestTime, pilot.FlightFrames(),
              kFrameMs);
  std::FILE* file = std::fopen(argv[1], "w");
  if (!file) {
    std::fprintf(stderr, "race_autopilot: cannot write %s\n", argv[1]);
    return 1;
  }
  std::string pictures;
  for (const std::uint64_t frame : pilot.Pictures()) {
    pictures += (pictures.empty() ? "" : ",") + std::to_string(frame);
  }
  std::fprintf(file,
               "# A race to the goal flown by tests/replay/autopilot (race_autopilot), %u ms a "
               "frame;\n# then a second race, given up after the take-off.\n# pictures: %s\n",
               kFrameMs, pictures.c_str());
  std::fputs(script.Finish().c_str(), file);
  return std::fclose(file) == 0 ? 0 : 1;
}
