// The record check the soak and the frame-time tests lean on: it must pass a record the rules
// can produce and name each kind of record they cannot.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game/start_cell.h"
#include "record/game_globals.h"
#include "tools/soak/game_checks.h"

namespace {

// A race under way: flying in the start cell, as the countdown leaves it.
GameGlobals Racing() {
  GameGlobals g{};
  g.firstRunPending = 0;
  g.raceResetPending = 0;
  g.gameState = StateFlying;
  g.bestTime = kNoBestTime;
  g.orbitPhase = 2;
  PlaceOnStartCell(g);
  g.pitch = 30.0f;
  g.flapRate = 1;
  std::fill(std::begin(g.viewMatrix.m), std::end(g.viewMatrix.m), 0.0f);
  std::fill(std::begin(g.projectionMatrix.m), std::end(g.projectionMatrix.m), 0.0f);
  return g;
}

constexpr FrameHistory kShortFrames{true, 0.2f};

TEST(GameChecks, ARecordTheRulesCanProducePasses) {
  EXPECT_EQ(CheckGameRecord(Racing(), kShortFrames), std::vector<std::string>{});
  GameGlobals title = Racing();
  title.gameState = StateTitle;
  title.playerX = -5000.0f;  // the title's drift may take the butterfly anywhere
  title.playerY = 900.0f;
  EXPECT_EQ(CheckGameRecord(title, kShortFrames), std::vector<std::string>{});
}

TEST(GameChecks, EachBrokenPromiseIsNamed) {
  struct Broken {
    const char* name;
    void (*breakIt)(GameGlobals&);
  };
  const Broken cases[] = {
      {"speed", [](GameGlobals& g) { g.speed = std::numeric_limits<float>::quiet_NaN(); }},
      {"speed", [](GameGlobals& g) { g.speed = 50.5f; }},
      {"view11", [](GameGlobals& g) { g.viewMatrix.m[5] = INFINITY; }},
      {"the butterfly's cell", [](GameGlobals& g) { g.playerX = 75.0f; }},  // row 1, column 2
      {"the butterfly's cell", [](GameGlobals& g) { g.playerX = 700.0f; }},
      {"playerY", [](GameGlobals& g) { g.playerY = 30.5f; }},
      {"bank", [](GameGlobals& g) { g.bank = -0.8f; }},
      {"playerHeading", [](GameGlobals& g) { g.playerHeading = 360.5f; }},
      {"gameState", [](GameGlobals& g) { g.gameState = GameState{4}; }},
      {"bestTime", [](GameGlobals& g) { g.bestTime = 0; }},
      {"flapRate", [](GameGlobals& g) { g.flapRate = 2; }},
      {"takeoffCharge", [](GameGlobals& g) { g.takeoffCharge = -1.0f; }},
  };
  for (const Broken& c : cases) {
    GameGlobals g = Racing();
    c.breakIt(g);
    const std::vector<std::string> lines = CheckGameRecord(g, kShortFrames);
    ASSERT_FALSE(lines.empty()) << c.name;
    for (const std::string& line : lines) EXPECT_EQ(line.rfind(c.name, 0), 0u) << line;
  }
}

TEST(GameChecks, LongFramesWidenOnlyTheBoundsTheyCanPush) {
  GameGlobals g = Racing();
  g.bank = 3599.5f;         // -0.5 + e after a frame of an hour
  g.playerHeading = -9000;  // several turns in one frame
  g.wingAngle = 60000.0f;   // one flap step of an hour at rate 10 overshoots this far
  EXPECT_EQ(CheckGameRecord(g, {true, 3600.0f}), std::vector<std::string>{});
  EXPECT_EQ(CheckGameRecord(g, kShortFrames).size(), 3u);
  g.speed = 60.0f;  // no frame time lets the speed past its clamp
  EXPECT_EQ(CheckGameRecord(g, {true, 3600.0f}).size(), 1u);
}

}  // namespace
