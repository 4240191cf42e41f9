#include "platform/host/sdl/screen_cover.h"

#include <SDL_syswm.h>

namespace platform::host::sdl {
namespace {

// A window manager needs a few frames to carry the request out; this many pictures (about half
// a second) after it, the window's size is what it will be.
constexpr int kPresentsBeforeCheck = 30;

// The window's size as the X server has it, read through the libX11 SDL itself loaded; false
// where the window is not an X11 one or the size cannot be read.
bool RealWindowSize(SDL_Window* window, int* width, int* height) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  static void* const library = SDL_LoadObject("libX11.so.6");
  using GetAttributes = Status (*)(Display*, Window, XWindowAttributes*);
  static const auto getAttributes = reinterpret_cast<GetAttributes>(
      library ? SDL_LoadFunction(library, "XGetWindowAttributes") : nullptr);
  XWindowAttributes attributes;
  if (!getAttributes || !getAttributes(info.info.x11.display, info.info.x11.window, &attributes)) {
    return false;
  }
  *width = attributes.width;
  *height = attributes.height;
  return true;
#else
  (void)window, (void)width, (void)height;
  return false;
#endif
}

}  // namespace

void NoteFullScreenRequested(SdlState& state) {
  state.presentsUntilCoverCheck = kPresentsBeforeCheck;
}

void CoverScreenIfFullScreenIgnored(SdlState& state) {
  if (!state.fullScreen || state.presentsUntilCoverCheck <= 0) return;
  if (--state.presentsUntilCoverCheck > 0) return;
  SDL_Rect bounds;
  int width = 0, height = 0;
  const int display = SDL_GetWindowDisplayIndex(state.window);
  if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds) != 0 ||
      !RealWindowSize(state.window, &width, &height) || (width == bounds.w && height == bounds.h)) {
    return;
  }
  SDL_SetWindowFullscreen(state.window, 0);
  SDL_SetWindowBordered(state.window, SDL_FALSE);
  SDL_SetWindowPosition(state.window, bounds.x, bounds.y);
  SDL_SetWindowSize(state.window, bounds.w, bounds.h);
  state.coveringScreen = true;
}

void StopCoveringScreen(SdlState& state) {
  if (!state.coveringScreen) return;
  SDL_SetWindowBordered(state.window, SDL_TRUE);
  state.coveringScreen = false;
}

}  // namespace platform::host::sdl
