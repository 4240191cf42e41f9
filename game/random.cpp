#include "game/random.h"

#include "game/truncation.h"
#include "record/game_globals.h"

std::int32_t GameRand() {
  globals.randomState = globals.randomState * 214013u + 2531011u;
  return static_cast<std::int32_t>((globals.randomState >> 16) & 0x7FFFu);
}

std::int32_t RandomRange(std::int32_t lo, std::int32_t hi) {
  const double n = static_cast<double>(hi) - lo + 1.0;
  return TruncateToInt32(GameRand() / 32767.1 * n + lo);
}
