#include "bench/frame/race_script.h"

#include <cstdio>

#include "record/game_globals.h"
#include "record/game_state.h"
#include "tools/autopilot/autopilot.h"
#include "tools/replay/replay_runner.h"
#include "tools/replay/replay_step.h"
#include "tools/replay/script_writer.h"

namespace bench {

using replay::PolledKey;

std::string RecordRaceScript(const RaceScriptSettings& settings, std::string* error) {
  // Speeding up in bursts: on below the cruise speed less a margin, off above it.
  autopilot::Autopilot autopilot({.cruiseSpeed = settings.cruiseSpeed, .burstMargin = 4.0f});
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

}  // namespace bench
