#include "platform/host/sdl/surface_present.h"

#include <cstdio>
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
  state.onSurface = state.waylandBuffers.Start(state.window) || UsableSurface(state) != nullptr;
  state.rendererPromisesVsync = false;  // a surface update waits for no refresh
  RestartPacing(state);
  return state.onSurface;
}

// TIRRAVEL_DISPLAY_PATH=renderer: the renderer whatever draws for it, so that the path a GPU
// takes can be tried (and tested) on any machine.
constexpr const char* kPathSetting = "TIRRAVEL_DISPLAY_PATH";
bool RendererPathAsked() {
  const char* value = SDL_getenv(kPathSetting);
  return value && SDL_strcmp(value, "renderer") == 0;
}

}  // namespace

void CheckDisplayPathSetting() {
  const char* value = SDL_getenv(kPathSetting);
  if (!value || !*value || RendererPathAsked()) return;
  std::fprintf(stderr, "tirravel: %s=%s is not understood (it may be \"renderer\"); ignored\n",
               kPathSetting, value);
}

void ChooseWindowDisplayPath(SdlState& state) {
  SDL_RendererInfo info;
  if (!state.renderer || SDL_GetRendererInfo(state.renderer, &info) != 0) return;
  const std::string name = info.name ? info.name : "";
  const std::string glRenderer = GlRendererOf(name);
  const bool asked = RendererPathAsked();
  if (asked || ChooseDisplayPath(name, glRenderer) == DisplayPath::Renderer) {
    state.onSurface = false;
    state.waylandBuffers.Stop();
    Say("showing the picture through " + Described(name, glRenderer) +
        (asked ? std::string(", as ") + kPathSetting + " asks" : ""));
    return;
  }
  if (TurnToSurface(state)) {
    const char* target = state.waylandBuffers.Started() ? "in the host's own Wayland buffers"
                                                        : "on the window's surface";
    Say(std::string("showing the picture ") + target + ", scaled by the processor, since " +
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
  } else if (!state.waylandBuffers.Started() && !UsableSurface(state)) {
    state.onSurface = false;
    if (CreateRenderer(state)) Say("showing the picture through the renderer: no usable surface");
  }
}

namespace {

// Where the picture goes for a target of that size and layout: worked out again, and the target
// to be cleared to black, when it or the picture changed size. True when it changed.
bool PlacePicture(SurfacePicture& picture, int targetWidth, int targetHeight,
                  const PixelLayout& layout, int width, int height) {
  if (targetWidth == picture.width && targetHeight == picture.height &&
      width == picture.pictureWidth && height == picture.pictureHeight &&
      layout.bytesPerPixel == picture.layout.bytesPerPixel &&
      layout.redMask == picture.layout.redMask && layout.greenMask == picture.layout.greenMask &&
      layout.blueMask == picture.layout.blueMask && layout.alphaMask == picture.layout.alphaMask) {
    return false;
  }
  picture.pictureWidth = width;
  picture.pictureHeight = height;
  picture.width = targetWidth;
  picture.height = targetHeight;
  picture.layout = layout;
  picture.fit = FitPicture(width, height, targetWidth, targetHeight);
  picture.conversion = Rgb565Conversion(layout);
  picture.scaler.Prepare(width, height, picture.fit.width, picture.fit.height);
  picture.wholeWindowDue = true;
  return true;
}

// Scales the picture into a target whose top-left pixel is at `target`.
bool DrawPlaced(SurfacePicture& picture, const std::uint16_t* pixels, int pitchBytes,
                std::uint8_t* target, int targetPitch) {
  if (!picture.conversion.Usable() || picture.scaler.TargetWidth() == 0) return false;
  target += static_cast<std::ptrdiff_t>(picture.fit.y) * targetPitch +
            static_cast<std::ptrdiff_t>(picture.fit.x) * picture.layout.bytesPerPixel;
  picture.scaler.Draw(pixels, pitchBytes, picture.conversion, target, targetPitch);
  return true;
}

SDL_Rect PlacedRectangle(const SurfacePicture& picture) {
  return {picture.fit.x, picture.fit.y, picture.fit.width, picture.fit.height};
}

// On Wayland: into a buffer of the host's (wayland_buffers.h), XRGB8888 at the window's size in
// pixels. New buffers are black, so a new place only needs fresh buffers.
bool ShowInBuffer(SdlState& state, const std::uint16_t* pixels, int width, int height,
                  int pitchBytes) {
  SurfacePicture& picture = state.surfacePicture;
  int windowWidth = 0, windowHeight = 0;
  SDL_GetWindowSizeInPixels(state.window, &windowWidth, &windowHeight);
  if (PlacePicture(picture, windowWidth, windowHeight, PixelLayout{}, width, height)) {
    state.waylandBuffers.Clear();
  }
  const BufferPixels buffer = state.waylandBuffers.Acquire(windowWidth, windowHeight);
  if (!buffer.pixels || !DrawPlaced(picture, pixels, pitchBytes, buffer.pixels, buffer.pitch)) {
    return false;
  }
  const SDL_Rect whole{0, 0, windowWidth, windowHeight};
  const bool shown =
      state.waylandBuffers.Show(picture.wholeWindowDue ? whole : PlacedRectangle(picture));
  picture.wholeWindowDue = false;
  return shown;
}

}  // namespace

bool ShowOnSurface(SdlState& state, const std::uint16_t* pixels, int width, int height,
                   int pitchBytes) {
  if (state.waylandBuffers.Started()) {
    return ShowInBuffer(state, pixels, width, height, pitchBytes);
  }
  SDL_Surface* surface = UsableSurface(state);
  if (!surface) return false;
  SurfacePicture& picture = state.surfacePicture;
  // A new surface (the window's size changed): black bars, and the picture's place, once.
  if (PlacePicture(picture, surface->w, surface->h, LayoutOf(*surface->format), width, height) ||
      surface != picture.surface) {
    picture.surface = surface;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    picture.wholeWindowDue = true;
  }
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
  const bool drawn = DrawPlaced(picture, pixels, pitchBytes,
                                static_cast<std::uint8_t*>(surface->pixels), surface->pitch);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  if (!drawn) return false;
  // Only the picture's rectangle changes from one picture to the next.
  const SDL_Rect changed = PlacedRectangle(picture);
  const int shown = picture.wholeWindowDue
                        ? SDL_UpdateWindowSurface(state.window)
                        : SDL_UpdateWindowSurfaceRects(state.window, &changed, 1);
  picture.wholeWindowDue = false;
  return shown == 0;
}

}  // namespace platform::host::sdl
