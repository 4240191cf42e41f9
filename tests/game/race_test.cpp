// A whole race flown as a player would: only the keys up, left, right, space and shift are
// touched, and the frames run through the real rules.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <optional>
#include <utility>

#include "record/course_grid.h"
#include "record/game_globals.h"
#include "support/frame_recorder.h"

namespace {

using Cell = std::pair<int, int>;  // row, column
constexpr float kFrameSeconds = 1.0f / 60.0f;

struct Corridor {
  std::vector<Cell> shortestPath;  // start to goal
  int reachableCells = 0;
};

// The corridor from the start cell to the goal, by breadth-first search over the real table.
Corridor SearchCorridor() {
  std::vector<std::vector<std::optional<Cell>>> cameFrom(
      kCourseRows, std::vector<std::optional<Cell>>(kCourseColumns));
  Corridor corridor;
  std::deque<Cell> open{{1, 1}};
  cameFrom[1][1] = Cell{1, 1};
  Cell goal{-1, -1};
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

// Holds keys the way a careful player would: climbs to a safe height, then flies from cell centre
// to cell centre at a steady speed, turning toward the next cell of the corridor.
class Autopilot {
 public:
  explicit Autopilot(float cruiseSpeed)
      : cruiseSpeed_(cruiseSpeed), path_(SearchCorridor().shortestPath) {}

  void HoldKeys() {
    std::set<int>& keys = Recorder().keysDown;
    keys.clear();
    const GameGlobals& g = globals;
    if (g.playerY < 8.0f) climbing_ = true;
    if (g.playerY > 12.0f) climbing_ = false;
    if (climbing_) keys.insert(VK_SPACE);
    if (g.airborne == 0) return;

    const Cell target = path_[std::min(CurrentIndex() + 1, path_.size() - 1)];
    const double targetX = target.second * 30.0 + 15.0;
    const double targetZ = target.first * 30.0 + 15.0;
    const double wanted = std::atan2(targetZ - g.playerZ, targetX - g.playerX) * 180.0 / M_PI;
    double error = std::remainder(wanted - g.playerHeading, 360.0);
    if (error > 2.0) keys.insert(VK_LEFT);  // left raises the heading
    if (error < -2.0) keys.insert(VK_RIGHT);
    if (std::fabs(error) < 20.0 && g.speed < cruiseSpeed_) keys.insert(VK_UP);
  }

 private:
  std::size_t CurrentIndex() {
    const Cell here{static_cast<int>(globals.playerZ / 30.0f),
                    static_cast<int>(globals.playerX / 30.0f)};
    for (std::size_t i = reached_; i < path_.size(); ++i) {
      if (path_[i] == here) reached_ = i;
    }
    return reached_;
  }

  float cruiseSpeed_;
  std::vector<Cell> path_;
  std::size_t reached_ = 0;
  bool climbing_ = true;
};

// Title screen until a restart is allowed, shift for one frame, the countdown, then the race
// under the autopilot until the title screen shows again. Returns the frames the race took.
int FlyOneRace(float cruiseSpeed) {
  Recorder().keysDown.clear();
  for (int frame = 0; frame < 2000 && globals.orbitPhase < 2; ++frame) RunFrame(kFrameSeconds);
  RunFrame(kFrameSeconds);
  Recorder().keysDown = {VK_SHIFT};
  RunFrame(kFrameSeconds);
  Recorder().keysDown.clear();
  EXPECT_EQ(globals.gameState, StateCountdown);
  while (globals.gameState == StateCountdown) RunFrame(kFrameSeconds);

  Autopilot autopilot(cruiseSpeed);
  int frames = 0;
  while (globals.gameState == StateFlying && frames < 60 * 60 * 10) {
    autopilot.HoldKeys();
    RunFrame(kFrameSeconds);
    ++frames;
  }
  Recorder().keysDown.clear();
  return frames;
}

TEST(WholeRace, TheAutopilotFliesToTheGoalAndTheTitleKeepsTheBestTime) {
  ResetGame();
  RunFrame(kFrameSeconds);
  ASSERT_EQ(SearchCorridor().reachableCells, 118);  // every floor cell joins the one corridor

  const int frames = FlyOneRace(20.0f);
  ASSERT_EQ(globals.gameState, StateTitle) << "the race did not reach the goal";
  const int seconds = static_cast<int>(globals.stateTimer);
  EXPECT_NEAR(seconds, frames / 60, 1);
  EXPECT_EQ(globals.bestTime, seconds);
  EXPECT_TRUE(Recorder().Drew("TIME      " + std::to_string(seconds)));
  EXPECT_TRUE(Recorder().Drew("BEST      " + std::to_string(seconds)));
  std::printf("autopilot race at cruise 20: %d s (%d frames of 1/60 s)\n", seconds, frames);

  FlyOneRace(14.0f);
  ASSERT_EQ(globals.gameState, StateTitle);
  const int slower = static_cast<int>(globals.stateTimer);
  EXPECT_GT(slower, seconds);
  EXPECT_EQ(globals.bestTime, seconds);
  EXPECT_TRUE(Recorder().Drew("TIME      " + std::to_string(slower)));
  EXPECT_TRUE(Recorder().Drew("BEST      " + std::to_string(seconds)));
}

}  // namespace
