// Showing the picture: RGB565 of any size (640×480, or the display's own at a render scale)
// scaled to the screen with its shape kept and black bars around it; a picture of the screen's
// size is copied as it is. Where the GPU is real, crisp (a whole-factor nearest-neighbour
// enlargement on the GPU) and then smoothly fitted; where the renderer would draw with the
// processor, scaled nearest neighbour by the host itself into the window's surface
// (surface_present.cpp). About 60 pictures a second whatever the display's refresh: the pacer
// (present_pacing.cpp) holds each for whole refreshes, by vsync where the renderer keeps it, by the
// clock on the surface path.
#include <SDL.h>

#include "platform/host/sdl/picture_fit.h"
#include "platform/host/sdl/report.h"
#include "platform/host/sdl/screen_cover.h"
#include "platform/host/sdl/sdl_state.h"
#include "platform/host/sdl/surface_present.h"

namespace platform::host::sdl {
namespace {

bool MakePicture(SdlState& state, int width, int height) {
  if (state.picture) {
    int textureWidth = 0, textureHeight = 0;
    SDL_QueryTexture(state.picture, nullptr, nullptr, &textureWidth, &textureHeight);
    if (textureWidth == width && textureHeight == height) return true;
    DropPictureTextures(state);
  }
  state.picture = SDL_CreateTexture(state.renderer, SDL_PIXELFORMAT_RGB565,
                                    SDL_TEXTUREACCESS_STREAMING, width, height);
  return state.picture != nullptr;
}

// The picture enlarged by a whole factor, drawn nearest-neighbour into a target texture; null
// when the renderer has no target textures (the smooth fit then works from the picture).
SDL_Texture* Upscaled(SdlState& state, int width, int height, int factor) {
  if (state.upscaled && state.upscaledFactor != factor) {
    SDL_DestroyTexture(state.upscaled);
    state.upscaled = nullptr;
  }
  if (!state.upscaled) {
    state.upscaled = SDL_CreateTexture(state.renderer, SDL_PIXELFORMAT_ARGB8888,
                                       SDL_TEXTUREACCESS_TARGET, width * factor, height * factor);
    state.upscaledFactor = factor;
    if (!state.upscaled) return nullptr;
    SDL_SetTextureScaleMode(state.upscaled, SDL_ScaleModeLinear);
  }
  if (SDL_SetRenderTarget(state.renderer, state.upscaled) != 0) return nullptr;
  SDL_SetTextureScaleMode(state.picture, SDL_ScaleModeNearest);
  SDL_RenderCopy(state.renderer, state.picture, nullptr, nullptr);
  SDL_SetRenderTarget(state.renderer, nullptr);
  return state.upscaled;
}

void DrawPicture(SdlState& state, int width, int height) {
  int outputWidth = 0, outputHeight = 0;
  SDL_GetRendererOutputSize(state.renderer, &outputWidth, &outputHeight);
  const PictureFit fit = FitPicture(width, height, outputWidth, outputHeight);
  SDL_Texture* source =
      fit.wholeFactor > 1 ? Upscaled(state, width, height, fit.wholeFactor) : nullptr;
  if (!source) {
    source = state.picture;
    const bool exact = fit.width == width && fit.height == height;
    SDL_SetTextureScaleMode(source, exact ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  }
  SDL_SetRenderDrawColor(state.renderer, 0, 0, 0, 255);
  SDL_RenderClear(state.renderer);
  const SDL_Rect destination{fit.x, fit.y, fit.width, fit.height};
  SDL_RenderCopy(state.renderer, source, nullptr, &destination);
}

}  // namespace
}  // namespace platform::host::sdl

namespace platform::host {

void Present(const std::uint16_t* pixels, int width, int height, int pitchBytes) {
  sdl::SdlState& state = sdl::State();
  if (!state.window || !pixels || width <= 0 || height <= 0 || pitchBytes < 2 * width) return;
  const Uint32 flags = SDL_GetWindowFlags(state.window);
  if ((flags & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) != 0) {
    state.pacer.Skip();  // nothing to show: don't spin
    return;
  }
  sdl::CoverScreenIfFullScreenIgnored(state);
  sdl::ReconsiderDisplayPathIfDue(state);
  if (state.onSurface) {  // no vsync there: the pacer holds each picture by the clock
    state.pacer.Present(
        [&] {
          if (sdl::ShowOnSurface(state, pixels, width, height, pitchBytes)) {
            sdl::NotePictureShown(state);
          }
        },
        [] {});
    return;
  }
  if (!state.renderer || !sdl::MakePicture(state, width, height)) return;
  SDL_UpdateTexture(state.picture, nullptr, pixels, pitchBytes);
  sdl::DrawPicture(state, width, height);
  sdl::PresentPaced(state, [&] { sdl::DrawPicture(state, width, height); });
  sdl::NotePictureShown(state);
}

}  // namespace platform::host
