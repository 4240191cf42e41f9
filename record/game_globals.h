// The one global record that holds all of the game's state for the whole run.
//
// Who writes what. The rules (game/) write their own sections below (frame driver, state machine,
// flight model) and write across them where they hand over: the frame driver's first frame sets
// the state and the best time and its race reset the pose, the flight fields, the timer and the
// camera; the state machine arms the race reset and moves the pose on the title screen; the
// flight model ends the race by setting the state. The game's rand (game/random.cpp) owns the
// random state. Outside the rules: the video layer writes the names and the platform interfaces
// (one reference each) and fills both matrices at set-up (video/direct3d_setup.cpp); the scene
// rewrites viewMatrix every frame; the butterfly owns the wing flap; the shell owns the window,
// the frame time and the last tick, and its window procedure toggles filterEnabled on Z
// (app/window.cpp). The fog values are never written: the scene only reads them.
#pragma once

#include <cstdint>

#include "math/matrix4.h"
#include "platform/api/d3d.h"
#include "platform/api/ddraw.h"
#include "platform/api/win32.h"
#include "record/game_state.h"
#include "record/key_state.h"
#include "record/name_field.h"

class Texture;

struct GameGlobals {
  // ---- Frame driver ----
  std::uint8_t firstRunPending = 1;   // the first frame opens the title screen, then clears it
  std::uint8_t raceResetPending = 1;  // the next frame puts the butterfly back at the start
  KeyState upKey = KeyUp;
  KeyState leftKey = KeyUp;
  KeyState rightKey = KeyUp;
  KeyState spaceKey = KeyUp;
  KeyState shiftKey = KeyUp;

  // ---- State machine ----
  GameState gameState = GameState{0};  // set to StateTitle by the first frame
  float stateTimer = 0.0f;             // countdown clock, race time, frozen on the title screen
  std::int32_t bestTime = 0;           // whole seconds; 20000 means no record yet
  std::uint8_t resultInitPending = 1;  // the next title frame copies the pose into the camera
  float titleCamX = 0.0f;  // the camera's anchor whenever the butterfly is not being flown
  float titleCamY = 0.0f;
  float titleCamZ = 0.0f;
  float titleCamHeading = 0.0f;  // degrees
  float orbitAngle = 0.0f;       // degrees, +70 per second on the title screen
  std::int32_t orbitPhase = 0;   // 1 first orbit, 2 second orbit, 3 drifting
  std::int32_t driftClimb = 0;   // whether the title drift also rises
  // State of the C runtime's rand() as the game uses it: starts at 1 and is never reseeded.
  std::uint32_t randomState = 1;

  // ---- Flight model ----
  float playerX = 0.0f;
  float playerY = 0.0f;  // altitude, 0 to 30
  float playerZ = 0.0f;
  float playerHeading = 0.0f;  // degrees, kept within (-360, 360)
  float candidateX = 0.0f;     // the position tried by the last movement step
  float candidateZ = 0.0f;
  float speed = 0.0f;  // units per second, 0 to 50
  float pitch = 0.0f;  // degrees nose-up
  float bank = 0.0f;   // radians, -0.5 to 0.5
  std::uint8_t airborne = 0;
  float takeoffCharge = 0.0f;  // take-off at 8
  std::int32_t flapRate = 0;   // 10 while charging, 3 while climbing, 1 while descending

  // ---- Camera matrices ----
  Matrix4 viewMatrix;        // zero until the display set-up fills it
  Matrix4 projectionMatrix;  // zero until the display set-up fills it

  // ---- Scene: what it draws with ----
  std::int32_t filterEnabled = 1;  // bilinear minification; Z toggles it (app/window.cpp)
  std::uint32_t fogColour = 0xFF000000u;
  float fogStart = 10.1f;
  float fogEnd = 50.0f;

  // ---- Butterfly ----
  float wingAngle = 0.5f;          // radians, swings between 0.5 and 2.0
  std::uint8_t flapDirection = 0;  // 0 opening, 1 closing

  // ---- Display and device ----
  char driverName[kNameFieldSize] = "default";
  char deviceName[kNameFieldSize] = "";
  IDirectDraw2* directDraw = nullptr;
  IDirectDrawSurface3* primarySurface = nullptr;
  IDirectDrawSurface3* backBuffer = nullptr;  // belongs to primarySurface's flip chain
  IDirect3D2* direct3D = nullptr;
  IDirect3DDevice2* device = nullptr;
  IDirect3DViewport2* viewport = nullptr;
  Texture* texture = nullptr;  // owned; destroyed by ReleaseAll
  D3DTEXTUREHANDLE textureHandle = 0;

  // ---- Shell ----
  HWND mainWindow = nullptr;
  float frameSeconds = 0.0f;  // seconds since the previous loop iteration
  std::uint32_t lastTick = 0;
};

extern GameGlobals globals;
