// The race scripts, flown by the autopilot through the real game on the headless host with the
// keys decided frame by frame from the game's record. The scripts are checked in; these are how
// they were made, and flying them again gives them back byte for byte. Fly one again only when a
// rule change stops the old script reaching the goal.
#pragma once

#include <cstdint>
#include <string>

namespace autopilot {

// The golden race (tests/replay/scripts/race.replay), its header included, 50 ms a frame: the
// title screen's first orbit, shift, the countdown, a race to the goal holding up whenever the
// pilot points the right way, the result screen, a second race given up after its take-off, and
// the title screen that shows the give-up and the best time. Its "# pictures:" line names the
// frames worth a golden picture: the countdown's "  2", the middle of the race, the result screen
// and the title screen after the give-up. Empty, with *error set, when no race reached the goal.
std::string GoldenRaceScript(std::string* error);

struct BenchRaceSettings {
  std::uint32_t frameMs = 32;         // every frame up to the goal
  float cruiseSpeed = 40.0f;          // units per second the pilot speeds up to
  std::uint32_t resultFrames = 2600;  // frames of the result screen after the goal
  std::uint32_t resultFrameMs = 4;
};

// The benchmark's race scenario (bench/scenarios/race.replay, less the header its writer puts
// first): the title screen until a restart is allowed, shift, the countdown, a race to the goal
// speeding up in bursts, and the result screen at the goal. Empty, with *error set, when the race
// did not reach the goal.
std::string BenchRaceScript(const BenchRaceSettings& settings, std::string* error);

}  // namespace autopilot
