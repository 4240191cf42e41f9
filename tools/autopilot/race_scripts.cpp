#include "tools/autopilot/race_scripts.h"

#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "record/game_globals.h"
#include "record/game_state.h"
#include "tools/autopilot/autopilot.h"
#include "tools/replay/replay_runner.h"
#include "tools/replay/replay_step.h"
#include "tools/replay/script_writer.h"

namespace autopilot {
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

  // The frame of each phase, in the order above, that is worth a picture; 0 for none.
  static constexpr int kPictureFrames[] = {0, 50, 800, 60, 0, 0, 0, kResultFrames};
  static_assert(std::size(kPictureFrames) == static_cast<std::size_t>(Phase::Done) + 1);

  int PictureFrameInPhase() const { return kPictureFrames[static_cast<std::size_t>(phase_)]; }

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

std::string GoldenRaceScript(std::string* error) {
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
    if (error) *error = "no race to the goal within five minutes " + result.error;
    return {};
  }
  std::fprintf(stderr, "race time %.3f s (best time %d) in %d frames of %u ms\n",
               static_cast<double>(pilot.RaceSeconds()), globals.bestTime, pilot.FlightFrames(),
               kFrameMs);
  std::string pictures;
  for (const std::uint64_t frame : pilot.Pictures()) {
    pictures += (pictures.empty() ? "" : ",") + std::to_string(frame);
  }
  return "# A race to the goal flown by tools/autopilot (race_autopilot), " +
         std::to_string(kFrameMs) +
         " ms a frame;\n# then a second race, given up after the take-off.\n# pictures: " +
         pictures + "\n" + script.Finish();
}

std::string BenchRaceScript(const BenchRaceSettings& settings, std::string* error) {
  // Speeding up in bursts: on below the cruise speed less a margin, off above it.
  Autopilot autopilot({.cruiseSpeed = settings.cruiseSpeed, .burstMargin = 4.0f});
  replay::ScriptWriter script;
  script.Comment("The title screen until a restart is allowed, then shift for one frame.");
  enum class Phase { Title, Shift, Countdown, Race, Done } phase = Phase::Title;
  constexpr int kMostFrames = 100000;  // a race this long has lost its way
  int frames = 0;
  auto nextStep = [&]() -> replay::ReplayStep {
    const GameGlobals& g = globals;
    replay::ReplayFrame frame{{}, settings.frameMs};
    if (phase == Phase::Title && g.orbitPhase >= 2) phase = Phase::Shift;
    if (phase == Phase::Shift) {
      frame.keys[static_cast<int>(PolledKey::Shift)] = true;
      phase = Phase::Countdown;
    } else if (phase == Phase::Countdown && g.gameState == StateFlying) {
      script.Comment("The race, flown by an autopilot along the corridor.");
      phase = Phase::Race;
    }
    if (phase == Phase::Race && g.gameState == StateTitle) phase = Phase::Done;
    if (phase == Phase::Race) frame.keys = autopilot.Keys(g);
    if (phase == Phase::Done || ++frames > kMostFrames) return {};
    script.Add(frame);
    return {{}, frame};
  };
  replay::RunReplay(nextStep, {});
  if (globals.bestTime == 20000) {
    if (error) *error = "the autopilot did not reach the goal";
    return {};
  }
  std::fprintf(stderr, "the autopilot reached the goal in %d s\n", globals.bestTime);
  script.Comment("The result screen at the goal: the race's time and the best time.");
  script.Add({{}, settings.resultFrameMs}, settings.resultFrames);
  return script.Finish();
}

}  // namespace autopilot
