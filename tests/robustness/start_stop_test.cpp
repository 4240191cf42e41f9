// The whole game started and shut down 200 times in one process, each time played for a few
// frames at random: Escape always ends it with status 0, no platform object of any kind is left
// (windows, DirectDraw objects, surfaces, palettes, Direct3D objects, devices, viewports,
// textures, contexts, fonts, bitmaps), and the process does not grow from one start to the next.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/testing.h"
#include "tests/robustness/support/whole_game.h"
#include "tools/soak/random_player.h"
#include "tools/soak/resident_memory.h"

namespace {

using platform::testing::ObjectKind;

constexpr int kStarts = 200;
// After this many starts every cache (fonts, glyphs) holds what the game ever asks of it.
constexpr int kWarmStarts = 20;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kJudgeMemory = false;  // the sanitizer's quarantine keeps freed memory resident
#else
constexpr bool kJudgeMemory = true;
#endif

FrameScript RandomFrames(std::uint64_t seed, std::uint64_t frames) {
  auto player = std::make_shared<RandomPlayer>(seed);
  return [player, frames](std::uint64_t frame) {
    return frame < frames ? player->NextStep() : replay::ReplayStep{};
  };
}

std::string LiveByKind() {
  std::string text;
  for (int kind = 0; kind < static_cast<int>(ObjectKind::Count); ++kind) {
    text += std::to_string(platform::testing::LiveObjects(static_cast<ObjectKind>(kind))) + " ";
  }
  return text;
}

TEST(StartAndShutDown, TwoHundredTimesLeavesNothingBehind) {
  std::uint64_t residentWhenWarm = 0;
  for (int start = 1; start <= kStarts; ++start) {
    const std::uint64_t frames = 2 + start % 7;
    const GameOutcome outcome = PlayInProcess(TIRRAVEL_ASSETS, RandomFrames(start, frames));
    ASSERT_EQ(outcome.status, 0) << "start " << start << ": " << outcome.err;
    ASSERT_EQ(outcome.frames, frames) << "start " << start;
    ASSERT_EQ(outcome.err, "") << "start " << start;
    ASSERT_EQ(platform::testing::LiveObjects(), 0)
        << "start " << start << ", live by kind: " << LiveByKind();
    if (start == kWarmStarts) residentWhenWarm = ResidentBytes();
  }
  if (kJudgeMemory) {
    const std::uint64_t resident = ResidentBytes();
    EXPECT_LT(resident, residentWhenWarm + (1u << 20))
        << "grew from " << residentWhenWarm / 1024 << " kB after " << kWarmStarts << " starts to "
        << resident / 1024 << " kB after " << kStarts;
  }
}

}  // namespace
