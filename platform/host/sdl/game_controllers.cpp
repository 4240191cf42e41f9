#include "platform/host/sdl/game_controllers.h"

#include <vector>

namespace platform::host::sdl {
namespace {

GameController* Find(SdlState& state, SDL_JoystickID instance) {
  for (GameController& controller : state.controllers) {
    if (controller.instance == instance) return &controller;
  }
  return nullptr;
}

// The lowest source no controller has; 0 when all are taken.
int FreeSource(const SdlState& state) {
  for (int source = 1; source < HeldKeys::kSources; ++source) {
    bool taken = false;
    for (const GameController& controller : state.controllers)
      taken = taken || controller.source == source;
    if (!taken) return source;
  }
  return 0;
}

void Add(SdlState& state, int deviceIndex) {
  SDL_GameController* opened = SDL_GameControllerOpen(deviceIndex);
  if (!opened) return;
  const SDL_JoystickID instance = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(opened));
  const int source = FreeSource(state);
  // Reported twice (already plugged in when the support started), or one pad too many.
  if (Find(state, instance) || source == 0) {
    SDL_GameControllerClose(opened);
    return;
  }
  state.controllers.push_back({opened, instance, source, {}});
}

void Remove(SdlState& state, SDL_JoystickID instance) {
  auto& controllers = state.controllers;
  for (auto it = controllers.begin(); it != controllers.end(); ++it) {
    if (it->instance != instance) continue;
    for (const Event& release : state.heldKeys.ReleaseSource(it->source)) {
      state.ready.push_back(release);
    }
    SDL_GameControllerClose(it->controller);
    controllers.erase(it);
    return;
  }
}

void Report(SdlState& state, const GameController& controller,
            const std::vector<KeyChange>& changes) {
  for (const KeyChange& change : changes) {
    Event event{change.down ? Event::Type::KeyDown : Event::Type::KeyUp, change.virtualKey, false};
    if (state.heldKeys.Admit(event, controller.source)) state.ready.push_back(event);
  }
}

// The buttons that give keys; the rest give none.
struct ButtonName {
  Uint8 sdl;
  PadButton pad;
};
constexpr ButtonName kButtons[] = {
    {SDL_CONTROLLER_BUTTON_A, PadButton::South},
    {SDL_CONTROLLER_BUTTON_B, PadButton::East},
    {SDL_CONTROLLER_BUTTON_X, PadButton::West},
    {SDL_CONTROLLER_BUTTON_Y, PadButton::North},
    {SDL_CONTROLLER_BUTTON_BACK, PadButton::Back},
    {SDL_CONTROLLER_BUTTON_START, PadButton::Start},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PadButton::DpadUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadButton::DpadDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadButton::DpadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadButton::DpadRight},
};

bool ButtonFor(Uint8 sdlButton, PadButton& button) {
  for (const ButtonName& name : kButtons) {
    if (name.sdl == sdlButton) {
      button = name.pad;
      return true;
    }
  }
  return false;
}

}  // namespace

void StartGameControllers() {
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0) return;
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool TranslateControllerEvent(SdlState& state, const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      Add(state, event.cdevice.which);  // a device index
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      Remove(state, event.cdevice.which);  // an instance
      return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      GameController* controller = Find(state, event.cbutton.which);
      PadButton button;
      if (controller && ButtonFor(event.cbutton.button, button)) {
        Report(state, *controller,
               controller->keys.SetButton(button, event.cbutton.state == SDL_PRESSED));
      }
      return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
      GameController* controller = Find(state, event.caxis.which);
      const bool stick = event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX ||
                         event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY;
      if (controller && stick) {
        const PadAxis axis =
            event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX ? PadAxis::LeftX : PadAxis::LeftY;
        Report(state, *controller, controller->keys.SetAxis(axis, event.caxis.value));
      }
      return true;
    }
    default:
      return false;
  }
}

void ForgetControllerInputs(SdlState& state) {
  for (GameController& controller : state.controllers) controller.keys.Forget();
}

}  // namespace platform::host::sdl
