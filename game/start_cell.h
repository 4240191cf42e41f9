// Where every race starts: the reset before the countdown and the countdown's end both put the
// butterfly here.
#pragma once

#include "record/game_globals.h"

// The butterfly on the ground at the start cell's centre, facing +z (heading 90).
inline void PlaceOnStartCell(GameGlobals& g) {
  g.playerHeading = 90.0f;
  g.playerX = 45.0f;
  g.playerY = 0.0f;
  g.playerZ = 45.0f;
}
