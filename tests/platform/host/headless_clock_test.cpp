// A frame's length asked of the headless host, which the replays rely on, at the host's own
// level: with input waiting it waits for the drain after the input; before any reading it comes
// after the first; otherwise at once. Requests add up and are used once.
#include <gtest/gtest.h>

#include "platform/api/win32.h"
#include "platform/host/headless/headless_host.h"

namespace {

namespace headless = platform::host::headless;
namespace host = platform::host;

TEST(HeadlessClock, WithInputWaitingTheFrameMovesTheClockAtTheDrainAfterIt) {
  headless::Reset({.startTick = 1000});
  EXPECT_EQ(host::TickMilliseconds(), 1000u);
  headless::QueueKeyDown(VK_SPACE);
  headless::AdvanceClockBeforeNextFrame(40);
  headless::AdvanceClockBeforeNextFrame(2);  // requests add up
  EXPECT_EQ(host::TickMilliseconds(), 1000u) << "the message turns measure nothing";
  host::MessageQueueDrained();
  EXPECT_EQ(host::TickMilliseconds(), 1000u) << "a key is still waiting to become a message";
  host::Event event;
  ASSERT_TRUE(host::PollEvent(event));
  host::MessageQueueDrained();
  EXPECT_EQ(host::TickMilliseconds(), 1042u);
  host::MessageQueueDrained();
  EXPECT_EQ(host::TickMilliseconds(), 1042u) << "a request is used once";
}

TEST(HeadlessClock, BeforeAnyReadingTheFrameMovesTheClockAfterTheFirstAndLaterAtOnce) {
  headless::Reset({.startTick = 0xFFFFFFF0u});
  headless::AdvanceClockBeforeNextFrame(0x20);
  EXPECT_EQ(host::TickMilliseconds(), 0xFFFFFFF0u) << "the first reading is the loop's mark";
  EXPECT_EQ(host::TickMilliseconds(), 0x10u) << "the clock wraps at 2^32";
  EXPECT_EQ(host::TickMilliseconds(), 0x10u);
  headless::AdvanceClockBeforeNextFrame(5);
  EXPECT_EQ(host::TickMilliseconds(), 0x15u);
  host::MessageQueueDrained();
  EXPECT_EQ(host::TickMilliseconds(), 0x15u);
}

TEST(HeadlessClock, ResetForgetsARequestedFrame) {
  headless::Reset({.startTick = 5});
  headless::QueueKeyDown(VK_SPACE);
  headless::AdvanceClockBeforeNextFrame(40);
  headless::Reset({.startTick = 5});
  host::MessageQueueDrained();
  EXPECT_EQ(host::TickMilliseconds(), 5u);
  EXPECT_EQ(host::TickMilliseconds(), 5u);
}

}  // namespace
