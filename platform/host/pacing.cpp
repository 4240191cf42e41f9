#include "platform/host/pacing.h"

#include <algorithm>
#include <cmath>

namespace platform::host {
namespace {

// The rhythm the game was made for: its 640 × 480 mode at the default refresh.
constexpr double kPicturesPerSecond = 60.0;
// Rates outside this range are taken for unknown.
constexpr double kLowestRefreshHz = 1.0;
constexpr double kHighestRefreshHz = 1000.0;
// A picture whose presents took together less than this share of a refresh was not held by the
// display.
constexpr std::uint64_t kWaitedShareDivisor = 4;
// This many such pictures in a row and the renderer's promise of vsync is no longer believed
// (some X servers have no display timing at all).
constexpr int kPicturesNotWaitedBeforeDistrust = 30;
// A sleep that ends early is followed by another, at most this many in all: the wait then ends,
// at worst a little early, rather than turning into a busy loop.
constexpr int kMostSleepsPerWait = 3;

}  // namespace

void PicturePacer::Configure(double refreshHz, bool vsyncPromised, PictureRate rate) {
  const bool known = refreshHz >= kLowestRefreshHz && refreshHz <= kHighestRefreshHz;
  // Millihertz keep 59.94 Hz exact.
  const std::uint64_t milliHz = known ? static_cast<std::uint64_t>(std::llround(refreshHz * 1000.0))
                                      : static_cast<std::uint64_t>(kPicturesPerSecond * 1000.0);
  const bool everyRefresh = rate == PictureRate::Display;
  refreshesPerPicture_ =
      known && !everyRefresh
          ? std::max(1, static_cast<int>(std::lround(refreshHz / kPicturesPerSecond)))
          : 1;
  picturesPerSecond_ = known ? refreshHz / refreshesPerPicture_ : kPicturesPerSecond;
  vsyncTrusted_ = known && vsyncPromised;
  framesNotWaited_ = 0;
  const std::uint64_t ticksPerSecond = std::max<std::uint64_t>(1, clock_->TicksPerSecond());
  refreshTicks_ = ticksPerSecond * 1000 / milliHz;
  const std::uint64_t pictureTicksTimesMilliHz =
      ticksPerSecond * 1000 * static_cast<std::uint64_t>(refreshesPerPicture_);
  periodTicks_ = pictureTicksTimesMilliHz / milliHz;
  periodFraction_ = pictureTicksTimesMilliHz % milliHz;
  periodDivisor_ = milliHz;
  rhythmStarted_ = false;
  shownBefore_ = false;
  configured_ = true;
}

void PicturePacer::Present(const std::function<void()>& present,
                           const std::function<void()>& presentAgain) {
  ConfigureIfNeeded();
  if (!vsyncTrusted_) {
    present();
    WaitForDeadline();
    return;
  }
  // The display holds each present to its next refresh, so presenting the picture once per
  // refresh it stays locks the rhythm to the display's own clock: every picture stays exactly
  // that many refreshes. Sleeping by the counter instead would drift against the display and
  // now and then show a picture one refresh too long or too short. A frame whose work took
  // more than a refresh has used up some of its refreshes already, and presents fewer again.
  std::uint64_t shown = 0;
  std::uint64_t waited = TimedCall(present, shown);
  for (int refresh = RefreshesSinceLastPicture(shown); refresh < refreshesPerPicture_; ++refresh) {
    waited += TimedCall(presentAgain, shown);
  }
  lastShown_ = shown;
  shownBefore_ = true;
  if (waited >= refreshTicks_ / kWaitedShareDivisor) {
    framesNotWaited_ = 0;
    rhythmStarted_ = false;  // the timed rhythm below starts afresh whenever it is needed again
    return;
  }
  // The presents returned at once: this picture is paced by time all the same, so that a
  // renderer that breaks its promise never runs the game fast, even before it is found out.
  if (++framesNotWaited_ >= kPicturesNotWaitedBeforeDistrust) vsyncTrusted_ = false;
  WaitForDeadline();
}

void PicturePacer::Skip() {
  ConfigureIfNeeded();
  WaitForDeadline();
}

void PicturePacer::ConfigureIfNeeded() {
  if (!configured_) Configure(0.0, false);
}

std::uint64_t PicturePacer::TimedCall(const std::function<void()>& call, std::uint64_t& ended) {
  const std::uint64_t started = clock_->Now();
  call();
  ended = clock_->Now();
  return ended - started;
}

int PicturePacer::RefreshesSinceLastPicture(std::uint64_t now) const {
  if (!shownBefore_ || refreshTicks_ == 0) return 1;
  const std::uint64_t refreshes = (now - lastShown_ + refreshTicks_ / 2) / refreshTicks_;
  return static_cast<int>(std::clamp<std::uint64_t>(refreshes, 1, 1000));
}

void PicturePacer::WaitForDeadline() {
  std::uint64_t now = clock_->Now();
  // Far behind (a long frame): start the rhythm afresh instead of rushing to catch up.
  if (!rhythmStarted_ || now > deadline_ + periodTicks_) {
    deadline_ = now;
    deadlineFraction_ = 0;
    rhythmStarted_ = true;
  }
  for (int sleeps = 0; now < deadline_ && sleeps < kMostSleepsPerWait; ++sleeps) {
    clock_->Sleep(deadline_ - now);
    now = clock_->Now();
  }
  AdvanceDeadline();
}

// deadline += period, with the period's fraction of a tick carried exactly.
void PicturePacer::AdvanceDeadline() {
  deadline_ += periodTicks_;
  deadlineFraction_ += periodFraction_;
  if (deadlineFraction_ >= periodDivisor_) {
    deadlineFraction_ -= periodDivisor_;
    ++deadline_;
  }
}

std::optional<double> PictureRateMeter::Shown() {
  const std::uint64_t now = clock_->Now();
  if (!started_) {
    started_ = true;
    since_ = now;
    return std::nullopt;
  }
  ++pictures_;
  const std::uint64_t ticksPerSecond = std::max<std::uint64_t>(1, clock_->TicksPerSecond());
  if (now - since_ < ticksPerSecond) return std::nullopt;
  const double rate = static_cast<double>(pictures_) * static_cast<double>(ticksPerSecond) /
                      static_cast<double>(now - since_);
  since_ = now;
  pictures_ = 0;
  return rate;
}

}  // namespace platform::host
