#include "platform/host/sdl/present_count.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace platform::host::sdl {
namespace {

// The file stays open for the whole run: one write per present, at its start, so that a reader
// always sees a whole number (the width never changes).
int CountFile() {
  static const int file = [] {
    const char* path = std::getenv("TIRRAVEL_PRESENT_COUNT");
    if (!path || !*path) return -1;
    return open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  }();
  return file;
}

}  // namespace

void CountPresent() {
  static unsigned long long presents = 0;
  const int file = CountFile();
  if (file < 0) return;
  ++presents;
  char text[32];
  const int length = std::snprintf(text, sizeof text, "%20llu\n", presents);
  if (pwrite(file, text, static_cast<size_t>(length), 0) != length) {
    // A benchmark's file that cannot be written changes nothing for the game.
  }
}

}  // namespace platform::host::sdl
