#include "tools/autopilot/autopilot.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <optional>

#include "record/course_grid.h"

namespace autopilot {

Corridor SearchCorridor() {
  std::vector<std::vector<std::optional<Cell>>> cameFrom(
      kCourseRows, std::vector<std::optional<Cell>>(kCourseColumns));
  Corridor corridor;
  std::deque<Cell> open{{1, 1}};
  cameFrom[1][1] = Cell{1, 1};
  Cell goal{1, 1};
  while (!open.empty()) {
    const Cell cell = open.front();
    open.pop_front();
    ++corridor.reachableCells;
    if (CourseGrid[cell.first][cell.second] == CellGoal) goal = cell;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& step : steps) {
      const Cell next{cell.first + step[0], cell.second + step[1]};
      if (CourseCellAt(next.first, next.second) == CellEmpty) continue;
      if (cameFrom[next.first][next.second]) continue;
      cameFrom[next.first][next.second] = cell;
      open.push_back(next);
    }
  }
  std::vector<Cell>& path = corridor.shortestPath;
  for (Cell cell = goal; cell != Cell{1, 1}; cell = *cameFrom[cell.first][cell.second]) {
    path.insert(path.begin(), cell);
  }
  path.insert(path.begin(), Cell{1, 1});
  return corridor;
}

Autopilot::Autopilot(Throttle throttle)
    : throttle_(throttle), path_(SearchCorridor().shortestPath) {}

replay::PolledKeys Autopilot::Keys(const GameGlobals& g) {
  using replay::PolledKey;
  replay::PolledKeys keys;
  if (g.playerY < 8.0f) climbing_ = true;
  if (g.playerY > 12.0f) climbing_ = false;
  keys[static_cast<int>(PolledKey::Space)] = climbing_;
  if (g.airborne == 0) return keys;

  const Cell target = path_[std::min(Progress(g) + 1, path_.size() - 1)];
  const double targetX = target.second * 30.0 + 15.0;
  const double targetZ = target.first * 30.0 + 15.0;
  const double wanted = std::atan2(targetZ - g.playerZ, targetX - g.playerX) * 180.0 / M_PI;
  const double error = std::remainder(wanted - g.playerHeading, 360.0);
  keys[static_cast<int>(PolledKey::Left)] = error > 2.0;  // left raises the heading
  keys[static_cast<int>(PolledKey::Right)] = error < -2.0;
  if (g.speed < throttle_.cruiseSpeed - throttle_.burstMargin) speedingUp_ = true;
  if (g.speed > throttle_.cruiseSpeed) speedingUp_ = false;
  keys[static_cast<int>(PolledKey::Up)] = std::fabs(error) < 20.0 && speedingUp_;
  return keys;
}

std::size_t Autopilot::Progress(const GameGlobals& g) {
  const Cell here{static_cast<int>(g.playerZ / 30.0f), static_cast<int>(g.playerX / 30.0f)};
  for (std::size_t i = reached_; i < path_.size(); ++i) {
    if (path_[i] == here) reached_ = i;
  }
  return reached_;
}

}  // namespace autopilot
