// The record's float scalars by name, for code that walks all of them: the whole-game checks
// want each finite, the trace's tests want each in its column.
#pragma once

#include <array>

#include "record/game_globals.h"

struct FloatField {
  const char* name;
  float value;
};

inline std::array<FloatField, 18> FloatFields(const GameGlobals& g) {
  return {{{"stateTimer", g.stateTimer},
           {"titleCamX", g.titleCamX},
           {"titleCamY", g.titleCamY},
           {"titleCamZ", g.titleCamZ},
           {"titleCamHeading", g.titleCamHeading},
           {"orbitAngle", g.orbitAngle},
           {"playerX", g.playerX},
           {"playerY", g.playerY},
           {"playerZ", g.playerZ},
           {"playerHeading", g.playerHeading},
           {"candidateX", g.candidateX},
           {"candidateZ", g.candidateZ},
           {"speed", g.speed},
           {"pitch", g.pitch},
           {"bank", g.bank},
           {"takeoffCharge", g.takeoffCharge},
           {"wingAngle", g.wingAngle},
           {"frameSeconds", g.frameSeconds}}};
}
