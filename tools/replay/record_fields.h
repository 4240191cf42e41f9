// The record's fields the tools read, one list in the trace's column order: the trace writes a
// column for each, the soak's checks want each float finite. A field added to the record and
// wanted by the tools is added here, and only here.
#pragma once

#include "record/game_globals.h"

namespace replay {

// Calls visit(name, value) for every listed field of `g`, in order, with the value as the record
// holds it (a float, an integer, a flag, a key or game state); the view matrix comes as its 16
// elements, "view00" to "view33", row by row.
template <typename Visit>
void VisitRecordFields(const GameGlobals& g, Visit&& visit) {
  visit("frameSeconds", g.frameSeconds);
  visit("gameState", g.gameState);
  visit("stateTimer", g.stateTimer);
  visit("bestTime", g.bestTime);
  visit("firstRunPending", g.firstRunPending);
  visit("raceResetPending", g.raceResetPending);
  visit("resultInitPending", g.resultInitPending);
  visit("upKey", g.upKey);
  visit("leftKey", g.leftKey);
  visit("rightKey", g.rightKey);
  visit("spaceKey", g.spaceKey);
  visit("shiftKey", g.shiftKey);
  visit("playerX", g.playerX);
  visit("playerY", g.playerY);
  visit("playerZ", g.playerZ);
  visit("playerHeading", g.playerHeading);
  visit("candidateX", g.candidateX);
  visit("candidateZ", g.candidateZ);
  visit("speed", g.speed);
  visit("pitch", g.pitch);
  visit("bank", g.bank);
  visit("airborne", g.airborne);
  visit("takeoffCharge", g.takeoffCharge);
  visit("flapRate", g.flapRate);
  visit("wingAngle", g.wingAngle);
  visit("flapDirection", g.flapDirection);
  visit("titleCamX", g.titleCamX);
  visit("titleCamY", g.titleCamY);
  visit("titleCamZ", g.titleCamZ);
  visit("titleCamHeading", g.titleCamHeading);
  visit("orbitAngle", g.orbitAngle);
  visit("orbitPhase", g.orbitPhase);
  visit("driftClimb", g.driftClimb);
  visit("filterEnabled", g.filterEnabled);
  static constexpr const char* kViewNames[16] = {
      "view00", "view01", "view02", "view03", "view10", "view11", "view12", "view13",
      "view20", "view21", "view22", "view23", "view30", "view31", "view32", "view33"};
  for (int i = 0; i < 16; ++i) visit(kViewNames[i], g.viewMatrix.m[i]);
}

}  // namespace replay
