#include <gtest/gtest.h>

#include "game/key_tracker.h"
#include "support/frame_log.h"

namespace {

constexpr int kKey = 0x41;

KeyState Poll(KeyState previous, bool down) {
  Logged().keysDown.clear();
  if (down) Logged().keysDown.insert(kKey);
  PollKey(kKey, previous);
  return previous;
}

TEST(KeyTracker, EveryTransitionOfTheTable) {
  EXPECT_EQ(Poll(KeyUp, true), KeyPressed);
  EXPECT_EQ(Poll(KeyUp, false), KeyUp);
  EXPECT_EQ(Poll(KeyPressed, true), KeyHeld);
  EXPECT_EQ(Poll(KeyPressed, false), KeyReleased);
  EXPECT_EQ(Poll(KeyReleased, true), KeyHeld);
  EXPECT_EQ(Poll(KeyReleased, false), KeyUp);
  EXPECT_EQ(Poll(KeyHeld, true), KeyHeld);
  EXPECT_EQ(Poll(KeyHeld, false), KeyReleased);
}

TEST(KeyTracker, PressHoldReleaseEachLastOnePoll) {
  KeyState state = KeyUp;
  std::vector<KeyState> seen;
  for (bool down : {true, true, true, false, false}) seen.push_back(state = Poll(state, down));
  EXPECT_EQ(seen, (std::vector<KeyState>{KeyPressed, KeyHeld, KeyHeld, KeyReleased, KeyUp}));
}

TEST(KeyTracker, ATapRightAfterAReleaseIsHeldNotAFreshPress) {
  KeyState state = KeyUp;
  std::vector<KeyState> seen;
  for (bool down : {true, false, true, false, false, true}) {
    seen.push_back(state = Poll(state, down));
  }
  EXPECT_EQ(seen, (std::vector<KeyState>{KeyPressed, KeyReleased, KeyHeld, KeyReleased, KeyUp,
                                         KeyPressed}));
}

}  // namespace
