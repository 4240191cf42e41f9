#pragma once

#include <cstdint>

enum GameState : std::int32_t {
  StateCountdown = 1,  // five seconds before a race; the butterfly waits at the start
  StateFlying = 2,     // the race is on: the flight model runs and the clock counts
  StateTitle = 3,      // title and result screen; the camera orbits, later drifts
};

// The best time that means no race has been finished yet.
inline constexpr std::int32_t kNoBestTime = 20000;
