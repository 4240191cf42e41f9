#include "game/flight_model.h"

#include <cmath>

#include "game/truncation.h"
#include "record/angles.h"
#include "record/course_grid.h"
#include "record/game_globals.h"

// Every step works in double precision and stores its field as a float, in this order; later
// steps read what earlier ones stored.
namespace {

constexpr float kTopSpeed = 50.0f;
constexpr float kBankLimit = 0.5f;
constexpr float kTakeoffThreshold = 8.0f;
constexpr float kCeiling = 30.0f;
constexpr float kChargingHover = 0.1f;

bool Held(KeyState key) {
  return key == KeyHeld;
}
bool Up(KeyState key) {
  return key == KeyUp;
}

float Stored(double value) {
  return static_cast<float>(value);
}

void DecaySpeed(GameGlobals& g, double e) {
  if (!Held(g.upKey)) {
    g.speed = Stored(g.speed - e * 5.0);
    if (g.speed < 0.0f) g.speed = 0.0f;
  }
}

// Only the cell that contains the candidate decides; there is no sliding along walls, and a step
// longer than a cell can pass over an empty one (kept: that is how the course has always played).
void Move(GameGlobals& g, double e) {
  const double heading = static_cast<double>(g.playerHeading) * kDegreesToRadians;
  const double distance = e * g.speed;
  g.candidateZ = Stored(g.playerZ + distance * std::sin(heading));
  g.candidateX = Stored(g.playerX + distance * std::cos(heading));

  const std::int32_t row = TruncateToInt32(g.candidateZ / 30.0);
  const std::int32_t column = TruncateToInt32(g.candidateX / 30.0);
  const std::int32_t cell = CourseCellAt(row, column);
  if (cell == CellPath || cell == CellGoal) {
    g.playerZ = g.candidateZ;
    g.playerX = g.candidateX;
  }
  if (cell == CellGoal) g.gameState = StateTitle;  // the rest of the step still runs
}

void Accelerate(GameGlobals& g, double e) {
  if (Held(g.upKey) && g.airborne == 1) {
    g.speed = Stored(g.speed + e * 10.0);
    if (g.speed > kTopSpeed) g.speed = kTopSpeed;
  }
}

void Turn(GameGlobals& g, double e) {
  if (Held(g.rightKey)) {
    g.playerHeading = Stored(g.playerHeading - e * 60.0);
    if (g.playerHeading <= -360.0f) g.playerHeading = Stored(g.playerHeading + 360.0);
    g.bank = Stored(g.bank - 2.0 * e);
    if (g.bank < -kBankLimit) g.bank = -kBankLimit;
  } else if (Held(g.leftKey)) {
    g.playerHeading = Stored(g.playerHeading + e * 60.0);
    if (g.playerHeading >= 360.0f) g.playerHeading = Stored(g.playerHeading - 360.0);
    g.bank = Stored(g.bank + 2.0 * e);
    if (g.bank > kBankLimit) g.bank = kBankLimit;
  }
}

// Either arrow being up lets the bank drift back; the two tests run one after the other, so a
// bank smaller than e overshoots and comes back (kept: it settles within e of zero).
void ReturnBank(GameGlobals& g, double e) {
  if ((Up(g.rightKey) || Up(g.leftKey)) && g.bank != 0.0f) {
    if (g.bank > 0.0f) g.bank = Stored(g.bank - e);
    if (g.bank < 0.0f) g.bank = Stored(g.bank + e);
  }
}

void TakeOffClimbAndSink(GameGlobals& g, double e) {
  if (Held(g.spaceKey) && g.airborne == 0) {
    g.takeoffCharge = Stored(g.takeoffCharge + e * 10.0);
    g.flapRate = 10;
    g.playerY = kChargingHover;
  }
  if (Up(g.spaceKey)) g.takeoffCharge = 0.0f;
  if (g.takeoffCharge >= kTakeoffThreshold && g.airborne == 0) {
    g.airborne = 1;
    g.takeoffCharge = 0.0f;
  }
  if (Held(g.spaceKey) && g.airborne == 1) {
    g.playerY = Stored(g.playerY + e * 5.0);
    g.flapRate = 3;
  }
  if (Up(g.spaceKey) && g.playerY > 0.0f) {
    g.playerY = Stored(g.playerY - e * 4.0);
    g.flapRate = 1;
  }
  if (g.playerY < 0.0f) {
    g.playerY = 0.0f;
    g.airborne = 0;
  }
  if (g.playerY > kCeiling) g.playerY = kCeiling;
}

}  // namespace

void UpdateFlight() {
  GameGlobals& g = globals;
  const double e = g.frameSeconds;

  g.pitch = Stored(30.0 - g.speed / 1.25);  // from the speed before this frame changes it
  DecaySpeed(g, e);
  if (g.airborne == 1) Move(g, e);
  Accelerate(g, e);
  Turn(g, e);
  ReturnBank(g, e);
  TakeOffClimbAndSink(g, e);
}
