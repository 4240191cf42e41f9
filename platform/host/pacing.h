// The rhythm of the pictures: about 60 a second, the rhythm of the 640 × 480 mode the game was
// made for, whatever the display's refresh; or, when the player asks, one picture per refresh.
// Plain C++ on an injected clock, so that the SDL host runs it on the real counter and the tests
// on a fake one.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/host/host.h"

namespace platform::host {

// A monotonic counter and a way to sleep on it.
class PacingClock {
 public:
  virtual ~PacingClock() = default;
  virtual std::uint64_t TicksPerSecond() = 0;
  virtual std::uint64_t Now() = 0;
  // Sleeps for about that many ticks (a little longer is fine, never a busy wait).
  virtual void Sleep(std::uint64_t ticks) = 0;
};

class PicturePacer {
 public:
  explicit PicturePacer(PacingClock& clock) : clock_(&clock) {}

  // Starts afresh for a display refreshing refreshHz times a second (0 when unknown) whose
  // renderer does or does not promise to wait for the refresh at each present. At
  // PictureRate::Sixty each picture then stays for refresh ÷ 60 refreshes, rounded (one from 60
  // to 89 Hz); at PictureRate::Display for one. An unknown refresh is paced by time at 60 Hz.
  void Configure(double refreshHz, bool vsyncPromised, PictureRate rate = PictureRate::Sixty);

  // Shows one picture and returns when the next one is due. `present` hands the drawn picture
  // to the display; `presentAgain` draws and hands it once more. Where the renderer keeps its
  // promise, the picture is presented once per refresh it stays, and the display's own refresh
  // keeps the rhythm; otherwise it is presented once and the rest of its time is slept.
  void Present(const std::function<void()>& present, const std::function<void()>& presentAgain);

  // Nothing could be shown (a hidden window): waits out one picture's time.
  void Skip();

  int RefreshesPerPicture() const { return refreshesPerPicture_; }
  // The pictures a second this rhythm gives, as configured.
  double PicturesPerSecond() const { return picturesPerSecond_; }
  // Whether the renderer is still believed to wait for each refresh.
  bool TrustsVsync() const { return vsyncTrusted_; }

 private:
  void ConfigureIfNeeded();
  // Makes the call and returns how long it took; `ended` is when it returned.
  std::uint64_t TimedCall(const std::function<void()>& call, std::uint64_t& ended);
  int RefreshesSinceLastPicture(std::uint64_t now) const;
  void WaitForDeadline();
  void AdvanceDeadline();

  PacingClock* clock_;
  bool configured_ = false;
  int refreshesPerPicture_ = 1;
  double picturesPerSecond_ = 60.0;
  bool vsyncTrusted_ = false;
  int framesNotWaited_ = 0;  // pictures in a row whose presents all returned at once
  std::uint64_t refreshTicks_ = 0;
  // One picture's period is periodTicks_ + periodFraction_ / periodDivisor_ ticks, kept exactly
  // so that 59.94 Hz or a 10 MHz counter never drifts.
  std::uint64_t periodTicks_ = 0;
  std::uint64_t periodFraction_ = 0;
  std::uint64_t periodDivisor_ = 1;
  std::uint64_t deadlineFraction_ = 0;
  std::uint64_t deadline_ = 0;
  bool rhythmStarted_ = false;
  // When the previous picture's last present returned, with vsync.
  std::uint64_t lastShown_ = 0;
  bool shownBefore_ = false;
};

// Counts the pictures shown and tells, about once a second, how many a second there were.
class PictureRateMeter {
 public:
  explicit PictureRateMeter(PacingClock& clock) : clock_(&clock) {}

  // Notes one picture shown. Once a second or more has passed since the last report (or the
  // first picture), returns the pictures a second over that time and starts counting afresh.
  std::optional<double> Shown();

 private:
  PacingClock* clock_;
  bool started_ = false;
  std::uint64_t since_ = 0;  // when the counted time began
  std::uint64_t pictures_ = 0;
};

}  // namespace platform::host
