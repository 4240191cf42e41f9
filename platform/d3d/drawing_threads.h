// How many threads the software devices draw on, chosen before a device is made (the program's
// --threads, the tools' --threads). With one, a device draws each DrawPrimitive at once on the
// caller's thread, as it always did, and starts no thread. With more, it keeps a scene's work and
// draws it in bands of rows on a pool of that many threads (the caller one of them), the same
// pixels either way.
#pragma once

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/raster/band_pool.h"

namespace platform::d3d {

// The most threads a device draws on.
inline constexpr int kMaxDrawingThreads = raster::kMaxDrawingThreads;

// 1 to kMaxDrawingThreads; 0 for the machine's cores, at most kMaxDrawingThreads. Devices made
// afterwards draw on that many.
void RequestDrawingThreads(int threads);

// The threads a device made now draws on: the request, or the machine's cores.
int DrawingThreads();

// The count a text names, as the options take it: a whole number from 1 to kMaxDrawingThreads
// in decimal digits; nothing for any other text. Inline, for the option readers that link no
// device.
inline std::optional<int> DrawingThreadsNamed(std::string_view text) {
  int threads = 0;
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, threads);
  if (text.empty() || failure != std::errc{} || stop != end || threads < 1 ||
      threads > kMaxDrawingThreads) {
    return std::nullopt;
  }
  return threads;
}

}  // namespace platform::d3d
