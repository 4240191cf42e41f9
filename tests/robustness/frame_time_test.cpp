// Frame times the clock can really produce but nobody plays at: thousands of frames of 0 ms (two
// frames within one tick), and frames of 10 s, 60 s and an hour (a machine that slept). The
// whole game is brought to the title screen, the countdown or the flight with ordinary frames,
// then given the extreme ones there with a racer's keys held, then ordinary frames again. After
// every frame the record must be as the rules allow (no NaN, clamped values in their clamps, the
// butterfly in the path while it races; the sanitizer build also proves the course table is
// never read outside), and the game must still end cleanly and leave nothing behind.
#include <gtest/gtest.h>

#include <string>

#include "platform/testing.h"
#include "record/game_globals.h"
#include "tests/robustness/support/whole_game.h"
#include "tools/soak/game_checks.h"

namespace {

using replay::PolledKey;

constexpr std::uint32_t kOrdinaryMs = 100;
constexpr int kRecoveryFrames = 50;
constexpr std::uint64_t kFrameLimit = 20000;

struct ExtremeCase {
  GameState where;
  std::uint32_t milliseconds;
  int frames;
};

void PrintTo(const ExtremeCase& c, std::ostream* out) {
  *out << c.milliseconds << " ms in state " << c.where;
}

replay::ReplayStep Frame(std::uint32_t milliseconds, std::initializer_list<PolledKey> keys = {}) {
  replay::ReplayFrame frame;
  frame.milliseconds = milliseconds;
  for (PolledKey key : keys) frame.keys.set(static_cast<std::size_t>(key));
  return {{}, frame};
}

// Plays ordinary frames until the game is where the case wants it, then the extreme ones, then
// ordinary ones again; checks the record after every frame.
class ExtremePlay {
 public:
  explicit ExtremePlay(const ExtremeCase& c) : case_(c) {}

  replay::ReplayStep operator()(std::uint64_t frame) {
    if (frame > 0) Check(frame);
    const replay::ReplayStep step = Next(frame);
    if (step.frame) {
      history_.longestFrameSeconds =
          std::max(history_.longestFrameSeconds, step.frame->milliseconds / 1000.0f);
    }
    return step;
  }

  const std::string& Broken() const { return broken_; }
  bool Finished() const { return extremeDone_ > case_.frames + kRecoveryFrames; }
  const GameGlobals& AtStart() const { return atStart_; }
  const GameGlobals& AfterFirst() const { return afterFirst_; }
  const GameGlobals& AtEnd() const { return atEnd_; }

 private:
  void Check(std::uint64_t frame) {
    history_.firstFrameDone = true;
    for (const std::string& line : CheckGameRecord(globals, history_)) {
      if (broken_.empty()) broken_ = "frame " + std::to_string(frame) + ": " + line;
    }
  }

  replay::ReplayStep Next(std::uint64_t frame) {
    if (!broken_.empty() || frame >= kFrameLimit) return {};
    if (extremeDone_ < 0 && Arrived()) {
      atStart_ = globals;
      extremeDone_ = 0;
    }
    if (extremeDone_ < 0) return Approach();
    if (extremeDone_ == 1) afterFirst_ = globals;
    if (extremeDone_ < case_.frames) return ExtremeFrame(extremeDone_++);
    if (extremeDone_ == case_.frames) atEnd_ = globals;
    if (extremeDone_++ < case_.frames + kRecoveryFrames) return Frame(16);
    return {};
  }

  bool Arrived() const {
    if (globals.gameState != case_.where) return false;
    return case_.where != StateFlying || globals.airborne == 1;
  }

  // Two orbits of the title, shift, the countdown, then space until airborne.
  replay::ReplayStep Approach() {
    if (globals.gameState == StateTitle && globals.orbitPhase >= 2 && globals.shiftKey == KeyUp) {
      return Frame(kOrdinaryMs, {PolledKey::Shift});
    }
    if (globals.gameState == StateFlying) return Frame(kOrdinaryMs, {PolledKey::Space});
    return Frame(kOrdinaryMs);
  }

  // While flying: speeding up, turning right, left and straight, climbing and sinking in turn.
  replay::ReplayStep ExtremeFrame(int index) const {
    if (globals.gameState != StateFlying) return Frame(case_.milliseconds);
    const PolledKey turn[] = {PolledKey::Right, PolledKey::Left, PolledKey::Up};
    if ((index / 5) % 2 == 0) {
      return Frame(case_.milliseconds, {PolledKey::Up, PolledKey::Space, turn[(index / 7) % 3]});
    }
    return Frame(case_.milliseconds, {PolledKey::Up, turn[(index / 7) % 3]});
  }

  ExtremeCase case_;
  FrameHistory history_;
  int extremeDone_ = -1;  // extreme frames handed out; -1 while approaching
  std::string broken_;    // the first broken promise
  GameGlobals atStart_, afterFirst_, atEnd_;
};

std::string CaseName(const ::testing::TestParamInfo<ExtremeCase>& info) {
  const char* const states[] = {"", "Countdown", "Flying", "Title"};
  return states[info.param.where] + std::to_string(info.param.milliseconds) + "ms";
}

class FrameTimeTest : public ::testing::TestWithParam<ExtremeCase> {};

TEST_P(FrameTimeTest, TheRecordStaysAsTheRulesAllowAndTheGameEndsCleanly) {
  const ExtremeCase& c = GetParam();
  ExtremePlay play(c);
  const GameOutcome outcome =
      PlayInProcess(TIRRAVEL_ASSETS, [&play](std::uint64_t frame) { return play(frame); });
  EXPECT_EQ(play.Broken(), "");
  ASSERT_TRUE(play.Finished()) << "the game never reached the state, or ended early";
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(platform::testing::LiveObjects(), 0);

  const GameGlobals& before = play.AtStart();
  const GameGlobals& after = play.AtEnd();
  if (c.milliseconds == 0) {
    // Nothing that runs by the clock moves; only the per-frame steps may.
    EXPECT_EQ(after.gameState, before.gameState);
    EXPECT_EQ(after.stateTimer, before.stateTimer);
    EXPECT_EQ(after.orbitAngle, before.orbitAngle);
    EXPECT_EQ(after.wingAngle, before.wingAngle);
    if (c.where == StateFlying) {
      EXPECT_EQ(after.playerX, before.playerX);
      EXPECT_EQ(after.playerZ, before.playerZ);
      EXPECT_EQ(after.speed, before.speed);
    }
  } else if (c.where == StateCountdown) {
    EXPECT_EQ(play.AfterFirst().gameState, StateFlying) << "a long frame ends the countdown";
  } else if (c.where == StateTitle) {
    EXPECT_GE(play.AfterFirst().orbitPhase, 2) << "a long frame completes an orbit at once";
  }
}

INSTANTIATE_TEST_SUITE_P(
    ZeroAndHuge, FrameTimeTest,
    ::testing::Values(ExtremeCase{StateTitle, 0, 500}, ExtremeCase{StateCountdown, 0, 500},
                      ExtremeCase{StateFlying, 0, 2000}, ExtremeCase{StateTitle, 10000, 30},
                      ExtremeCase{StateCountdown, 10000, 30}, ExtremeCase{StateFlying, 10000, 30},
                      ExtremeCase{StateTitle, 60000, 30}, ExtremeCase{StateCountdown, 60000, 30},
                      ExtremeCase{StateFlying, 60000, 30}, ExtremeCase{StateTitle, 3600000, 30},
                      ExtremeCase{StateCountdown, 3600000, 30},
                      ExtremeCase{StateFlying, 3600000, 30}),
    CaseName);

}  // namespace
