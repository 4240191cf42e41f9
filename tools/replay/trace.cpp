#include "tools/replay/trace.h"

#include <cstdio>

#include "record/game_globals.h"

namespace replay {
namespace {

class RowWriter {
 public:
  void Integer(long long value) { Append("%lld", value); }
  void Float(float value) { Append("%.9g", static_cast<double>(value)); }
  std::string Take() { return std::move(row_); }

 private:
  template <typename Value>
  void Append(const char* format, Value value) {
    char cell[32];
    std::snprintf(cell, sizeof cell, format, value);
    if (!row_.empty()) row_ += ',';
    row_ += cell;
  }
  std::string row_;
};

}  // namespace

const char kTraceHeader[] =
    "frame,frameSeconds,gameState,stateTimer,bestTime,firstRunPending,raceResetPending,"
    "resultInitPending,upKey,leftKey,rightKey,spaceKey,shiftKey,playerX,playerY,playerZ,"
    "playerHeading,candidateX,candidateZ,speed,pitch,bank,airborne,takeoffCharge,flapRate,"
    "wingAngle,flapDirection,titleCamX,titleCamY,titleCamZ,titleCamHeading,orbitAngle,orbitPhase,"
    "driftClimb,filterEnabled,view00,view01,view02,view03,view10,view11,view12,view13,view20,"
    "view21,view22,view23,view30,view31,view32,view33";

std::string TraceRow(std::uint64_t frame, const GameGlobals& game) {
  RowWriter row;
  row.Integer(static_cast<long long>(frame));
  row.Float(game.frameSeconds);
  row.Integer(game.gameState);
  row.Float(game.stateTimer);
  row.Integer(game.bestTime);
  row.Integer(game.firstRunPending);
  row.Integer(game.raceResetPending);
  row.Integer(game.resultInitPending);
  for (const KeyState key :
       {game.upKey, game.leftKey, game.rightKey, game.spaceKey, game.shiftKey}) {
    row.Integer(key);
  }
  for (const float value : {game.playerX, game.playerY, game.playerZ, game.playerHeading,
                            game.candidateX, game.candidateZ, game.speed, game.pitch, game.bank}) {
    row.Float(value);
  }
  row.Integer(game.airborne);
  row.Float(game.takeoffCharge);
  row.Integer(game.flapRate);
  row.Float(game.wingAngle);
  row.Integer(game.flapDirection);
  for (const float value :
       {game.titleCamX, game.titleCamY, game.titleCamZ, game.titleCamHeading, game.orbitAngle}) {
    row.Float(value);
  }
  row.Integer(game.orbitPhase);
  row.Integer(game.driftClimb);
  row.Integer(game.filterEnabled);
  for (const float value : game.viewMatrix.m) row.Float(value);
  return row.Take();
}

}  // namespace replay
