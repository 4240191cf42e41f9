#include "platform/host/pacing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/support/paced_display.h"

namespace {

using namespace paced_display;

struct Rate {
  double hz;
  int refreshesPerPicture;
  double picturesPerSecond;
};
// At 60-89 Hz every refresh; faster, every refresh ÷ 60 (rounded); unknown, 60 by time.
constexpr Rate kRates[] = {{0, 1, 60},   {59.94, 1, 59.94}, {60, 1, 60},  {75, 1, 75},
                           {120, 2, 60}, {144, 2, 72},      {165, 3, 55}, {240, 4, 60}};

TEST(PicturePacer, AboutSixtyPicturesASecondOnEveryDisplay) {
  for (const Vsync vsync : {Vsync::None, Vsync::Kept, Vsync::PromisedNotKept}) {
    for (const Rate& rate : kRates) {
      SCOPED_TRACE(testing::Message() << rate.hz << " Hz, vsync " << static_cast<int>(vsync));
      Display display(rate.hz, vsync);
      display.Play(10.0);
      EXPECT_EQ(display.pacer.RefreshesPerPicture(), rate.refreshesPerPicture);
      EXPECT_NEAR(display.PicturesPerSecond(), rate.picturesPerSecond, 0.002);
      // The renderer that breaks its promise is found out; the one that keeps it is left to it.
      EXPECT_EQ(display.pacer.TrustsVsync(), vsync == Vsync::Kept && rate.hz > 0);
      // Even before it is found out, it never runs the game fast.
      EXPECT_NEAR(display.PicturesPerSecond(2, 30), rate.picturesPerSecond, 0.01);
    }
  }
}

TEST(PicturePacer, KeptVsyncShowsEveryPictureForTheSameWholeRefreshes) {
  for (const Rate& rate : kRates) {
    if (rate.hz == 0) continue;
    SCOPED_TRACE(testing::Message() << rate.hz << " Hz");
    Display display(rate.hz, Vsync::Kept);
    display.Play(10.0);
    const double refresh = kPerSecond / rate.hz;
    for (std::size_t i = 2; i < display.starts.size(); ++i) {
      const double steps = (display.starts[i] - display.starts[i - 1]) / refresh;
      ASSERT_NEAR(steps, rate.refreshesPerPicture, 1e-6) << "picture " << i;
    }
    EXPECT_EQ(display.clock.sleeps, 0);  // the display does the waiting
  }
}

TEST(PicturePacer, TimedPacingKeepsTheExactPeriodAsGetTickCountSeesIt) {
  Display sixty(60, Vsync::None);
  sixty.Play(10.0);
  const auto steps = sixty.TickSteps();
  ASSERT_EQ(steps.size(), 2u);  // 16 and 17 ms only, two 17s to one 16
  EXPECT_NEAR(static_cast<double>(steps.at(17)) / steps.at(16), 2.0, 0.03);
  EXPECT_EQ(sixty.starts.size(), 600u + 1);  // no drift in 10 s: 600 periods and one start

  Display ntsc(59.94, Vsync::None);
  ntsc.Play(100.0);
  EXPECT_EQ(ntsc.starts.size(), 5994u + 1);
}

TEST(PicturePacer, SleepsThroughTheWaitWithoutSpinning) {
  for (const Rate& rate : kRates) {
    SCOPED_TRACE(testing::Message() << rate.hz << " Hz");
    Display display(rate.hz, Vsync::None);
    display.Play(10.0);
    EXPECT_LE(display.mostReads, 3);
    EXPECT_LE(display.mostSleeps, 1);
    EXPECT_GT(static_cast<double>(display.clock.slept) / display.inPresents, 0.999);
  }
}

TEST(PicturePacer, ALongStallRestartsTheRhythmRatherThanRushing) {
  Display display(60, Vsync::None);
  display.Play(5.0, 100, 500 * kPerMs);
  // Frame 100 took half a second; every frame after it still gets its 16 or 17 ms.
  const auto after = display.TickSteps(100);
  EXPECT_EQ(after.begin()->first, 16u);
  EXPECT_EQ(after.size(), 2u);
}

TEST(PicturePacer, ANewDisplayOrModeIsTrustedAfresh) {
  Display display(60, Vsync::PromisedNotKept);
  display.Play(2.0);
  ASSERT_FALSE(display.pacer.TrustsVsync());
  // The window moves to a 144 Hz display whose renderer keeps vsync.
  display.hz = 144;
  display.vsync = Vsync::Kept;
  display.pacer.Configure(144, true);
  const std::size_t moved = display.starts.size();
  const int sleeps = display.clock.sleeps;
  display.Play(2.0);
  EXPECT_TRUE(display.pacer.TrustsVsync());
  EXPECT_NEAR(display.PicturesPerSecond(moved + 1), 72, 0.01);
  EXPECT_EQ(display.clock.sleeps, sleeps);  // the display does the waiting again
}

TEST(PicturePacer, AtTheDisplaysRateEveryRefreshShowsANewPicture) {
  for (const Vsync vsync : {Vsync::None, Vsync::Kept, Vsync::PromisedNotKept}) {
    for (const double hz : {0.0, 59.94, 60.0, 75.0, 120.0, 144.0, 165.0, 240.0}) {
      SCOPED_TRACE(testing::Message() << hz << " Hz, vsync " << static_cast<int>(vsync));
      Display display(hz, vsync, PictureRate::Display);
      display.leastWork = 1 * kPerMs;  // 1-2 ms: a frame fits in a refresh at 240 Hz
      display.workSpreadUs = 1000;
      display.Play(5.0);
      const double expected = hz > 0 ? hz : 60.0;  // an unknown refresh is paced at 60
      EXPECT_EQ(display.pacer.RefreshesPerPicture(), 1);
      EXPECT_EQ(display.pacer.PicturesPerSecond(), expected);
      EXPECT_NEAR(display.PicturesPerSecond(), expected, expected * 0.001);
    }
  }
}

TEST(PictureRateMeter, TellsThePicturesASecondOnceASecond) {
  FakeClock clock;
  platform::host::PictureRateMeter meter(clock);
  std::vector<double> reports;
  for (int picture = 0; picture < 300; ++picture) {  // 144 a second, then 50 a second
    clock.now =
        picture < 144 ? picture * kPerSecond / 144 : kPerSecond + (picture - 144) * kPerSecond / 50;
    if (const auto rate = meter.Shown()) reports.push_back(*rate);
  }
  ASSERT_EQ(reports.size(), 4u);  // after each of 4 whole seconds; the last tenth is not told yet
  EXPECT_NEAR(reports[0], 144.0, 0.1);
  for (std::size_t i = 1; i < reports.size(); ++i) EXPECT_NEAR(reports[i], 50.0, 0.1);
}

}  // namespace
