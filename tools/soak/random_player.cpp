#include "tools/soak/random_player.h"

namespace {

using replay::PolledKey;

// Each frame a held arrow or space is let go, or a free one pressed, with these odds (per ten
// thousand): keys stay down for about fifty frames.
constexpr PolledKey kHeldKeys[] = {PolledKey::Up, PolledKey::Left, PolledKey::Right,
                                   PolledKey::Space};
constexpr std::uint32_t kToggleOdds = 200;
// Shift is down for single frames: races start and are given up now and then.
constexpr std::uint32_t kShiftOdds = 40;
constexpr std::uint32_t kFilterToggleOdds = 20;  // a Z message before the frame
constexpr std::uint32_t kStallOdds = 10;         // a frame of 1 to 10 seconds
constexpr std::uint32_t kLongestUsualFrame = 200;

std::size_t Index(PolledKey key) {
  return static_cast<std::size_t>(key);
}

}  // namespace

std::uint64_t RandomPlayer::Next() {  // SplitMix64
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::uint32_t RandomPlayer::Below(std::uint32_t limit) {
  return static_cast<std::uint32_t>(Next() % limit);
}

bool RandomPlayer::Chance(std::uint32_t perTenThousand) {
  return Below(10000) < perTenThousand;
}

replay::ReplayStep RandomPlayer::NextStep() {
  replay::ReplayStep step;
  if (Chance(kFilterToggleOdds)) step.messages.push_back(replay::MessageKey::Z);
  for (PolledKey key : kHeldKeys) {
    if (Chance(kToggleOdds)) held_.flip(Index(key));
  }
  held_.set(Index(PolledKey::Shift), !held_.test(Index(PolledKey::Shift)) && Chance(kShiftOdds));
  replay::ReplayFrame frame;
  frame.keys = held_;
  frame.milliseconds = Chance(kStallOdds) ? 1000 + Below(9001) : Below(kLongestUsualFrame + 1);
  step.frame = frame;
  return step;
}
