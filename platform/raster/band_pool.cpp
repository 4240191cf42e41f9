#include "platform/raster/band_pool.h"

namespace platform::raster {

BandPool::BandPool(int threads) {
  workers_.reserve(static_cast<std::size_t>(threads - 1));
  for (int i = 1; i < threads; ++i) workers_.emplace_back([this] { Work(); });
}

BandPool::~BandPool() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  work_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void BandPool::Run(int bands, const std::function<void(int)>& draw) {
  std::unique_lock lock(mutex_);
  // The previous Run returned only when all its bands were drawn, so no worker holds its
  // drawing any more.
  draw_ = &draw;
  bands_ = bands;
  next_ = 0;
  done_ = 0;
  work_.notify_all();
  DrawBands(lock);
  finished_.wait(lock, [this] { return done_ == bands_; });
  draw_ = nullptr;
}

void BandPool::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    work_.wait(lock, [this] { return stop_ || next_ < bands_; });
    if (stop_) return;
    DrawBands(lock);
  }
}

void BandPool::DrawBands(std::unique_lock<std::mutex>& lock) {
  while (next_ < bands_) {
    const int band = next_++;
    const std::function<void(int)>& draw = *draw_;
    lock.unlock();
    draw(band);
    lock.lock();
    if (++done_ == bands_) finished_.notify_one();
  }
}

}  // namespace platform::raster
