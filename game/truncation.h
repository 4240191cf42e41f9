#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Truncates toward zero, as the game does for every value it shows or compares in whole units.
// Values beyond the int32 range saturate and NaN gives 0, so an absurd frame time can never make
// the conversion undefined.
inline std::int32_t TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}
