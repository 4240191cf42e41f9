// Seeded random choices and the camera for the tests that draw many random cases on both paths.
#pragma once

#include <random>

#include "platform/raster/raster.h"

namespace raster_test {

using Random = std::mt19937;

inline float Uniform(Random& random, float low, float high) {
  return std::uniform_real_distribution<float>(low, high)(random);
}
inline int Pick(Random& random, int count) {
  return std::uniform_int_distribution<int>(0, count - 1)(random);
}
inline bool Coin(Random& random) {
  return Pick(random, 2) == 1;
}

// The projection of the random scenes' camera, at the origin looking along +z.
inline platform::raster::Matrix OriginCameraProjection() {
  platform::raster::Matrix projection{};
  projection.m[0] = 0.93f;
  projection.m[5] = 0.93f;
  projection.m[10] = 0.374f;
  projection.m[11] = 0.371f;
  projection.m[14] = -0.374f;
  return projection;
}

}  // namespace raster_test
