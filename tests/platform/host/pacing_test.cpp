#include "platform/host/pacing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

namespace {

using platform::host::PacingClock;
using platform::host::PicturePacer;

constexpr std::uint64_t kPerSecond = 1'000'000'000;  // nanoseconds, as SDL's counter on Linux
constexpr std::uint64_t kPerMs = kPerSecond / 1000;

// Every read costs a microsecond, so a busy wait ends, and shows in the count of reads; every
// sleep wakes 60 µs late, as a loaded system's do.
class FakeClock final : public PacingClock {
 public:
  std::uint64_t TicksPerSecond() override { return kPerSecond; }
  std::uint64_t Now() override {
    ++reads;
    return now += 1000;
  }
  void Sleep(std::uint64_t ticks) override {
    ++sleeps;
    now += ticks + 60'000;
    slept += ticks + 60'000;
  }
  std::uint64_t now = 0;
  int reads = 0;
  int sleeps = 0;
  std::uint64_t slept = 0;
};

enum class Vsync { None, Kept, PromisedNotKept };

// The game's loop on a fake display: 3-5 ms of work, then a present; the frame time is read
// as GetTickCount reads it, in whole milliseconds.
struct Display {
  explicit Display(double hz, Vsync vsync) : hz(hz), vsync(vsync) {
    pacer.Configure(hz, vsync != Vsync::None);
  }

  void Play(double seconds, std::uint64_t extraWorkAtFrame = 0, std::uint64_t extraWork = 0) {
    const std::uint64_t end = clock.now + static_cast<std::uint64_t>(seconds * kPerSecond);
    while (clock.now < end) {
      starts.push_back(clock.now);
      clock.now += 3 * kPerMs + (starts.size() * 7919 % 2000) * 1000;
      if (starts.size() == extraWorkAtFrame) clock.now += extraWork;
      const int reads = clock.reads, sleeps = clock.sleeps;
      const std::uint64_t before = clock.now;
      pacer.Present([&] { Refresh(); }, [&] { Refresh(); });
      mostReads = std::max(mostReads, clock.reads - reads);
      mostSleeps = std::max(mostSleeps, clock.sleeps - sleeps);
      inPresents += clock.now - before;
    }
  }

  // A kept vsync blocks to the next refresh boundary; otherwise the present returns at once.
  void Refresh() {
    if (vsync != Vsync::Kept) return;
    const double refreshing = hz > 0 ? hz : 60;  // a display of unknown rate refreshes all the same
    const auto milliHz = static_cast<std::uint64_t>(std::llround(refreshing * 1000));
    const std::uint64_t next = clock.now * milliHz / (kPerSecond * 1000) + 1;
    clock.now = next * kPerSecond * 1000 / milliHz;
  }

  // Over the frames from..to; the first frame, which has no rhythm yet to wait for, is left out.
  double PicturesPerSecond(std::size_t from = 1, std::size_t to = SIZE_MAX) const {
    to = std::min(to, starts.size() - 1);
    return static_cast<double>(to - from) * kPerSecond /
           static_cast<double>(starts[to] - starts[from]);
  }

  // How many times each whole-millisecond frame time occurs.
  std::map<std::uint64_t, int> TickSteps(std::size_t from = 1) const {
    std::map<std::uint64_t, int> steps;
    for (std::size_t i = from + 1; i < starts.size(); ++i) {
      ++steps[starts[i] / kPerMs - starts[i - 1] / kPerMs];
    }
    return steps;
  }

  double hz;
  Vsync vsync;
  FakeClock clock;
  PicturePacer pacer{clock};
  std::vector<std::uint64_t> starts;
  int mostReads = 0;
  int mostSleeps = 0;
  std::uint64_t inPresents = 0;  // time spent in the pacer
};

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
