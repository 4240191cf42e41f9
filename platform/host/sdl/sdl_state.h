// The SDL host's state: one struct, shared by its window and event code (sdl_host.cpp), its
// presenting code (present.cpp, surface_present.cpp, present_pacing.cpp), its screen cover and
// its game controllers. Each field says which of them writes it. Private to platform/host/sdl/.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "platform/host/held_keys.h"
#include "platform/host/host.h"
#include "platform/host/pacing.h"
#include "platform/host/sdl/controller_keys.h"
#include "platform/host/sdl/picture_fit.h"
#include "platform/host/sdl/picture_scaler.h"
#include "platform/host/sdl/wayland_buffers.h"

namespace platform::host::sdl {

// The window-surface path's picture (surface_present.cpp): what it was last drawn for.
struct SurfacePicture {
  SDL_Surface* surface = nullptr;  // the window's surface the bars were drawn on
  int width = 0;                   // the target's size and layout then
  int height = 0;
  PixelLayout layout;
  int pictureWidth = 0;  // the picture's size then
  int pictureHeight = 0;
  PictureFit fit;
  Rgb565Conversion conversion;
  PictureScaler scaler;
  bool wholeWindowDue = true;  // bars to show too (new size, or the window was uncovered)
};

// A game controller plugged in (game_controllers.cpp).
struct GameController {
  SDL_GameController* controller;
  SDL_JoystickID instance;
  int source;  // its source in the held keys: 1 and up, the keyboard being 0
  ControllerKeys keys;
};

// SDL's performance counter, and sleeps to the nanosecond (SDL 2's own sleep is in whole
// milliseconds).
PacingClock& PacingClockOfSdl();

struct SdlState {
  // sdl_host.cpp: SDL's video is up, from the first OpenWindow to the end.
  bool videoStarted = false;
  SDL_Window* window = nullptr;  // sdl_host.cpp
  // sdl_host.cpp makes it; surface_present.cpp gives it back for the window's surface.
  SDL_Renderer* renderer = nullptr;
  // present.cpp makes the picture textures; DropPictureTextures (sdl_host.cpp) drops them.
  SDL_Texture* picture = nullptr;   // the RGB565 picture, updated at every Present
  SDL_Texture* upscaled = nullptr;  // the picture enlarged by a whole factor, or null
  int upscaledFactor = 0;           // the factor `upscaled` was made for
  // sdl_host.cpp: full-screen desktop, or a window (Alt+Enter toggles), and the window's size
  // when not full screen.
  bool fullScreen = true;
  int windowedWidth = 640;
  int windowedHeight = 480;
  // sdl_host.cpp when it makes a renderer, surface_present.cpp when it gives it back; whether
  // the renderer keeps the promise is the pacer's to judge.
  bool rendererPromisesVsync = false;
  PicturePacer pacer{PacingClockOfSdl()};  // present_pacing.cpp
  // present.cpp: the pictures shown, for --verbose's pictures a second.
  PictureRateMeter shownRate{PacingClockOfSdl()};
  // surface_present.cpp: no renderer, the host scales into the window's surface; the window
  // changed, so the display path is chosen again (on another display, whose renderer may differ).
  bool onSurface = false;
  bool reconsiderPath = false;
  bool displayChanged = false;
  SurfacePicture surfacePicture;  // surface_present.cpp
  // surface_present.cpp: on a Wayland display, the buffers the surface path draws into instead
  // of the window's surface; stopped when the path turns to the renderer or the window closes.
  WaylandBuffers waylandBuffers;
  // screen_cover.cpp: pictures until the real size of a full screen is checked, and whether the
  // host covers the screen by hand with a borderless window on the display.
  int presentsUntilCoverCheck = 0;
  bool coveringScreen = false;
  // sdl_host.cpp and game_controllers.cpp: keys reported down and not yet up, and the events
  // translated and waiting for PollEvent (sdl_host.cpp takes them).
  HeldKeys heldKeys;
  std::deque<Event> ready;
  // game_controllers.cpp: plugged in, in order; kept when the state starts afresh for a window.
  std::vector<GameController> controllers;
};

SdlState& State();

// What the player asked of the windows to come: kept apart from SdlState, which each window
// starts afresh.
ShowRequest& RequestedShow();

// Reads the refresh of the window's display and the renderer's promise of vsync, and starts the
// pacer afresh with them: at the window's opening, whenever a renderer is made or given back for
// the window's surface, and whenever it moves to another display or changes size or mode.
void RestartPacing(SdlState& state);

// Hands the drawn picture to the display and returns when the next picture is due; `redraw`
// draws the same picture again for each further refresh it stays on the screen.
void PresentPaced(SdlState& state, const std::function<void()>& redraw);

// Gives back the picture textures (they are made again when needed).
void DropPictureTextures(SdlState& state);

// Makes the window's renderer (sdl_host.cpp); false when none can be made.
bool CreateRenderer(SdlState& state);

}  // namespace platform::host::sdl
