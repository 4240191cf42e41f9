// The whole game started and shut down 200 times in one process, each time played for a few
// frames at random: every other time on one thread at 640 × 480, in between at a large render
// scale and the wide view with a pool of two or three drawing threads. Escape always ends it
// with status 0, no platform object of any kind is left (windows, DirectDraw objects,
// surfaces, palettes, Direct3D objects, devices, viewports, textures, contexts, fonts, bitmaps),
// no thread is left running, and the process does not grow from one start to the next.
#include <gtest/gtest.h>

#include <algorithm>
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

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// AddressSanitizer's quarantine keeps freed memory resident; ThreadSanitizer keeps what it knew
// of every thread that ended.
constexpr bool kJudgeMemory = false;
#else
constexpr bool kJudgeMemory = true;
#endif

// Random play, noting the most threads the process had between frames.
FrameScript RandomFrames(std::uint64_t seed, std::uint64_t frames, int* mostThreads) {
  auto player = std::make_shared<RandomPlayer>(seed);
  return [player, frames, mostThreads](std::uint64_t frame) {
    *mostThreads = std::max(*mostThreads, ThreadCount());
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

// The game as it was made, on one thread: no pool.
replay::DisplayChoice Classic() {
  replay::DisplayChoice display;
  display.drawingThreads = 1;
  return display;
}

// 1920 × 1440 drawn for a 2560 × 1440 display, widened to its shape, on a pool.
replay::DisplayChoice LargeAndWide(int threads) {
  replay::DisplayChoice display;
  display.drawingThreads = threads;
  display.render.scale = 3.0f;
  display.render.view = platform::ddraw::ViewShape::Wide;
  display.displayWidth = 2560;
  display.displayHeight = 1440;
  return display;
}

TEST(StartAndShutDown, TwoHundredTimesLeavesNothingBehind) {
  std::uint64_t residentWhenWarm = 0;
  const int threadsBefore = BaselineThreadCount();
  for (int start = 1; start <= kStarts; ++start) {
    const std::uint64_t frames = 2 + start % 7;
    const replay::DisplayChoice display =
        start % 2 == 1 ? Classic() : LargeAndWide(start % 4 == 0 ? 3 : 2);
    int mostThreads = 0;
    const GameOutcome outcome =
        PlayInProcess(TIRRAVEL_ASSETS, RandomFrames(start, frames, &mostThreads), display);
    ASSERT_EQ(outcome.status, 0) << "start " << start << ": " << outcome.err;
    ASSERT_EQ(outcome.frames, frames) << "start " << start;
    ASSERT_EQ(outcome.err, "") << "start " << start;
    ASSERT_EQ(platform::testing::LiveObjects(), 0)
        << "start " << start << ", live by kind: " << LiveByKind();
    // The pool's workers (all threads but the game's own) ran while it played, and went with it.
    ASSERT_EQ(mostThreads, threadsBefore + display.drawingThreads - 1) << "start " << start;
    ASSERT_EQ(ThreadCount(), threadsBefore) << "start " << start;
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
