#include <gtest/gtest.h>

#include "record/course_grid.h"
#include "record/game_globals.h"
#include "support/frame_log.h"

namespace {

std::vector<std::string> CallNames() {
  std::vector<std::string> names;
  for (const LoggedCall& call : Logged().calls) {
    if (names.empty() || names.back() != call.name) names.push_back(call.name);
  }
  return names;
}

const LoggedCall& OnlyCall(const std::string& name) {
  static const LoggedCall missing{};
  const std::vector<LoggedCall> calls = Logged().Named(name);
  EXPECT_EQ(calls.size(), 1u) << name;
  for (const LoggedCall& call : Logged().calls) {
    if (call.name == name) return call;
  }
  return missing;
}

// The first frame, then a race under way with the butterfly 5 units up at `speed`.
void StartFlying(float speed) {
  RunFrame(0.0f);
  globals.gameState = StateFlying;
  globals.airborne = 1;
  globals.playerY = 5.0f;
  globals.speed = speed;
}

class FrameDriver : public ::testing::Test {
 protected:
  void SetUp() override { ResetGame(); }
};

TEST_F(FrameDriver, ATitleFrameRunsItsStepsInTheFixedOrder) {
  RunFrame(0.0f);
  EXPECT_EQ(CallNames(), (std::vector<std::string>{
                             "GetKeyState", "BeginSceneFrame", "DrawCourseCell", "DrawButterfly",
                             "FinishSceneFrame", "DrawDeviceInfo", "DrawHudText", "PresentFrame"}));
  std::vector<int> polled;
  for (const LoggedCall& call : Logged().Named("GetKeyState")) {
    polled.push_back(call.arguments[0]);
  }
  EXPECT_EQ(polled, (std::vector<int>{VK_UP, VK_LEFT, VK_RIGHT, VK_SPACE, VK_SHIFT}));
}

TEST_F(FrameDriver, EveryNonEmptyCellIsDrawnRowByRowEveryFrame) {
  for (int frame = 0; frame < 2; ++frame) {
    RunFrame(0.02f);
    std::vector<std::vector<int>> expected;
    for (int row = 0; row < kCourseRows; ++row) {
      for (int column = 0; column < kCourseColumns; ++column) {
        if (CourseGrid[row][column] != CellEmpty) {
          expected.push_back({row, column, CourseGrid[row][column]});
        }
      }
    }
    std::vector<std::vector<int>> drawn;
    for (const LoggedCall& call : Logged().Named("DrawCourseCell")) {
      drawn.push_back(call.arguments);
    }
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(drawn.size(), 118u);
    EXPECT_EQ(drawn.front(), (std::vector<int>{1, 1, CellPath}));
    EXPECT_EQ(drawn[111], (std::vector<int>{16, 18, CellGoal}));
  }
}

TEST_F(FrameDriver, TheFirstFrameOpensTheTitleWithTheButterflyAtTheStart) {
  RunFrame(0.0f);
  EXPECT_EQ(globals.gameState, StateTitle);
  EXPECT_EQ(globals.bestTime, 20000);
  EXPECT_EQ(globals.firstRunPending, 0);
  EXPECT_EQ(globals.raceResetPending, 0);
  const LoggedCall& butterfly = OnlyCall("DrawButterfly");
  EXPECT_EQ(butterfly.playerX, 45.0f);
  EXPECT_EQ(butterfly.playerY, 0.0f);
  EXPECT_EQ(butterfly.playerZ, 45.0f);
  EXPECT_EQ(butterfly.playerHeading, 90.0f);
  EXPECT_EQ(globals.pitch, 30.0f);
  EXPECT_EQ(globals.flapRate, 1);
}

TEST_F(FrameDriver, TheResetBeforeARaceRunsBeforeAnythingIsDrawn) {
  RunFrame(0.0f);
  globals.playerX = 300.0f;
  globals.playerHeading = 10.0f;
  globals.speed = 33.0f;
  globals.gameState = StateCountdown;
  globals.raceResetPending = 1;
  RunFrame(0.02f);
  const LoggedCall& butterfly = OnlyCall("DrawButterfly");
  EXPECT_EQ(butterfly.playerX, 45.0f);
  EXPECT_EQ(butterfly.playerHeading, 90.0f);
  EXPECT_EQ(globals.speed, 0.0f);
  EXPECT_EQ(globals.titleCamX, 45.0f);  // reset to 1, then placed by the countdown
  EXPECT_TRUE(Logged().Named("DrawDeviceInfo").empty());
}

TEST_F(FrameDriver, NoFlightStepRunsOutsideTheRace) {
  RunFrame(0.0f);
  globals.gameState = StateCountdown;
  globals.raceResetPending = 1;
  Logged().keysDown = {VK_UP, VK_SPACE};
  for (int frame = 0; frame < 20; ++frame) RunFrame(0.1f);
  EXPECT_EQ(globals.gameState, StateCountdown);
  EXPECT_EQ(globals.speed, 0.0f);
  EXPECT_EQ(globals.takeoffCharge, 0.0f);
  EXPECT_EQ(globals.playerY, 0.0f);
}

TEST_F(FrameDriver, TheFlightStepRunsAfterTheButterflyIsDrawnAndBeforeTheCamera) {
  StartFlying(20.0f);
  RunFrame(0.1f);
  EXPECT_EQ(OnlyCall("DrawButterfly").playerZ, 45.0f);
  EXPECT_GT(OnlyCall("FinishSceneFrame").playerZ, 46.0f);
}

TEST_F(FrameDriver, TheGoalFrameAlreadyUsesTheTitleCameraAndShowsTheDeviceLines) {
  StartFlying(30.0f);
  globals.resultInitPending = 1;
  globals.titleCamX = 45.0f;
  globals.titleCamZ = 45.0f;
  globals.titleCamHeading = 90.0f;
  globals.playerX = 535.0f;
  globals.playerZ = 495.0f;
  globals.playerHeading = 0.0f;
  globals.stateTimer = 100.0f;
  RunFrame(0.5f);
  EXPECT_EQ(OnlyCall("FinishSceneFrame").gameState, StateTitle);
  EXPECT_EQ(Logged().Named("DrawDeviceInfo").size(), 1u);
  EXPECT_EQ(globals.bestTime, 100);
  // The state machine copied the pose into the title camera only after the camera step.
  EXPECT_GT(globals.titleCamX, 540.0f);
}

}  // namespace
