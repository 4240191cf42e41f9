// The threads that draw a frame's kept work in bands of rows (draw_queue.h): the caller and
// threads − 1 workers, started with the pool and stopped when it goes. They run nothing but
// the band drawings handed to Run.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace platform::raster {

// The most threads a pool draws on.
inline constexpr int kMaxDrawingThreads = 16;

class BandPool {
 public:
  // threads: 2 to kMaxDrawingThreads, the caller of Run included.
  explicit BandPool(int threads);
  ~BandPool();
  BandPool(const BandPool&) = delete;
  BandPool& operator=(const BandPool&) = delete;

  int Threads() const { return static_cast<int>(workers_.size()) + 1; }

  // Calls draw(band) once for each band 0 … bands − 1, on the workers and the caller, in no set
  // order; returns when every call has returned.
  void Run(int bands, const std::function<void(int)>& draw);

 private:
  void Work();
  // Takes and draws bands until none are left; the lock is held between bands.
  void DrawBands(std::unique_lock<std::mutex>& lock);

  std::mutex mutex_;
  std::condition_variable work_;      // workers wait here for bands or the stop
  std::condition_variable finished_;  // Run waits here for the last band
  const std::function<void(int)>* draw_ = nullptr;
  int bands_ = 0;
  int next_ = 0;  // the next band to take
  int done_ = 0;  // bands drawn
  bool stop_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace platform::raster
