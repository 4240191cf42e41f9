// The SDL host's window, keyboard and clock. The window opens full screen on the desktop as it
// is (no mode change), or as a window when the player asks; Alt+Enter switches between that and a
// window, and never reaches the game. Keys go by scancode; game controllers give keys too; losing
// the focus releases every key reported down.
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/sdl/game_controllers.h"
#include "platform/host/sdl/keymap.h"
#include "platform/host/sdl/pointer.h"
#include "platform/host/sdl/screen_cover.h"
#include "platform/host/sdl/sdl_state.h"
#include "platform/host/sdl/surface_present.h"

namespace platform::host::sdl {
namespace {

// The host's clock starts with the program.
const std::chrono::steady_clock::time_point kClockStart = std::chrono::steady_clock::now();

// The largest whole multiple of the picture that fits within nine tenths of the desktop, for
// the windowed mode.
void ChooseWindowedSize(SdlState& state, int width, int height) {
  SDL_Rect usable;
  int factor = 1;
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
    while (width * (factor + 1) * 10 <= usable.w * 9 &&
           height * (factor + 1) * 10 <= usable.h * 9) {
      ++factor;
    }
  }
  state.windowedWidth = width * factor;
  state.windowedHeight = height * factor;
}

}  // namespace

bool CreateRenderer(SdlState& state) {
  const Uint32 wanted = SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE;
  state.renderer = SDL_CreateRenderer(state.window, -1, SDL_RENDERER_ACCELERATED | wanted);
  if (!state.renderer) state.renderer = SDL_CreateRenderer(state.window, -1, wanted);
  if (!state.renderer) state.renderer = SDL_CreateRenderer(state.window, -1, 0);
  if (!state.renderer) return false;
  SDL_RendererInfo info;
  state.rendererPromisesVsync = SDL_GetRendererInfo(state.renderer, &info) == 0 &&
                                (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  RestartPacing(state);
  return true;
}

namespace {

void ToggleFullScreen(SdlState& state) {
  state.fullScreen = !state.fullScreen;
  if (state.fullScreen) {
    NoteFullScreenRequested(state);
  } else {
    StopCoveringScreen(state);
  }
  SDL_SetWindowFullscreen(state.window, state.fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  HidePointer();  // in a window it shows again when moved
  if (!state.fullScreen) {
    SDL_SetWindowSize(state.window, state.windowedWidth, state.windowedHeight);
    SDL_SetWindowPosition(state.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  NoteWindowChanged(state, false);
}

// With no real display, SDL falls back to drivers that show nothing; the game would then run
// unseen until killed. Only a user who names such a driver (SDL_VIDEODRIVER) gets it.
bool FellBackToInvisibleDisplay() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver) return true;
  const std::string name = driver;
  return (name == "offscreen" || name == "dummy") && SDL_getenv("SDL_VIDEODRIVER") == nullptr;
}

bool IsEnter(SDL_Scancode scancode) {
  return scancode == SDL_SCANCODE_RETURN || scancode == SDL_SCANCODE_KP_ENTER;
}

void Admit(SdlState& state, Event event) {
  if (state.heldKeys.Admit(event)) state.ready.push_back(event);
}

void TranslateKey(SdlState& state, const SDL_KeyboardEvent& key) {
  const bool down = key.type == SDL_KEYDOWN;
  // Alt+Enter belongs to the host. Its Enter is never reported down, so its release is dropped
  // too; an Enter already held when Alt joins goes on repeating and is released normally.
  if (down && IsEnter(key.keysym.scancode) && (key.keysym.mod & KMOD_ALT) != 0) {
    if (!key.repeat) ToggleFullScreen(state);
    return;
  }
  const int virtualKey = VirtualKeyForScancode(key.keysym.scancode);
  if (virtualKey == 0) return;
  Admit(state, {down ? Event::Type::KeyDown : Event::Type::KeyUp, virtualKey, key.repeat != 0});
}

void TranslateWindowEvent(SdlState& state, const SDL_WindowEvent& window) {
  switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      state.ready.push_back({Event::Type::Close, 0, false});
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      for (const Event& release : state.heldKeys.ReleaseAll()) state.ready.push_back(release);
      ForgetControllerInputs(state);
      break;
    case SDL_WINDOWEVENT_DISPLAY_CHANGED:
      RestartPacing(state);
      NoteWindowChanged(state, true);
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:  // full-screen toggles too: vsync may hold or not anew
      RestartPacing(state);
      NoteWindowChanged(state, false);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      NoteWindowExposed(state);
      break;
    default:
      break;
  }
}

// Starts the state afresh for the next window, keeping what outlives one: SDL's video, up from
// the first window on, and the game controllers plugged in (SDL tells of each only once).
void StartAfresh(SdlState& state) {
  std::vector<GameController> controllers = std::move(state.controllers);
  state = SdlState{};
  state.videoStarted = true;
  state.controllers = std::move(controllers);
}

void Translate(SdlState& state, const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      TranslateKey(state, event.key);
      break;
    case SDL_WINDOWEVENT:
      TranslateWindowEvent(state, event.window);
      break;
    case SDL_QUIT:  // an interrupt or termination signal: close the window as the user would
      state.ready.push_back({Event::Type::Close, 0, false});
      break;
    case SDL_RENDER_DEVICE_RESET:
      DropPictureTextures(state);
      break;
    case SDL_MOUSEMOTION:
      PointerMoved(state.fullScreen);
      break;
    default:
      TranslateControllerEvent(state, event);
      break;
  }
}

}  // namespace

SdlState& State() {
  static SdlState state;
  return state;
}

ShowRequest& RequestedShow() {
  static ShowRequest request;
  return request;
}

void DropPictureTextures(SdlState& state) {
  if (state.upscaled) SDL_DestroyTexture(state.upscaled);
  if (state.picture) SDL_DestroyTexture(state.picture);
  state.upscaled = nullptr;
  state.picture = nullptr;
  state.upscaledFactor = 0;
}

}  // namespace platform::host::sdl

namespace platform::host {

using sdl::SdlState;
using sdl::State;

void RequestShow(const ShowRequest& request) {
  sdl::RequestedShow() = request;
}

bool OpenWindow(const char* title, int width, int height, std::string* error) {
  SdlState& state = State();
  if (state.window) {
    if (error) *error = "the window is open already";
    return false;
  }
  // SDL's video stays up from the first window to the end of the program, so that the system
  // libraries it loads stay loaded (and what they keep stays reachable) for the whole run.
  if (!state.videoStarted) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      if (error) *error = std::string("no display could be opened (") + SDL_GetError() + ")";
      return false;
    }
    if (sdl::FellBackToInvisibleDisplay()) {
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      if (error) *error = "no display could be opened (no X11, Wayland or console display found)";
      return false;
    }
    sdl::CheckDisplayPathSetting();
  }
  sdl::StartAfresh(state);
  state.fullScreen = !sdl::RequestedShow().inWindow;
  sdl::ChooseWindowedSize(state, width, height);
  const Uint32 fullScreen = state.fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
  state.window = SDL_CreateWindow(title ? title : "", SDL_WINDOWPOS_CENTERED,
                                  SDL_WINDOWPOS_CENTERED, state.windowedWidth, state.windowedHeight,
                                  SDL_WINDOW_HIDDEN | fullScreen | SDL_WINDOW_RESIZABLE);
  const bool shown = state.window && sdl::CreateRenderer(state);
  if (shown) sdl::ChooseWindowDisplayPath(state);
  if (!shown || (!state.renderer && !state.onSurface)) {
    if (error)
      *error = std::string("the game's window could not be opened (") + SDL_GetError() + ")";
    CloseWindow();
    return false;
  }
  sdl::RestartPacing(state);
  if (state.fullScreen) sdl::NoteFullScreenRequested(state);
  SDL_StopTextInput();  // keys only: no input method in the way
  sdl::HidePointer();
  sdl::StartGameControllers();
  return true;
}

void CloseWindow() {
  SdlState& state = State();
  if (!state.videoStarted) return;
  sdl::DropPictureTextures(state);
  state.waylandBuffers.Stop();  // before the window whose surface they are shown on
  if (state.renderer) SDL_DestroyRenderer(state.renderer);
  if (state.window) SDL_DestroyWindow(state.window);
  sdl::StartAfresh(state);
}

bool WindowIsOpen() {
  return State().window != nullptr;
}

bool DisplaySize(int* width, int* height) {
  const SdlState& state = State();
  if (!state.videoStarted || !width || !height) return false;
  const int display = state.window ? SDL_GetWindowDisplayIndex(state.window) : 0;
  SDL_DisplayMode mode;
  if (display < 0 || SDL_GetDesktopDisplayMode(display, &mode) != 0 || mode.w <= 0 || mode.h <= 0) {
    return false;
  }
  *width = mode.w;
  *height = mode.h;
  return true;
}

void SetWindowVisible(bool visible) {
  SDL_Window* window = State().window;
  if (!window) return;
  if (visible) {
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
  } else {
    SDL_HideWindow(window);
  }
}

bool PollEvent(Event& event) {
  SdlState& state = State();
  SDL_Event sdlEvent;
  while (state.ready.empty() && state.videoStarted && SDL_PollEvent(&sdlEvent)) {
    sdl::Translate(state, sdlEvent);
  }
  if (state.window) sdl::HideRestingPointer();
  if (state.ready.empty()) return false;
  event = state.ready.front();
  state.ready.pop_front();
  return true;
}

// The real clock moves by itself.
void MessageQueueDrained() {}

std::uint32_t TickMilliseconds() {
  const auto elapsed = std::chrono::steady_clock::now() - sdl::kClockStart;
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

}  // namespace platform::host
