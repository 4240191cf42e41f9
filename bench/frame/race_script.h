// Writes the race scenario's script: the title screen until a restart is allowed, shift, the
// countdown, a race flown to the goal by an autopilot deciding the keys frame by frame, and the
// result screen at the goal. The script is checked in; this is how it was made.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

struct RaceScriptSettings {
  std::uint32_t frameMs = 32;         // every frame up to the goal
  float cruiseSpeed = 40.0f;          // units per second the autopilot speeds up to
  std::uint32_t resultFrames = 2600;  // frames of the result screen after the goal
  std::uint32_t resultFrameMs = 4;
};

// Plays the game with the autopilot and returns the script of what it did, or empty with
// *error set when the race did not reach the goal.
std::string RecordRaceScript(const RaceScriptSettings& settings, std::string* error);

}  // namespace bench
