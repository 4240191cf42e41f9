#include "platform/pixel/lane_choice.h"

namespace platform::pixel {
namespace {

// The lanes' one setting.
struct LaneSettings {
  Lanes lanes = Lanes::Widest;  // tests and benchmarks may ask for SSE2 only
};

LaneSettings& Settings() {
  static LaneSettings settings;
  return settings;
}

bool ProcessorHasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2") != 0;
  return has;
}

}  // namespace

void UseLanes(Lanes lanes) {
  Settings().lanes = lanes;
}

bool LanesAreAvx2() {
  return Settings().lanes == Lanes::Widest && ProcessorHasAvx2();
}

}  // namespace platform::pixel
