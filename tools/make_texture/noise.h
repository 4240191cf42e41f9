// Deterministic noise for the texture: integer hashing only, no random engine and no clock, so
// that every build paints the same bytes. Smoothing uses polynomials, never libm's
// transcendental functions, whose last bits may differ between C libraries.
#pragma once

#include <cstdint>

// A well-mixed 32-bit hash of a lattice point and a seed.
std::uint32_t HashPoint(int x, int y, std::uint32_t seed);

// HashPoint scaled to [0, 1).
double HashUnit(int x, int y, std::uint32_t seed);

// Smoothly interpolated lattice noise in [0, 1], one lattice cell per unit of x and y.
double ValueNoise(double x, double y, std::uint32_t seed);

// Sum of `octaves` layers of ValueNoise, each twice as fine and half as strong; in [0, 1].
double FractalNoise(double x, double y, int octaves, std::uint32_t seed);

// 0 at or below edge0, 1 at or above edge1, a smooth cubic in between.
double SmoothStep(double edge0, double edge1, double x);
