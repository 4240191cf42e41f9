// The headless host's clock moves that replays rely on, at the host's own level: a move asked
// for the next queue drain waits until no input is pending; a move after the next reading leaves
// that reading alone.
#include <gtest/gtest.h>

#include "platform/api/win32.h"
#include "platform/host/headless/headless_host.h"

namespace {

namespace headless = platform::host::headless;
namespace host = platform::host;

TEST(HeadlessClock, ADrainMovesTheClockOnlyOnceNoInputIsPending) {
  headless::Reset({.startTick = 1000});
  headless::QueueKeyDown(VK_SPACE);
  headless::AdvanceClockWhenQueueDrains(40);
  headless::AdvanceClockWhenQueueDrains(2);  // requests add up
  host::MessageQueueDrained();
  EXPECT_EQ(host::TickMilliseconds(), 1000u) << "a key is still waiting to become a message";
  host::Event event;
  ASSERT_TRUE(host::PollEvent(event));
  host::MessageQueueDrained();
  EXPECT_EQ(host::TickMilliseconds(), 1042u);
  host::MessageQueueDrained();
  EXPECT_EQ(host::TickMilliseconds(), 1042u) << "a request is used once";
}

TEST(HeadlessClock, AMoveAfterTheNextReadingLeavesThatReadingAlone) {
  headless::Reset({.startTick = 0xFFFFFFF0u});
  headless::AdvanceClockAfterNextReading(0x20);
  EXPECT_EQ(host::TickMilliseconds(), 0xFFFFFFF0u);
  EXPECT_EQ(host::TickMilliseconds(), 0x10u) << "the clock wraps at 2^32";
  EXPECT_EQ(host::TickMilliseconds(), 0x10u);
}

TEST(HeadlessClock, ResetForgetsRequestedMoves) {
  headless::Reset({.startTick = 5});
  headless::AdvanceClockWhenQueueDrains(40);
  headless::AdvanceClockAfterNextReading(40);
  headless::Reset({.startTick = 5});
  host::MessageQueueDrained();
  EXPECT_EQ(host::TickMilliseconds(), 5u);
  EXPECT_EQ(host::TickMilliseconds(), 5u);
}

}  // namespace
