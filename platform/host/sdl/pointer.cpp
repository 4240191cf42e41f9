#include "platform/host/sdl/pointer.h"

#include <SDL.h>

namespace platform::host::sdl {
namespace {

bool shown = true;  // as SDL starts
Uint32 lastMotion = 0;

}  // namespace

void HidePointer() {
  SDL_ShowCursor(SDL_DISABLE);
  shown = false;
}

void PointerMoved(bool fullScreen) {
  if (fullScreen) return;
  lastMotion = SDL_GetTicks();
  if (!shown) SDL_ShowCursor(SDL_ENABLE);
  shown = true;
}

void HideRestingPointer() {
  if (shown && SDL_GetTicks() - lastMotion >= kPointerRestMs) HidePointer();
}

}  // namespace platform::host::sdl
