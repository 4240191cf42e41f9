// A pilot that flies the course as a careful player would, deciding the polled keys frame by
// frame from the game's record: it keeps between 8 and 12 units up, turns toward the centre of
// the next cell of the corridor's shortest path, and holds up while it points within 20 degrees
// of it and is below its cruise speed.
#pragma once

#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

#include "record/game_globals.h"
#include "tools/replay/script.h"

namespace autopilot {

using Cell = std::pair<int, int>;  // row, column

struct Corridor {
  std::vector<Cell> shortestPath;  // the start cell (1, 1) to the goal, both included
  int reachableCells = 0;          // the floor cells the start cell reaches
};

// The corridor, by breadth-first search over the course table.
Corridor SearchCorridor();

struct Throttle {
  float cruiseSpeed = std::numeric_limits<float>::infinity();  // up is let go above it
  // Once let go, up waits until the speed has fallen this far below the cruise speed, so the
  // pilot speeds up in bursts; 0 holds up whenever it is slower.
  float burstMargin = 0.0f;
};

class Autopilot {
 public:
  explicit Autopilot(Throttle throttle = {});

  // The keys for the next frame, from the record as the last frame left it (only up, left,
  // right and space).
  replay::PolledKeys Keys(const GameGlobals& g);

 private:
  std::size_t Progress(const GameGlobals& g);  // the furthest path cell reached so far

  Throttle throttle_;
  std::vector<Cell> path_;
  std::size_t reached_ = 0;
  bool climbing_ = true;
  bool speedingUp_ = true;
};

}  // namespace autopilot
