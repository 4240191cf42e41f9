// race_autopilot OUTPUT: flies one race through the real game on the headless host, the way a
// careful player would, and writes what it did as a replay script. The golden race script was
// made with it; run it again (from a folder holding Texture.bmp) only when the rules change so
// that the old script no longer reaches the goal.
//
// The pilot waits for the title screen's first orbit, presses shift, waits out the countdown,
// then flies the corridor's shortest path: it keeps between 8 and 12 units up, turns toward the
// centre of the next cell of the path, and holds up (top speed is 50) while it points within 20
// degrees of it. After the goal it watches the result screen, starts a second race and gives it
// up after taking off, and watches the title screen that shows the give-up and the best time.
#include <cmath>
#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "record/course_grid.h"
#include "record/game_globals.h"
#include "tools/replay/replay_runner.h"

namespace {

using replay::PolledKey;
using replay::PolledKeys;
using Cell = std::pair<int, int>;  // row, column

constexpr std::uint32_t kFrameMs = 50;
constexpr int kResultFrames = 100;           // the title screens, watched for five seconds
constexpr int kTakeOffFrames = 30;           // the second race's space held, before the give-up
constexpr int kFlightFrameLimit = 300 * 20;  // five minutes; the race takes under two

// The shortest path of cells from the start cell to the goal, by breadth-first search.
std::vector<Cell> ShortestPath() {
  std::vector<std::vector<std::optional<Cell>>> cameFrom(
      kCourseRows, std::vector<std::optional<Cell>>(kCourseColumns));
  std::deque<Cell> open{{1, 1}};
  cameFrom[1][1] = Cell{1, 1};
  Cell goal{1, 1};
  while (!open.empty()) {
    const Cell cell = open.front();
    open.pop_front();
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
  std::vector<Cell> path{goal};
  while (path.front() != Cell{1, 1})
    path.insert(path.begin(), *cameFrom[path.front().first][path.front().second]);
  return path;
}

class Pilot {
 public:
  Pilot() : path_(ShortestPath()) {}

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
          return Steer();
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

  int PictureFrameInPhase() const {
    switch (phase_) {
      case Phase::Countdown:
        return 50;
      case Phase::Race:
        return 800;
      case Phase::Result:
        return 60;
      case Phase::Done:
        return kResultFrames;
      default:
        return 0;
    }
  }

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

  PolledKeys Steer() {
    const GameGlobals& g = globals;
    PolledKeys keys;
    if (g.playerY < 8.0f) climbing_ = true;
    if (g.playerY > 12.0f) climbing_ = false;
    if (climbing_) keys.set(static_cast<std::size_t>(PolledKey::Space));
    if (g.airborne == 0) return keys;

    const Cell target = path_[std::min(Progress() + 1, path_.size() - 1)];
    const double targetX = target.second * 30.0 + 15.0;
    const double targetZ = target.first * 30.0 + 15.0;
    const double wanted = std::atan2(targetZ - g.playerZ, targetX - g.playerX) * 180.0 / M_PI;
    const double error = std::remainder(wanted - g.playerHeading, 360.0);
    if (error > 2.0)
      keys.set(static_cast<std::size_t>(PolledKey::Left));  // left raises the heading
    if (error < -2.0) keys.set(static_cast<std::size_t>(PolledKey::Right));
    if (std::fabs(error) < 20.0) keys.set(static_cast<std::size_t>(PolledKey::Up));
    return keys;
  }

  // The index of the furthest path cell reached so far.
  std::size_t Progress() {
    const Cell here{static_cast<int>(globals.playerZ / 30.0f),
                    static_cast<int>(globals.playerX / 30.0f)};
    for (std::size_t i = reached_; i < path_.size(); ++i) {
      if (path_[i] == here) reached_ = i;
    }
    return reached_;
  }

  std::vector<Cell> path_;
  std::size_t reached_ = 0;
  bool climbing_ = true;
  Phase phase_ = Phase::FirstOrbit;
  int framesInPhase_ = 0;  // counting the frame being decided
  int flightFrames_ = 0;
  std::uint64_t frame_ = 0;  // the frame being decided, from 1
  std::vector<std::uint64_t> pictures_;
  float raceSeconds_ = 0.0f;  // the race's time, as the goal left it
  bool reachedGoal_ = false;
  std::string note_ = "the title screen's first orbit";
};

// Collects the frames into script lines, one per run of equal frames.
class ScriptWriter {
 public:
  void Add(const PolledKeys& keys, const std::string& note) {
    if (!note.empty()) {
      Flush();
      lines_ += "# " + note + "\n";
    }
    if (count_ > 0 && keys != keys_) Flush();
    keys_ = keys;
    ++count_;
  }
  std::string Finish() {
    Flush();
    return lines_;
  }

 private:
  void Flush() {
    if (count_ == 0) return;
    lines_ += "frames " + std::to_string(count_) + " " + std::to_string(kFrameMs);
    for (int i = 0; i < replay::kPolledKeyCount; ++i) {
      if (keys_[static_cast<std::size_t>(i)]) {
        lines_ += " ";
        lines_ += replay::PolledKeyName(static_cast<PolledKey>(i));
      }
    }
    lines_ += "\n";
    count_ = 0;
  }
  std::string lines_;
  PolledKeys keys_;
  int count_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: race_autopilot OUTPUT.replay\n");
    return 2;
  }
  Pilot pilot;
  ScriptWriter script;
  const replay::StepSource next = [&]() {
    replay::ReplayStep step;
    if (const auto keys = pilot.NextKeys()) {
      step.frame = replay::ReplayFrame{*keys, kFrameMs};
      script.Add(*keys, pilot.TakeNote());
    }
    return step;
  };
  const replay::ReplayResult result = replay::RunReplay(next, {});
  if (!pilot.ReachedGoal() || result.status != 0 || !result.error.empty()) {
    std::fprintf(stderr, "race_autopilot: no race to the goal within five minutes %s\n",
                 result.error.c_str());
    return 1;
  }
  std::printf("race time %.3f s (best time %d) in %d frames of %u ms\n",
              static_cast<double>(pilot.RaceSeconds()), globals.bestTime, pilot.FlightFrames(),
              kFrameMs);
  std::FILE* file = std::fopen(argv[1], "w");
  if (!file) {
    std::fprintf(stderr, "race_autopilot: cannot write %s\n", argv[1]);
    return 1;
  }
  std::string pictures;
  for (const std::uint64_t frame : pilot.Pictures()) {
    pictures += (pictures.empty() ? "" : ",") + std::to_string(frame);
  }
  std::fprintf(file,
               "# A race to the goal flown by tests/replay/autopilot (race_autopilot), %u ms a "
               "frame;\n# then a second race, given up after the take-off.\n# pictures: %s\n",
               kFrameMs, pictures.c_str());
  std::fputs(script.Finish().c_str(), file);
  return std::fclose(file) == 0 ? 0 : 1;
}
