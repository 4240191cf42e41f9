#pragma once

#include <cstdint>

// The C runtime's rand() as the game knows it: state × 214013 + 2531011 (mod 2^32), returning
// bits 16–30 of the new state, 0 to 32767. The state lives in globals.randomState and starts at
// 1, so every run sees the same title-screen placements.
std::int32_t GameRand();

// A value from lo to hi inclusive: r / 32767.1 × (hi − lo + 1) + lo, truncated toward zero.
std::int32_t RandomRange(std::int32_t lo, std::int32_t hi);
