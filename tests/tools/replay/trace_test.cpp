// The trace's columns: each named column carries its field, floats read back to the same bits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <type_traits>
#include <utility>

#include "record/game_globals.h"
#include "tools/replay/record_fields.h"
#include "tools/replay/trace.h"

namespace {

std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  std::stringstream stream(line);
  for (std::string cell; std::getline(stream, cell, ',');) cells.push_back(cell);
  return cells;
}

// A record in which every traced field holds a value no other field holds.
GameGlobals DistinctRecord() {
  GameGlobals g{};
  g.frameSeconds = 0.016f;
  g.gameState = StateFlying;
  g.stateTimer = 12.345678f;
  g.bestTime = 83;
  g.firstRunPending = 4;
  g.raceResetPending = 5;
  g.resultInitPending = 6;
  g.upKey = KeyPressed;
  g.leftKey = KeyReleased;
  g.rightKey = KeyHeld;
  g.spaceKey = KeyUp;
  g.shiftKey = static_cast<KeyState>(7);
  const float firstFloats[] = {101.5f,  2.25f,      303.125f, -45.5f,      1e-7f,
                               3.4e38f, 49.999996f, -9.75f,   -0.49999997f};
  float* floats[] = {&g.playerX,    &g.playerY, &g.playerZ, &g.playerHeading, &g.candidateX,
                     &g.candidateZ, &g.speed,   &g.pitch,   &g.bank};
  for (std::size_t i = 0; i < std::size(floats); ++i) *floats[i] = firstFloats[i];
  g.airborne = 8;
  g.takeoffCharge = 7.99999952f;
  g.flapRate = 10;
  g.wingAngle = 1.92399931f;
  g.flapDirection = 9;
  g.titleCamX = 150.005997f;
  g.titleCamY = 17.0059967f;
  g.titleCamZ = 150.6f;
  g.titleCamHeading = 173.0f;
  g.orbitAngle = 359.999451f;
  g.orbitPhase = 11;
  g.driftClimb = 12;
  g.filterEnabled = 13;
  for (int i = 0; i < 16; ++i) g.viewMatrix.m[i] = static_cast<float>(i) + 0.5f * (i % 3) - 100.0f;
  return g;
}

TEST(ReplayTrace, EveryColumnCarriesTheFieldItIsNamedFor) {
  const GameGlobals g = DistinctRecord();
  const std::vector<std::string> names = Cells(replay::TraceHeader());
  const std::vector<std::string> values = Cells(replay::TraceRow(2171, g));
  ASSERT_EQ(names.size(), 51u);
  ASSERT_EQ(values.size(), names.size());
  std::map<std::string, std::string> row;
  for (std::size_t i = 0; i < names.size(); ++i) row[names[i]] = values[i];

  auto number = [&](const std::string& name) { return std::stoll(row.at(name)); };
  // Floats are printed with nine significant digits, which reads back to the very same float.
  auto real = [&](const std::string& name) { return std::strtof(row.at(name).c_str(), nullptr); };

  EXPECT_EQ(number("frame"), 2171);
  EXPECT_EQ(real("frameSeconds"), g.frameSeconds);
  EXPECT_EQ(row.at("frameSeconds"), "0.0160000008");
  const std::pair<const char*, long long> numbers[] = {
      {"gameState", 2},         {"bestTime", 83},   {"firstRunPending", 4}, {"raceResetPending", 5},
      {"resultInitPending", 6}, {"upKey", 1},       {"leftKey", 2},         {"rightKey", 3},
      {"spaceKey", 0},          {"shiftKey", 7},    {"airborne", 8},        {"flapRate", 10},
      {"flapDirection", 9},     {"orbitPhase", 11}, {"driftClimb", 12},     {"filterEnabled", 13}};
  for (const auto& [name, expected] : numbers) EXPECT_EQ(number(name), expected) << name;
  int floatColumns = 0;
  replay::VisitRecordFields(g, [&](const char* name, auto expected) {
    if constexpr (std::is_same_v<decltype(expected), float>) {
      EXPECT_EQ(real(name), expected) << name;
      ++floatColumns;
    }
  });
  EXPECT_EQ(floatColumns, 18 + 16);
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      const std::string name = "view" + std::to_string(r) + std::to_string(c);
      EXPECT_EQ(real(name), g.viewMatrix(r, c)) << name;
    }
  }
}

}  // namespace
