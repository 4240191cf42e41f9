// The title screen at the display's own rate: on a fake display the pacer shows a picture at
// every refresh, and the title's per-picture motions (the turn toward heading 45, the drift)
// keep their speed per second, as DirectDraw reports the rate.
#include <gtest/gtest.h>

#include <cmath>

#include "record/game_globals.h"
#include "support/frame_log.h"
#include "tests/support/doubles/interface_mocks.h"
#include "tests/support/paced_display.h"

namespace {

using namespace paced_display;
using ::testing::_;
using ::testing::DoAll;
using ::testing::Return;
using ::testing::SetArgPointee;

struct TitleMotion {
  double picturesPerSecond = 0;
  double turnPerSecond = 0;   // degrees, toward heading 45
  double driftPerSecond = 0;  // units along x (and z)
};

// Plays the title screen on a display of `hz` refreshes a second, a picture at each, with the
// frame times the game's clock would read.
TitleMotion PlayTitle(double hz, PictureRate rate) {
  ResetGame();
  ::testing::NiceMock<doubles::MockDirectDraw2> directDraw;
  const DWORD reported = rate == PictureRate::Display ? static_cast<DWORD>(hz) : 60;
  ON_CALL(directDraw, GetMonitorFrequency(_))
      .WillByDefault(DoAll(SetArgPointee<0>(reported), Return(DD_OK)));
  globals.directDraw = &directDraw;
  Display display(hz, Vsync::Kept, rate);
  display.leastWork = 1 * kPerMs;
  display.workSpreadUs = 1000;
  std::uint64_t lastTick = 0;
  const auto frame = [&] {
    const std::uint64_t tick = display.clock.now / kPerMs;
    RunFrame(static_cast<float>(tick - lastTick) / 1000.0f);
    lastTick = tick;
  };

  // Each motion per second is its step per picture times the pictures a second.
  TitleMotion motion;
  display.Play(0.5, 0, 0, frame);  // the butterfly turns from heading 90 toward 45
  motion.picturesPerSecond = display.PicturesPerSecond();
  const auto turned = static_cast<double>(display.starts.size());
  motion.turnPerSecond = (90.0 - globals.playerHeading) / turned * motion.picturesPerSecond;
  globals.orbitPhase = 3;  // drifting, a third of the way round
  globals.orbitAngle = 120.0f;
  const float driftFrom = globals.titleCamX;
  const std::size_t driftStart = display.starts.size();
  display.Play(1.0, 0, 0, frame);
  const auto drifted = static_cast<double>(display.starts.size() - driftStart);
  motion.driftPerSecond = (globals.titleCamX - driftFrom) / drifted * motion.picturesPerSecond;
  globals.directDraw = nullptr;
  return motion;
}

TEST(PicturesAtTheDisplaysRate, KeepTheTitleScreensMotionPerSecond) {
  const TitleMotion sixty = PlayTitle(60, PictureRate::Sixty);
  EXPECT_NEAR(sixty.turnPerSecond, 60.0, 2.0);  // one degree a picture
  for (const double hz : {144.0, 240.0}) {
    SCOPED_TRACE(testing::Message() << hz << " Hz");
    // Without the choice a fast display still shows the game's own rhythm, and so its speed.
    EXPECT_NEAR(PlayTitle(hz, PictureRate::Sixty).picturesPerSecond, hz / std::round(hz / 60), 0.5);
    const TitleMotion fast = PlayTitle(hz, PictureRate::Display);
    EXPECT_NEAR(fast.picturesPerSecond, hz, hz * 0.005);
    EXPECT_NEAR(fast.turnPerSecond / sixty.turnPerSecond, 1.0, 0.01);
    EXPECT_NEAR(fast.driftPerSecond / sixty.driftPerSecond, 1.0, 0.01);
  }
}

}  // namespace
