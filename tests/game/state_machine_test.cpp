#include <gtest/gtest.h>

#include <bit>

#include "game/random.h"
#include "game/state_machine.h"
#include "record/game_globals.h"
#include "record/screen_texts.h"
#include "support/frame_log.h"
#include "support/hud.h"

namespace {

std::vector<Hud> TitleControls(int pushShiftX) {
  return Shadowed(kTextTitle, 150, 22, 12, 20, 10, 255, 180, 0) +
         Shadowed(kTextControlsUp, 55, 22, 162, 20, 160, 255, 180, 0) +
         Shadowed(kTextControlsTurn, 55, 22, 212, 20, 210, 255, 180, 0) +
         Shadowed(kTextControlsSpace, 55, 22, 262, 20, 260, 255, 180, 0) +
         Shadowed(kTextPushShift, 50, pushShiftX + 1, 391, pushShiftX, 390, 255, 180, 0);
}

class GameStates : public ::testing::Test {
 protected:
  void SetUp() override { ResetGame(); }

  static void Shift(bool down) {
    if (down) {
      Logged().keysDown.insert(VK_SHIFT);
    } else {
      Logged().keysDown.erase(VK_SHIFT);
    }
  }

  // Plays the title screen until a restart is allowed, then presses shift for one frame.
  static void StartCountdown() {
    RunFrame(0.0f);
    globals.orbitPhase = 2;
    Shift(true);
    RunFrame(0.0f);
    Shift(false);
    ASSERT_EQ(globals.gameState, StateCountdown);
  }

  // Runs the countdown through to the race.
  static void StartRace() {
    StartCountdown();
    while (globals.gameState == StateCountdown) RunFrame(0.25f);
  }
};

TEST_F(GameStates, TheFirstTitleScreenShowsTheControlsAndNoTime) {
  RunFrame(0.0f);
  EXPECT_EQ(DrawnTexts(), TitleControls(650));
  EXPECT_EQ(globals.orbitAngle, 90.0f);  // the orbit starts from the butterfly's heading
  EXPECT_EQ(globals.orbitPhase, 1);
}

TEST_F(GameStates, RestartIsRefusedThroughoutTheFirstOrbit) {
  RunFrame(0.0f);
  Shift(true);
  RunFrame(0.1f);
  Shift(false);
  RunFrame(0.1f);
  RunFrame(0.1f);
  EXPECT_EQ(globals.gameState, StateTitle);

  // A press in the very frame that completes the first orbit is refused too.
  globals.orbitAngle = 359.0f;
  Shift(true);
  RunFrame(0.1f);
  EXPECT_EQ(globals.orbitPhase, 2);
  EXPECT_EQ(globals.gameState, StateTitle);

  Shift(false);
  RunFrame(0.0f);
  RunFrame(0.0f);
  Shift(true);
  RunFrame(0.0f);
  EXPECT_EQ(globals.gameState, StateCountdown);
  EXPECT_EQ(globals.raceResetPending, 1);
}

TEST_F(GameStates, TheCountShowsOnlyStrictlyBetweenWholeSeconds) {
  StartCountdown();
  std::vector<std::string> counts;
  for (int frame = 0; frame < 10; ++frame) {
    RunFrame(0.5f);
    std::string count = "-";
    for (const Hud& hud : DrawnTexts()) {
      if (hud.size == 200) count = hud.text;
    }
    counts.push_back(count);
  }
  // Timer after each frame: 0.5, 1.0, 1.5, ..., 5.0.
  EXPECT_EQ(counts,
            (std::vector<std::string>{"-", "-", "  3", "-", "  2", "-", "  1", "-", "START", "-"}));
  EXPECT_EQ(globals.gameState, StateCountdown);  // exactly 5.0 has not passed 5 yet

  RunFrame(0.25f);
  EXPECT_EQ(globals.gameState, StateFlying);
}

TEST_F(GameStates, CountdownDrawsSpeedTimeAndCountAndSwingsTheCameraIn) {
  StartCountdown();
  RunFrame(1.5f);
  EXPECT_EQ(DrawnTexts(), Shadowed("SPEED 0", 50, 21, 32, 20, 30, 255, 180, 0) +
                              Shadowed(kTextCountdownTime, 50, 21, 82, 20, 80, 255, 180, 0) +
                              Shadowed(kTextCount3, 200, 85, 105, 80, 100, 255, 180, 0));
  // The reset left the anchor at (1, 1, 1), heading 0: it jumps to (45, 50, 45) at once.
  EXPECT_EQ(globals.titleCamX, 45.0f);
  EXPECT_EQ(globals.titleCamY, 50.0f);
  EXPECT_EQ(globals.titleCamZ, 45.0f);
  EXPECT_EQ(globals.titleCamHeading, 0.0f);
  RunFrame(1.0f);  // the camera uses the timer from before this frame's advance
  EXPECT_EQ(globals.titleCamY, 27.5f);
  EXPECT_EQ(globals.titleCamHeading, 30.0f);
  RunFrame(2.0f);
  EXPECT_EQ(globals.titleCamY, 12.5f);
  RunFrame(0.25f);
  EXPECT_EQ(globals.titleCamY, -17.5f);  // below zero for one frame ...
  EXPECT_EQ(globals.titleCamHeading, 90.0f);
  RunFrame(0.1f);
  EXPECT_EQ(globals.titleCamY, 0.0f);  // ... then clamped
  EXPECT_EQ(globals.titleCamHeading, 90.0f);
}

TEST_F(GameStates, TheFrameThatEndsTheCountdownAlsoDrawsTheRace) {
  StartCountdown();
  RunFrame(5.0f);
  RunFrame(0.25f);
  EXPECT_EQ(globals.gameState, StateFlying);
  EXPECT_EQ(globals.stateTimer, 0.25f);  // the race clock already counts this frame
  EXPECT_EQ(globals.resultInitPending, 1);
  EXPECT_EQ(globals.playerX, 45.0f);
  EXPECT_EQ(globals.playerZ, 45.0f);
  EXPECT_EQ(globals.playerHeading, 90.0f);
  const std::vector<Hud> race = Shadowed("SPEED 0", 50, 21, 32, 20, 30, 255, 180, 0) +
                                Shadowed("TIME  0", 50, 21, 82, 20, 80, 255, 180, 0) +
                                Shadowed(kTextGiveUpHint, 30, 21, 442, 20, 440, 255, 180, 0, 20);
  const std::vector<Hud> countdown = Shadowed("SPEED 0", 50, 21, 32, 20, 30, 255, 180, 0) +
                                     Shadowed(kTextCountdownTime, 50, 21, 82, 20, 80, 255, 180, 0);
  EXPECT_EQ(DrawnTexts(), countdown + race);
}

TEST_F(GameStates, RaceTextsTurnRedderWithSpeed) {
  StartRace();
  Logged().calls.clear();
  globals.speed = 50.0f;
  UpdateGameState();
  const std::vector<Hud> texts = DrawnTexts();
  ASSERT_GE(texts.size(), 4u);
  EXPECT_EQ(texts[1], (Hud{"SPEED 50", 50, 20, 30, 255, 30, 0}));
  EXPECT_EQ(texts[3].green, 30);
}

TEST_F(GameStates, AGiveUpShowsGiveUpOnceABestTimeExistsAndNeverChangesIt) {
  StartRace();
  Shift(true);
  RunFrame(3.0f);  // a give-up before any finished race leads back to the controls
  Shift(false);
  EXPECT_EQ(globals.gameState, StateTitle);
  EXPECT_EQ(globals.stateTimer, 0.0f);
  EXPECT_EQ(globals.bestTime, 20000);
  EXPECT_TRUE(Logged().Drew(kTextControlsUp));

  globals.bestTime = 77;
  globals.orbitPhase = 2;
  RunFrame(0.0f);
  RunFrame(0.0f);  // shift must be seen up at two polls before a fresh press
  Shift(true);
  RunFrame(0.0f);
  Shift(false);
  while (globals.gameState != StateFlying) RunFrame(0.25f);
  RunFrame(0.5f);
  Shift(true);
  RunFrame(0.5f);
  EXPECT_TRUE(Logged().Drew(kTextResultGiveUp));
  EXPECT_TRUE(Logged().Drew("BEST      77"));
  EXPECT_TRUE(Logged().Drew("TIME  0"));  // the race's own texts in that frame show 0 too
  EXPECT_EQ(globals.bestTime, 77);
}

TEST_F(GameStates, ABestTimeIsRecordedOnlyForWholeSecondsBelowTheBest) {
  RunFrame(0.0f);
  const auto titleWithTimer = [](float timer) {
    globals.stateTimer = timer;
    RunFrame(0.0f);
    return globals.bestTime;
  };
  EXPECT_EQ(titleWithTimer(0.9f), 20000);  // under one second never counts
  EXPECT_EQ(titleWithTimer(25000.0f), 20000);
  EXPECT_EQ(titleWithTimer(42.7f), 42);
  EXPECT_TRUE(Logged().Drew("TIME      42"));
  EXPECT_TRUE(Logged().Drew("BEST      42"));
  EXPECT_EQ(titleWithTimer(50.0f), 42);
  EXPECT_EQ(titleWithTimer(41.0f), 41);
}

TEST_F(GameStates, ThePromptScrollsLeftWithTheOrbitAngleTruncatedTowardZero) {
  RunFrame(0.0f);
  const auto promptXs = [](float angle) {
    globals.orbitAngle = angle;
    RunFrame(0.0f);
    const std::vector<Hud> texts = DrawnTexts();
    return std::make_pair(texts[texts.size() - 2].x, texts.back().x);
  };
  EXPECT_EQ(promptXs(100.5f), std::make_pair(349, 348));
  EXPECT_EQ(promptXs(300.5f), std::make_pair(-250, -251));
  // 650 − 3 × angle in single precision: double would give 647 and 646.
  EXPECT_EQ(promptXs(0x1.000002p+0f), std::make_pair(648, 647));
}

TEST_F(GameStates, TheTitleOrbitTurnsTheButterflyTowardFortyFiveOneDegreeAFrame) {
  RunFrame(0.0f);  // heading 90
  RunFrame(0.0f);
  EXPECT_EQ(globals.playerHeading, 88.0f);
  EXPECT_EQ(globals.orbitAngle, 90.0f);  // a zero frame leaves the orbit where it was
  globals.playerHeading = 45.5f;
  RunFrame(0.0f);
  EXPECT_EQ(globals.playerHeading, 45.5f);  // from 45 up to 46 stays
  globals.playerHeading = 44.0f;
  RunFrame(0.1f);
  EXPECT_EQ(globals.playerHeading, 45.0f);
  EXPECT_EQ(globals.titleCamHeading, 97.0f);  // the camera circles with the orbit
}

TEST_F(GameStates, PlacingTheDriftAnewDrawsHeadingHeightLiftClimbAndHeadingInThatOrder) {
  RunFrame(0.0f);
  globals.orbitPhase = 3;
  globals.orbitAngle = 359.0f;
  globals.randomState = 12345;

  std::uint32_t state = 12345;
  const auto draw = [&state](int lo, int hi) {
    state = state * 214013u + 2531011u;
    const int r = static_cast<int>((state >> 16) & 0x7FFF);
    return static_cast<int>(r / 32767.1 * (hi - lo + 1) + lo);
  };
  const int heading = draw(0, 360), height = draw(0, 30), lift = draw(0, 2), climb = draw(0, 1),
            butterflyHeading = draw(35, 55);

  RunFrame(0.1f);  // 359 + 7 = 366: one turn comes off, leaving 6
  EXPECT_EQ(globals.titleCamHeading, static_cast<float>(heading));
  EXPECT_EQ(globals.driftClimb, climb);
  EXPECT_EQ(globals.playerHeading, static_cast<float>(butterflyHeading));
  // Then the drift of d = 6 / 200 along the diagonal, the climb only when drawn.
  EXPECT_FLOAT_EQ(globals.titleCamX, 150.03f);
  EXPECT_FLOAT_EQ(globals.titleCamZ, 150.03f);
  EXPECT_EQ(globals.playerX, globals.titleCamX);
  EXPECT_FLOAT_EQ(globals.titleCamY, height + 0.03f * climb);
  EXPECT_FLOAT_EQ(globals.playerY, height + lift + 0.03f * climb);
}

TEST_F(GameStates, AVeryLongFrameIsWorkedOffOneTurnPerFrame) {
  RunFrame(0.0f);
  RunFrame(60.0f);  // 4200 degrees
  EXPECT_EQ(globals.orbitPhase, 2);
  RunFrame(0.0f);
  EXPECT_EQ(globals.orbitPhase, 3);
  const float before = globals.orbitAngle;
  RunFrame(0.0f);
  EXPECT_EQ(globals.orbitAngle, before - 360.0f);  // a re-placement each frame until below 360
  int frames = 0;
  while (globals.orbitAngle >= 360.0f && frames < 100) {
    RunFrame(0.0f);
    ++frames;
  }
  EXPECT_LT(globals.orbitAngle, 360.0f);
  EXPECT_EQ(frames, 7);
}

// Each input below is one where the formula gives another float when worked in double and
// rounded once; the value after each comment is what double precision would have given.
TEST_F(GameStates, TheScreensWorkInSinglePrecision) {
  StartCountdown();
  globals.frameSeconds = 0.0f;
  globals.stateTimer = 0x1.0624dep-3f;  // 0.128
  globals.titleCamY = 10.0f;
  UpdateGameState();
  EXPECT_EQ(globals.titleCamY, 0x1.80a3d8p+5f);  // 50 − t × 15; 0x1.80a3d6p+5

  StartRace();
  Logged().calls.clear();
  globals.speed = std::bit_cast<float>(0x41855555u);  // 16.666666
  UpdateGameState();
  EXPECT_EQ(DrawnTexts()[1].green, 130);  // 3 × speed is 50; 49.99999... would give 131

  ResetGame();
  RunFrame(0.0f);
  globals.orbitAngle = 0x1.0a02p+0f;
  globals.frameSeconds = 0.016f;
  UpdateGameState();
  EXPECT_EQ(globals.orbitAngle, 0x1.145d28p+1f);  // angle + e × 70; 0x1.145d2ap+1

  globals.orbitPhase = 3;
  globals.driftClimb = 1;
  globals.titleCamY = 1.0f;
  globals.playerY = 1.0f;
  globals.orbitAngle = 0x1.90001ap+3f;
  globals.frameSeconds = 0.0f;
  UpdateGameState();
  EXPECT_EQ(globals.titleCamY, 0x1.1p+0f);  // y + angle / 200; 0x1.100002p+0
  EXPECT_EQ(globals.playerY, 0x1.1p+0f);
}

TEST(GameRandom, FollowsTheRuntimesSequenceFromSeedOne) {
  ResetGame();
  std::vector<int> values;
  for (int i = 0; i < 5; ++i) values.push_back(GameRand());
  EXPECT_EQ(values, (std::vector<int>{41, 18467, 6334, 26500, 19169}));
}

TEST(GameRandom, RangeCoversBothEndsAndNothingBeyond) {
  ResetGame();
  int lowest = 1000, highest = -1000;
  for (int i = 0; i < 100000; ++i) {
    const int value = RandomRange(35, 55);
    lowest = std::min(lowest, value);
    highest = std::max(highest, value);
  }
  EXPECT_EQ(lowest, 35);
  EXPECT_EQ(highest, 55);
}

}  // namespace
