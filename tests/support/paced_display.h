// A fake display for the picture pacer (platform/host/pacing.h): a counter that moves only when
// read or slept on, a refresh that a kept vsync waits for, and the game's loop of work and
// presents on it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "platform/host/pacing.h"

namespace paced_display {

using platform::host::PacingClock;
using platform::host::PicturePacer;
using platform::host::PictureRate;

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

// The game's loop on a fake display: a frame (`frame`, if given), some work (3-5 ms unless
// set), then a present; the frame time is read as GetTickCount reads it, in whole milliseconds.
struct Display {
  Display(double hz, Vsync vsync, PictureRate rate = PictureRate::Sixty) : hz(hz), vsync(vsync) {
    pacer.Configure(hz, vsync != Vsync::None, rate);
  }

  void Play(double seconds, std::uint64_t extraWorkAtFrame = 0, std::uint64_t extraWork = 0,
            const std::function<void()>& frame = {}) {
    const std::uint64_t end = clock.now + static_cast<std::uint64_t>(seconds * kPerSecond);
    while (clock.now < end) {
      starts.push_back(clock.now);
      if (frame) frame();
      clock.now += leastWork + (starts.size() * 7919 % workSpreadUs) * 1000;
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
  std::uint64_t leastWork = 3 * kPerMs;  // each frame's work: this and up to workSpreadUs more
  std::uint64_t workSpreadUs = 2000;
  FakeClock clock;
  PicturePacer pacer{clock};
  std::vector<std::uint64_t> starts;
  int mostReads = 0;
  int mostSleeps = 0;
  std::uint64_t inPresents = 0;  // time spent in the pacer
};

}  // namespace paced_display
