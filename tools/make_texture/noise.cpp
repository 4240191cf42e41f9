#include "tools/make_texture/noise.h"

#include <algorithm>
#include <cmath>

std::uint32_t HashPoint(int x, int y, std::uint32_t seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 0x9E3779B1u;
  h ^= static_cast<std::uint32_t>(y) * 0x85EBCA77u + 0x632BE5ABu;
  h ^= seed * 0xC2B2AE3Du;
  // Final avalanche, so that neighbouring lattice points look unrelated.
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double HashUnit(int x, int y, std::uint32_t seed) {
  return static_cast<double>(HashPoint(x, y, seed)) / 4294967296.0;
}

double SmoothStep(double edge0, double edge1, double x) {
  const double k = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return k * k * (3.0 - 2.0 * k);
}

double ValueNoise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  const int ix = static_cast<int>(fx);
  const int iy = static_cast<int>(fy);
  const double kx = SmoothStep(0.0, 1.0, x - fx);
  const double ky = SmoothStep(0.0, 1.0, y - fy);
  const double top =
      HashUnit(ix, iy, seed) + (HashUnit(ix + 1, iy, seed) - HashUnit(ix, iy, seed)) * kx;
  const double bottom = HashUnit(ix, iy + 1, seed) +
                        (HashUnit(ix + 1, iy + 1, seed) - HashUnit(ix, iy + 1, seed)) * kx;
  return top + (bottom - top) * ky;
}

double FractalNoise(double x, double y, int octaves, std::uint32_t seed) {
  double sum = 0.0;
  double weight = 1.0;
  double total = 0.0;
  double scale = 1.0;
  for (int octave = 0; octave < octaves; ++octave) {
    sum += ValueNoise(x * scale, y * scale, seed + static_cast<std::uint32_t>(octave)) * weight;
    total += weight;
    weight *= 0.5;
    scale *= 2.0;
  }
  return sum / total;
}
