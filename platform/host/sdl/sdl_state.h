// The SDL host's state: one struct, shared by its window and event code (sdl_host.cpp), its
// presenting code (present.cpp, surface_present.cpp, present_pacing.cpp) and its screen cover.
// Private to platform/host/sdl/.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <functional>

#include "platform/host/held_keys.h"
#include "platform/host/host.h"
#include "platform/host/pacing.h"
#include "platform/host/sdl/picture_fit.h"
#include "platform/host/sdl/picture_scaler.h"

namespace platform::host::sdl {

// The window-surface path's picture (surface_present.cpp): what it was last drawn for.
struct SurfacePicture {
  SDL_Surface* surface = nullptr;  // the window's surface the bars were drawn on
  int width = 0;                   // its size and format then
  int height = 0;
  Uint32 format = 0;
  int pictureWidth = 0;  // the picture's size then
  int pictureHeight = 0;
  PictureFit fit;
  Rgb565Conversion conversion;
  PictureScaler scaler;
  bool wholeWindowDue = true;  // bars to show too (new size, or the window was uncovered)
};

// SDL's performance counter, and sleeps to the nanosecond (SDL 2's own sleep is in whole
// milliseconds).
PacingClock& PacingClockOfSdl();

struct SdlState {
  bool videoStarted = false;  // SDL's video is up: from the first OpenWindow to the end
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* picture = nullptr;   // the RGB565 picture, updated at every Present
  SDL_Texture* upscaled = nullptr;  // the picture enlarged by a whole factor, or null
  int upscaledFactor = 0;           // the factor `upscaled` was made for
  bool fullScreen = true;           // full-screen desktop, or a window (Alt+Enter toggles)
  int windowedWidth = 640;          // the window's size when not full screen
  int windowedHeight = 480;
  bool rendererPromisesVsync = false;  // whether it keeps the promise is the pacer's to judge
  PicturePacer pacer{PacingClockOfSdl()};
  PictureRateMeter shownRate{PacingClockOfSdl()};  // for --verbose's pictures a second
  bool onSurface = false;       // no renderer: the host scales into the window's surface
  bool reconsiderPath = false;  // the window changed: choose the display path again
  bool displayChanged = false;  // ... on another display, whose renderer may differ
  SurfacePicture surfacePicture;
  int presentsUntilCoverCheck = 0;  // pictures until the real size of a full screen is checked
  bool coveringScreen = false;      // full screen by hand: a borderless window on the display
  HeldKeys heldKeys;                // keys reported down and not yet up
  std::deque<Event> ready;          // events translated and waiting for PollEvent
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
