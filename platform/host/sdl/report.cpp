#include "platform/host/sdl/report.h"

#include <cstdio>

namespace platform::host::sdl {

void Say(const std::string& line) {
  if (RequestedShow().verbose) std::fprintf(stderr, "tirravel: %s\n", line.c_str());
}

void NotePictureShown(SdlState& state) {
  if (!RequestedShow().verbose) return;
  if (const auto rate = state.shownRate.Shown()) {
    char line[64];
    std::snprintf(line, sizeof line, "%.1f pictures a second", *rate);
    Say(line);
  }
}

}  // namespace platform::host::sdl
