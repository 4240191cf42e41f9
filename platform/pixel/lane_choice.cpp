#include "platform/pixel/lane_choice.h"

namespace platform::pixel {
namespace {

// The lanes' one setting.
struct LaneSettings {
  Lanes lanes = Lanes::Widest;  // tests and benchmarks may ask for narrower lanes
};

LaneSettings& Settings() {
  static LaneSettings settings;
  return settings;
}

bool ProcessorHasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2") != 0;
  return has;
}

bool ProcessorHasAvx512() {
  static const bool has =
      __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512bw") != 0 &&
      __builtin_cpu_supports("avx512dq") != 0 && __builtin_cpu_supports("avx512vl") != 0;
  return has;
}

}  // namespace

void UseLanes(Lanes lanes) {
  Settings().lanes = lanes;
}

bool LanesAreAvx2() {
  return Settings().lanes != Lanes::Sse2 && ProcessorHasAvx2();
}

bool LanesAreAvx512() {
  return Settings().lanes == Lanes::Widest && ProcessorHasAvx512();
}

}  // namespace platform::pixel
