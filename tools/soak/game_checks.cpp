#include "tools/soak/game_checks.h"

#include <cmath>
#include <sstream>
#include <type_traits>
#include <utility>

#include "record/course_grid.h"
#include "record/game_globals.h"
#include "tools/replay/record_fields.h"

namespace {

class Report {
 public:
  explicit Report(std::vector<std::string>& lines) : lines_(lines) {}

  void Finite(const char* name, float value) {
    if (!std::isfinite(value)) Add(name, value, "is not a finite number");
  }
  void Within(const char* name, double value, double low, double high) {
    if (!(value >= low && value <= high)) {
      std::ostringstream bounds;
      bounds << "is outside [" << low << ", " << high << "]";
      Add(name, value, bounds.str());
    }
  }
  void OneOf(const char* name, long value, std::initializer_list<long> allowed) {
    for (long a : allowed) {
      if (value == a) return;
    }
    Add(name, static_cast<double>(value), "is not one of the values it may take");
  }
  void Add(const char* name, double value, const std::string& what) {
    std::ostringstream line;
    line << name << " = " << value << " " << what;
    lines_.push_back(line.str());
  }

 private:
  std::vector<std::string>& lines_;
};

void CheckFinite(const GameGlobals& g, Report& report) {
  replay::VisitRecordFields(g, [&report](const char* name, auto value) {
    if constexpr (std::is_same_v<decltype(value), float>) report.Finite(name, value);
  });
  for (float element : g.projectionMatrix.m) report.Finite("projectionMatrix element", element);
}

// While a race is under way (counting down after its reset, or flying), the butterfly can only
// ever stand in a path or goal cell, at an altitude from 0 to 30.
void CheckRacingPose(const GameGlobals& g, Report& report) {
  const bool racing =
      g.gameState == StateFlying || (g.gameState == StateCountdown && g.raceResetPending == 0);
  if (!racing) return;
  const auto row = static_cast<std::int64_t>(std::trunc(g.playerZ / kCellSize));
  const auto column = static_cast<std::int64_t>(std::trunc(g.playerX / kCellSize));
  const std::int32_t cell = CourseCellAt(row, column);
  if (cell != CellPath && cell != CellGoal) {
    std::ostringstream where;
    where << "(" << g.playerX << ", " << g.playerZ << ")";
    report.Add("the butterfly's cell", cell, "is not a path or goal cell at " + where.str());
  }
  report.Within("playerY", g.playerY, 0.0, 30.0);
}

}  // namespace

std::vector<std::string> CheckGameRecord(const GameGlobals& g, const FrameHistory& history) {
  std::vector<std::string> lines;
  Report report(lines);
  CheckFinite(g, report);
  const double e = history.longestFrameSeconds;

  report.Within("speed", g.speed, 0.0, 50.0);
  report.Within("pitch", g.pitch, -10.0, 30.0);
  report.Within("takeoffCharge", g.takeoffCharge, 0.0, 8.0);
  report.Within("stateTimer", g.stateTimer, 0.0, INFINITY);
  // The bank is clamped while turning, then returned by up to one frame's e.
  report.Within("bank", g.bank, -0.5 - e, 0.5 + e);
  // The flap reverses only once past its bounds, by up to one step of 2 × e × flapRate (10).
  report.Within("wingAngle", g.wingAngle, 0.5 - 20.0 * e, 2.0 + 20.0 * e);
  // Headings wrap by one turn per frame, which keeps them within a turn for any frame under six
  // seconds (60 degrees a second).
  if (e < 6.0) report.Within("playerHeading", g.playerHeading, -360.0, 360.0);
  CheckRacingPose(g, report);

  report.OneOf("airborne", g.airborne, {0, 1});
  report.OneOf("flapRate", g.flapRate, {0, 1, 3, 10});
  report.OneOf("filterEnabled", g.filterEnabled, {0, 1});
  report.OneOf("driftClimb", g.driftClimb, {0, 1});
  report.OneOf("flapDirection", g.flapDirection, {0, 1});
  for (KeyState key : {g.upKey, g.leftKey, g.rightKey, g.spaceKey, g.shiftKey}) {
    report.OneOf("a key state", key, {KeyUp, KeyPressed, KeyReleased, KeyHeld});
  }
  if (history.firstFrameDone) {
    report.OneOf("gameState", g.gameState, {StateCountdown, StateFlying, StateTitle});
    report.OneOf("orbitPhase", g.orbitPhase, {1, 2, 3});
    report.Within("bestTime", g.bestTime, 1.0, kNoBestTime);
  }
  return lines;
}
