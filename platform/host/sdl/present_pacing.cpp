// The SDL host's side of the pacing: the real clock, the display's refresh and the renderer's
// presents. The rhythm itself is PicturePacer's (platform/host/pacing.h).
#include <SDL.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include "platform/host/sdl/report.h"
#include "platform/host/sdl/sdl_state.h"

namespace platform::host::sdl {
namespace {

class SdlPacingClock final : public PacingClock {
 public:
  std::uint64_t TicksPerSecond() override { return SDL_GetPerformanceFrequency(); }
  std::uint64_t Now() override { return SDL_GetPerformanceCounter(); }
  void Sleep(std::uint64_t ticks) override {
    const std::uint64_t perSecond = SDL_GetPerformanceFrequency();
    if (perSecond == 0) return;
    const auto nanoseconds = static_cast<std::int64_t>(static_cast<double>(ticks) * 1e9 /
                                                       static_cast<double>(perSecond));
    std::this_thread::sleep_for(std::chrono::nanoseconds(nanoseconds));
  }
};

}  // namespace

PacingClock& PacingClockOfSdl() {
  static SdlPacingClock clock;
  return clock;
}

// SDL 2 reports the refresh in whole hertz (SDL_DisplayMode::refresh_rate is an int), so a
// 59.94 Hz display reads as 59 or 60; with vsync the display's own timing decides anyway.
void RestartPacing(SdlState& state) {
  SDL_DisplayMode mode;
  const int index = state.window ? SDL_GetWindowDisplayIndex(state.window) : 0;
  const bool known = SDL_GetDesktopDisplayMode(index < 0 ? 0 : index, &mode) == 0;
  state.pacer.Configure(known ? mode.refresh_rate : 0, state.rendererPromisesVsync,
                        RequestedShow().rate);
  char line[96];
  std::snprintf(line, sizeof line, "pacing for %.2f pictures a second (display: %d Hz%s)",
                state.pacer.PicturesPerSecond(), known ? mode.refresh_rate : 0,
                state.rendererPromisesVsync ? ", vsync" : "");
  Say(line);
}

void PresentPaced(SdlState& state, const std::function<void()>& redraw) {
  state.pacer.Present([&] { SDL_RenderPresent(state.renderer); },
                      [&] {
                        redraw();
                        SDL_RenderPresent(state.renderer);
                      });
}

}  // namespace platform::host::sdl

namespace platform::host {

int PicturesPerSecond() {
  if (sdl::RequestedShow().rate != PictureRate::Display) return 60;
  return static_cast<int>(std::lround(sdl::State().pacer.PicturesPerSecond()));
}

}  // namespace platform::host
