#include "platform/core/lent_threads.h"

namespace platform {
namespace {

LentThreads lent;

}  // namespace

void LendThreads(const LentThreads& threads) {
  lent = threads;
}

int ThreadsLent() {
  return lent.count ? lent.count() : 1;
}

void RunInBands(int bands, const std::function<void(int)>& work) {
  if (lent.run && ThreadsLent() > 1) {
    lent.run(bands, work);
    return;
  }
  for (int band = 0; band < bands; ++band) work(band);
}

}  // namespace platform
