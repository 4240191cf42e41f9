#include "platform/host/sdl/surface_present.h"

#include <string>

#include "platform/host/sdl/display_path.h"
#include "platform/host/sdl/report.h"

namespace platform::host::sdl {
namespace {

constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER

// What draws for the renderer: its GL_RENDERER string, read while its context is current;
// empty where it is not an OpenGL renderer or the string cannot be read.
std::string GlRendererOf(const std::string& rendererName) {
  if (!RendererUsesOpenGl(rendererName) || !SDL_GL_GetCurrentContext()) return {};
  using GetString = const unsigned char* (*)(unsigned);
  const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* text = getString ? getString(kGlRenderer) : nullptr;
  return text ? reinterpret_cast<const char*>(text) : "";
}

std::string Described(const std::string& name, const std::string& glRenderer) {
  return "the renderer \"" + name + "\"" +
         (glRenderer.empty() ? std::string() : " (GL_RENDERER \"" + glRenderer + "\")");
}

PixelLayout LayoutOf(const SDL_PixelFormat& format) {
  return {format.BytesPerPixel, format.Rmask, format.Gmask, format.Bmask, format.Amask};
}

// The window's surface, when this host can draw into it.
SDL_Surface* UsableSurface(SdlState& state) {
  SDL_Surface* surface = SDL_GetWindowSurface(state.window);
  if (!surface || !surface->format) return nullptr;
  const int bytes = surface->format->BytesPerPixel;
  return bytes == 2 || bytes == 4 ? surface : nullptr;
}

bool TurnToSurface(SdlState& state) {
  DropPictureTextures(state);
  SDL_DestroyRenderer(state.renderer);
  state.renderer = nullptr;
  // Without this SDL would show the window's surface through a renderer of its own, the very
  // one just given back.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  state.surfacePicture = SurfacePicture{};
  state.onSurface = UsableSurface(state) != nullptr;
  state.rendererPromisesVsync = false;  // a surface update waits for no refresh
  RestartPacing(state);
  return state.onSurface;
}

}  // namespace

void ChooseWindowDisplayPath(SdlState& state) {
  SDL_RendererInfo info;
  if (!state.renderer || SDL_GetRendererInfo(state.renderer, &info) != 0) return;
  const std::string name = info.name ? info.name : "";
  const std::string glRenderer = GlRendererOf(name);
  if (ChooseDisplayPath(name, glRenderer) == DisplayPath::Renderer) {
    state.onSurface = false;
    Say("showing the picture through " + Described(name, glRenderer));
    return;
  }
  if (TurnToSurface(state)) {
    Say("showing the picture on the window's surface, scaled by the processor, since " +
        Described(name, glRenderer) + " draws with it");
    return;
  }
  CreateRenderer(state);  // no surface to draw into: the renderer it is, after all
  Say("showing the picture through " + Described(name, glRenderer) +
      ", the window's surface being unusable");
}

void NoteWindowChanged(SdlState& state, bool displayChanged) {
  state.reconsiderPath = true;
  state.displayChanged = state.displayChanged || displayChanged;
}

void NoteWindowExposed(SdlState& state) {
  state.surfacePicture.wholeWindowDue = true;
}

void ReconsiderDisplayPathIfDue(SdlState& state) {
  if (!state.reconsiderPath) return;
  state.reconsiderPath = false;
  // Another display may have another GPU: ask a renderer again. Otherwise the renderer's answer
  // stands and only the surface (a new size may bring a new format) is looked at again.
  const bool askRenderer = state.displayChanged || !state.onSurface;
  state.displayChanged = false;
  if (askRenderer) {
    if (!state.renderer && !CreateRenderer(state)) return;
    state.onSurface = false;
    ChooseWindowDisplayPath(state);
  } else if (!UsableSurface(state)) {
    state.onSurface = false;
    if (CreateRenderer(state)) Say("showing the picture through the renderer: no usable surface");
  }
}

bool ShowOnSurface(SdlState& state, const std::uint16_t* pixels, int width, int height,
                   int pitchBytes) {
  SDL_Surface* surface = UsableSurface(state);
  if (!surface) return false;
  SurfacePicture& picture = state.surfacePicture;
  // A new surface (the window's size changed): black bars, and the picture's place, once.
  if (surface != picture.surface || surface->w != picture.width || surface->h != picture.height ||
      surface->format->format != picture.format || width != picture.pictureWidth ||
      height != picture.pictureHeight) {
    picture.surface = surface;
    picture.pictureWidth = width;
    picture.pictureHeight = height;
    picture.width = surface->w;
    picture.height = surface->h;
    picture.format = surface->format->format;
    picture.fit = FitPicture(width, height, surface->w, surface->h);
    picture.conversion = Rgb565Conversion(LayoutOf(*surface->format));
    picture.scaler.Prepare(width, height, picture.fit.width, picture.fit.height);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    picture.wholeWindowDue = true;
  }
  if (!picture.conversion.Usable() || picture.scaler.TargetWidth() == 0) return false;
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
  auto* target = static_cast<std::uint8_t*>(surface->pixels) +
                 static_cast<std::ptrdiff_t>(picture.fit.y) * surface->pitch +
                 static_cast<std::ptrdiff_t>(picture.fit.x) * surface->format->BytesPerPixel;
  picture.scaler.Draw(pixels, pitchBytes, picture.conversion, target, surface->pitch);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  // Only the picture's rectangle changes from one picture to the next.
  const SDL_Rect changed{picture.fit.x, picture.fit.y, picture.fit.width, picture.fit.height};
  const int shown = picture.wholeWindowDue
                        ? SDL_UpdateWindowSurface(state.window)
                        : SDL_UpdateWindowSurfaceRects(state.window, &changed, 1);
  picture.wholeWindowDue = false;
  return shown == 0;
}

}  // namespace platform::host::sdl
