#include <gtest/gtest.h>

#include "game/flight_model.h"
#include "game/start_cell.h"
#include "record/game_globals.h"
#include "support/frame_log.h"

namespace {

class FlightModel : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGame();
    GameGlobals& g = globals;
    g.gameState = StateFlying;
    PlaceOnStartCell(g);
    g.flapRate = 1;
    g.pitch = 30.0f;
  }

  static void Keys(KeyState up, KeyState left, KeyState right, KeyState space) {
    globals.upKey = up;
    globals.leftKey = left;
    globals.rightKey = right;
    globals.spaceKey = space;
  }

  static void Step(float seconds) {
    globals.frameSeconds = seconds;
    UpdateFlight();
  }

  static void Airborne(float altitude, float speed) {
    globals.airborne = 1;
    globals.playerY = altitude;
    globals.speed = speed;
  }

  // One frame with only Up held, facing `heading`.
  static void ThrottleAhead(float heading, float seconds) {
    globals.playerHeading = heading;
    Keys(KeyHeld, KeyUp, KeyUp, KeyUp);
    Step(seconds);
  }
};

TEST_F(FlightModel, HoldingSpaceTakesOffAfterEightTenthsOfASecond) {
  Keys(KeyUp, KeyUp, KeyUp, KeyHeld);
  for (int frame = 1; frame <= 7; ++frame) {
    Step(0.1f);
    EXPECT_EQ(globals.airborne, 0) << "frame " << frame;
    EXPECT_EQ(globals.playerY, 0.1f);  // hovering just off the ground while charging
    EXPECT_EQ(globals.flapRate, 10);
  }
  EXPECT_FLOAT_EQ(globals.takeoffCharge, 7.0f);
  Step(0.1f);
  EXPECT_EQ(globals.airborne, 1);
  EXPECT_EQ(globals.takeoffCharge, 0.0f);
  EXPECT_FLOAT_EQ(globals.playerY, 0.6f);  // the take-off frame already climbs
  EXPECT_EQ(globals.flapRate, 3);
}

TEST_F(FlightModel, FreshPressAndFreshReleaseOfSpaceNeitherChargeNorReset) {
  Keys(KeyUp, KeyUp, KeyUp, KeyPressed);
  Step(0.1f);
  EXPECT_EQ(globals.takeoffCharge, 0.0f);
  EXPECT_EQ(globals.playerY, 0.0f);

  Keys(KeyUp, KeyUp, KeyUp, KeyHeld);
  Step(0.1f);
  Keys(KeyUp, KeyUp, KeyUp, KeyReleased);
  Step(0.1f);
  EXPECT_FLOAT_EQ(globals.takeoffCharge, 1.0f);  // a release seen only as KeyReleased keeps it
  EXPECT_EQ(globals.playerY, 0.1f);              // and does not sink
  Keys(KeyUp, KeyUp, KeyUp, KeyUp);
  Step(0.1f);
  EXPECT_EQ(globals.takeoffCharge, 0.0f);
}

TEST_F(FlightModel, UpFromTheStartMovesAlongPlusZDownColumnOne) {
  Airborne(5.0f, 10.0f);
  Keys(KeyHeld, KeyUp, KeyUp, KeyUp);
  Step(0.5f);
  // The speed used for the move is this frame's, before the acceleration.
  EXPECT_FLOAT_EQ(globals.playerZ, 50.0f);
  // The 0.017444445 factor leaves cos(90°) slightly above zero: x drifts by under 0.1%.
  EXPECT_GT(globals.playerX, 45.0f);
  EXPECT_LT(globals.playerX, 45.005f);
  EXPECT_FLOAT_EQ(globals.speed, 15.0f);
  EXPECT_FLOAT_EQ(globals.pitch, 22.0f);  // from the speed on entry: 30 - 10 / 1.25
}

TEST_F(FlightModel, SpeedDecaysEvenOnTheGroundAndGrowsOnlyInTheAir) {
  globals.speed = 10.0f;
  Keys(KeyUp, KeyUp, KeyUp, KeyUp);
  Step(1.0f);
  EXPECT_EQ(globals.speed, 5.0f);
  Keys(KeyHeld, KeyUp, KeyUp, KeyUp);
  Step(1.0f);
  EXPECT_EQ(globals.speed, 5.0f);  // Up held on the ground: neither grows nor decays
  Step(1.0f);
  EXPECT_EQ(globals.playerZ, 45.0f);  // and nothing moves
  Airborne(5.0f, 45.0f);
  Step(1.0f);
  EXPECT_EQ(globals.speed, 50.0f);  // capped at top speed
  Keys(KeyUp, KeyUp, KeyUp, KeyUp);
  globals.speed = 2.0f;
  Step(1.0f);
  EXPECT_EQ(globals.speed, 0.0f);  // never below zero
}

TEST_F(FlightModel, AWallBlocksTheWholeMoveWithoutSlidingAndKeepsTheSpeed) {
  // Heading 45 from the start cell: the candidate (x + 21, z + 21) lies in row 2, column 2,
  // which is empty, although z alone would have stayed in the corridor.
  Airborne(5.0f, 50.0f);
  ThrottleAhead(45.0f, 0.6f);
  EXPECT_EQ(globals.playerX, 45.0f);
  EXPECT_EQ(globals.playerZ, 45.0f);
  EXPECT_GT(globals.candidateX, 60.0f);  // the rejected position stays in the candidate fields
  EXPECT_GT(globals.candidateZ, 60.0f);
  EXPECT_EQ(globals.speed, 50.0f);
  EXPECT_EQ(globals.playerHeading, 45.0f);
}

TEST_F(FlightModel, CandidatesJustBelowZeroTruncateToRowZeroAndAreBlocked) {
  Airborne(5.0f, 45.0f);
  globals.playerZ = 35.0f;
  globals.playerHeading = -90.0f;
  Keys(KeyUp, KeyUp, KeyUp, KeyUp);
  Step(1.0f);
  EXPECT_NEAR(globals.candidateZ, -5.0f, 0.01f);  // 35 - 40: row 0 by truncation
  EXPECT_EQ(globals.playerZ, 35.0f);
}

TEST_F(FlightModel, AStepFarOutsideTheCourseIsBlockedNotReadOutOfBounds) {
  for (float heading : {0.0f, 90.0f, 180.0f, -90.0f, 45.0f}) {
    Airborne(5.0f, 50.0f);
    globals.playerX = 45.0f;
    globals.playerZ = 45.0f;
    ThrottleAhead(heading, 3600.0f);  // an hour-long frame: 180000 units
    EXPECT_EQ(globals.playerX, 45.0f) << heading;
    EXPECT_EQ(globals.playerZ, 45.0f) << heading;
  }
}

TEST_F(FlightModel, AStepLongerThanACellPassesOverAWall) {
  // Row 1: columns 2 and 3 are empty, column 4 is a path: 90 units in one frame tunnel through.
  Airborne(5.0f, 45.0f);
  ThrottleAhead(0.0f, 2.0f);
  EXPECT_FLOAT_EQ(globals.playerX, 135.0f);
}

TEST_F(FlightModel, EnteringTheGoalEndsTheRaceButTheStepStillTurnsAndClimbs) {
  Airborne(5.0f, 15.0f);  // decays to 10 before the move
  globals.playerX = 535.0f;
  globals.playerZ = 495.0f;
  globals.playerHeading = 0.0f;
  Keys(KeyUp, KeyUp, KeyHeld, KeyHeld);
  Step(1.0f);
  EXPECT_EQ(globals.gameState, StateTitle);
  EXPECT_FLOAT_EQ(globals.playerX, 545.0f);  // inside the goal cell, x 540 to 570
  EXPECT_FLOAT_EQ(globals.playerHeading, -60.0f);
  EXPECT_FLOAT_EQ(globals.playerY, 10.0f);
}

TEST_F(FlightModel, BankingSettlesHalfAStepInsideTheLimit) {
  Airborne(5.0f, 0.0f);
  Keys(KeyUp, KeyUp, KeyHeld, KeyUp);  // Right held, Left up: -2e then +e back
  for (int i = 0; i < 20; ++i) Step(0.1f);
  EXPECT_FLOAT_EQ(globals.bank, -0.4f);    // clamped to -0.5, then returned by e
  EXPECT_LT(globals.playerHeading, 0.0f);  // turning right from 90 wrapped below zero
  Keys(KeyUp, KeyHeld, KeyHeld, KeyUp);    // both held: turns as Right, no return
  Step(0.1f);
  EXPECT_FLOAT_EQ(globals.bank, -0.5f);
}

TEST_F(FlightModel, ABankSmallerThanAStepDoesNotReachZero) {
  Airborne(5.0f, 0.0f);
  Keys(KeyUp, KeyUp, KeyUp, KeyUp);
  globals.bank = 0.05f;
  Step(0.1f);
  EXPECT_FLOAT_EQ(globals.bank, 0.05f);  // overshoots to -0.05, then comes back
  globals.bank = -0.05f;
  Step(0.1f);
  EXPECT_FLOAT_EQ(globals.bank, 0.05f);  // a small negative bank ends positive
}

TEST_F(FlightModel, HeadingsWrapOnlyWhenTheyReach360) {
  Airborne(5.0f, 0.0f);
  globals.playerHeading = -359.75f;
  Keys(KeyUp, KeyUp, KeyHeld, KeyUp);
  Step(0.01f);  // -360.35 becomes -0.35
  EXPECT_NEAR(globals.playerHeading, -0.35f, 1e-4f);
  globals.playerHeading = 359.75f;
  Keys(KeyUp, KeyHeld, KeyUp, KeyUp);
  Step(0.01f);
  EXPECT_NEAR(globals.playerHeading, 0.35f, 1e-4f);
}

TEST_F(FlightModel, LandingNeedsTheAltitudeToFallBelowZero) {
  Keys(KeyUp, KeyUp, KeyUp, KeyUp);
  Airborne(0.5f, 0.0f);
  Step(0.125f);  // 0.5 - 4 × 0.125 = 0 exactly: still airborne
  EXPECT_EQ(globals.playerY, 0.0f);
  EXPECT_EQ(globals.airborne, 1);
  Airborne(0.25f, 20.0f);
  Step(0.125f);
  EXPECT_EQ(globals.playerY, 0.0f);
  EXPECT_EQ(globals.airborne, 0);
  EXPECT_EQ(globals.flapRate, 1);
  EXPECT_FLOAT_EQ(globals.speed, 19.375f);  // landing keeps the speed (less this frame's decay)
}

TEST_F(FlightModel, TheCeilingIsThirtyUnits) {
  Keys(KeyUp, KeyUp, KeyUp, KeyHeld);
  Airborne(29.0f, 0.0f);
  Step(1.0f);
  EXPECT_EQ(globals.playerY, 30.0f);
}

}  // namespace
