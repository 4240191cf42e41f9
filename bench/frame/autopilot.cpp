#include "bench/frame/autopilot.h"

#include <cmath>
#include <cstdio>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include "record/course_grid.h"
#include "record/game_globals.h"
#include "record/game_state.h"
#include "tools/replay/replay_runner.h"
#include "tools/replay/replay_step.h"

namespace bench {
namespace {

using Cell = std::pair<int, int>;  // row, column
using replay::PolledKey;

// The corridor's cells from the start cell to the goal, by breadth-first search.
std::vector<Cell> ShortestPath() {
  std::vector<std::vector<std::optional<Cell>>> cameFrom(
      kCourseRows, std::vector<std::optional<Cell>>(kCourseColumns));
  std::deque<Cell> open{{1, 1}};
  cameFrom[1][1] = Cell{1, 1};
  std::optional<Cell> goal;
  while (!open.empty() && !goal) {
    const Cell cell = open.front();
    open.pop_front();
    if (CourseGrid[cell.first][cell.second] == CellGoal) goal = cell;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& step : steps) {
      const Cell next{cell.first + step[0], cell.second + step[1]};
      if (CourseCellAt(next.first, next.second) == CellEmpty || cameFrom[next.first][next.second]) {
        continue;
      }
      cameFrom[next.first][next.second] = cell;
      open.push_back(next);
    }
  }
  std::vector<Cell> path;
  for (Cell cell = goal.value_or(Cell{1, 1}); cell != Cell{1, 1};
       cell = *cameFrom[cell.first][cell.second]) {
    path.insert(path.begin(), cell);
  }
  path.insert(path.begin(), Cell{1, 1});
  return path;
}

// Climbs to a safe height, then flies from cell centre to cell centre, turning toward the next
// cell of the corridor and holding a steady speed.
class Autopilot {
 public:
  explicit Autopilot(float cruiseSpeed) : cruiseSpeed_(cruiseSpeed), path_(ShortestPath()) {}

  replay::PolledKeys Keys(const GameGlobals& g) {
    replay::PolledKeys keys;
    if (g.playerY < 8.0f) climbing_ = true;
    if (g.playerY > 12.0f) climbing_ = false;
    keys[static_cast<int>(PolledKey::Space)] = climbing_;
    if (g.airborne == 0) return keys;
    const Cell target = path_[std::min(CurrentIndex(g) + 1, path_.size() - 1)];
    const double targetX = target.second * 30.0 + 15.0;
    const double targetZ = target.first * 30.0 + 15.0;
    const double wanted = std::atan2(targetZ - g.playerZ, targetX - g.playerX) * 180.0 / M_PI;
    const double error = std::remainder(wanted - g.playerHeading, 360.0);
    keys[static_cast<int>(PolledKey::Left)] = error > 2.0;  // left raises the heading
    keys[static_cast<int>(PolledKey::Right)] = error < -2.0;
    // Speeding up in bursts: on below the cruise speed less a margin, off above it.
    if (g.speed < cruiseSpeed_ - 4.0f) speedingUp_ = true;
    if (g.speed > cruiseSpeed_) speedingUp_ = false;
    keys[static_cast<int>(PolledKey::Up)] = std::fabs(error) < 20.0 && speedingUp_;
    return keys;
  }

 private:
  std::size_t CurrentIndex(const GameGlobals& g) {
    const Cell here{static_cast<int>(g.playerZ / 30.0f), static_cast<int>(g.playerX / 30.0f)};
    for (std::size_t i = reached_; i < path_.size(); ++i) {
      if (path_[i] == here) reached_ = i;
    }
    return reached_;
  }

  float cruiseSpeed_;
  std::vector<Cell> path_;
  std::size_t reached_ = 0;
  bool climbing_ = true;
  bool speedingUp_ = true;
};

// Collects frames into script lines, one line per run of equal frames.
class ScriptWriter {
 public:
  void Add(const replay::ReplayFrame& frame, std::uint32_t count = 1) {
    if (count_ > 0 && frame.keys == last_.keys && frame.milliseconds == last_.milliseconds) {
      count_ += count;
      return;
    }
    Flush();
    last_ = frame;
    count_ = count;
  }
  void Comment(const std::string& text) {
    Flush();
    text_ += "# " + text + "\n";
  }
  std::string Finish() {
    Flush();
    return text_;
  }

 private:
  void Flush() {
    if (count_ == 0) return;
    text_ += "frames " + std::to_string(count_) + " " + std::to_string(last_.milliseconds);
    for (int key = 0; key < replay::kPolledKeyCount; ++key) {
      if (last_.keys[key]) text_ += std::string(" ") + replay::PolledKeyName(PolledKey(key));
    }
    text_ += "\n";
    count_ = 0;
  }

  std::string text_;
  replay::ReplayFrame last_;
  std::uint32_t count_ = 0;
};

}  // namespace

std::string RecordRaceScript(const RaceScriptSettings& settings, std::string* error) {
  Autopilot autopilot(settings.cruiseSpeed);
  ScriptWriter script;
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
