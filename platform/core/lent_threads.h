// The 3-D devices' drawing threads, lent to the modules below them that write large areas of
// surface memory: DirectDraw's colour fills and GDI's text at a render scale. The picture is the
// same whoever draws it; only the time changes. Internal to the platform.
#pragma once

#include <functional>

namespace platform {

// What the Direct3D module lends (with its first device): how many threads a band may run on
// now (1 when no device has more), and the running of the bands on them.
struct LentThreads {
  int (*count)() = nullptr;
  void (*run)(int bands, const std::function<void(int)>& work) = nullptr;
};

void LendThreads(const LentThreads& threads);

// The threads bands may run on now: 1 with none lent.
int ThreadsLent();

// Calls work(band) once for each band 0 … bands − 1, on the lent threads or else one after
// another on the caller, and returns when every call has. Bands must touch memory no other band
// touches.
void RunInBands(int bands, const std::function<void(int)>& work);

}  // namespace platform
