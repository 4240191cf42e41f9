// Seeded random play for the soak: the polled keys held and let go as a restless player's would,
// shift and Z tapped now and then, and frame times from 0 to 200 ms with a rare stall of several
// seconds. The same seed gives the same play on every machine (no library distribution is used).
#pragma once

#include <cstdint>

#include "tools/replay/replay_step.h"

class RandomPlayer {
 public:
  explicit RandomPlayer(std::uint64_t seed) : state_(seed) {}

  // The input before the next frame and that frame's keys and length. Never Escape or F12.
  replay::ReplayStep NextStep();

 private:
  std::uint64_t Next();
  bool Chance(std::uint32_t perTenThousand);
  std::uint32_t Below(std::uint32_t limit);

  std::uint64_t state_;
  replay::PolledKeys held_;  // the keys down during the previous frame
};
