// A whole race flown as a player would: only the keys up, left, right, space and shift are
// touched, and the frames run through the real rules.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "record/game_globals.h"
#include "support/frame_log.h"
#include "tools/autopilot/autopilot.h"

namespace {

constexpr float kFrameSeconds = 1.0f / 60.0f;

// The virtual keys behind the polled keys, for the scripted keyboard.
void HoldKeys(const replay::PolledKeys& keys) {
  constexpr int kVirtualKeys[replay::kPolledKeyCount] = {VK_UP, VK_LEFT, VK_RIGHT, VK_SPACE,
                                                         VK_SHIFT};
  std::set<int>& down = Logged().keysDown;
  down.clear();
  for (int key = 0; key < replay::kPolledKeyCount; ++key) {
    if (keys[key]) down.insert(kVirtualKeys[key]);
  }
}

// Title screen until a restart is allowed, shift for one frame, the countdown, then the race
// under the autopilot until the title screen shows again. Returns the frames the race took.
int FlyOneRace(float cruiseSpeed) {
  Logged().keysDown.clear();
  for (int frame = 0; frame < 2000 && globals.orbitPhase < 2; ++frame) RunFrame(kFrameSeconds);
  RunFrame(kFrameSeconds);
  Logged().keysDown = {VK_SHIFT};
  RunFrame(kFrameSeconds);
  Logged().keysDown.clear();
  EXPECT_EQ(globals.gameState, StateCountdown);
  while (globals.gameState == StateCountdown) RunFrame(kFrameSeconds);

  // Climbs to a safe height, then flies from cell centre to cell centre at a steady speed.
  autopilot::Autopilot autopilot({.cruiseSpeed = cruiseSpeed});
  int frames = 0;
  while (globals.gameState == StateFlying && frames < 60 * 60 * 10) {
    HoldKeys(autopilot.Keys(globals));
    RunFrame(kFrameSeconds);
    ++frames;
  }
  Logged().keysDown.clear();
  return frames;
}

TEST(WholeRace, TheAutopilotFliesToTheGoalAndTheTitleKeepsTheBestTime) {
  ResetGame();
  RunFrame(kFrameSeconds);
  ASSERT_EQ(autopilot::SearchCorridor().reachableCells,
            118);  // every floor cell joins the one corridor

  const int frames = FlyOneRace(20.0f);
  ASSERT_EQ(globals.gameState, StateTitle) << "the race did not reach the goal";
  const int seconds = static_cast<int>(globals.stateTimer);
  EXPECT_NEAR(seconds, frames / 60, 1);
  EXPECT_EQ(globals.bestTime, seconds);
  EXPECT_TRUE(Logged().Drew("TIME      " + std::to_string(seconds)));
  EXPECT_TRUE(Logged().Drew("BEST      " + std::to_string(seconds)));
  std::printf("autopilot race at cruise 20: %d s (%d frames of 1/60 s)\n", seconds, frames);

  FlyOneRace(14.0f);
  ASSERT_EQ(globals.gameState, StateTitle);
  const int slower = static_cast<int>(globals.stateTimer);
  EXPECT_GT(slower, seconds);
  EXPECT_EQ(globals.bestTime, seconds);
  EXPECT_TRUE(Logged().Drew("TIME      " + std::to_string(slower)));
  EXPECT_TRUE(Logged().Drew("BEST      " + std::to_string(seconds)));
}

}  // namespace
