#include "render/butterfly.h"

#include "math/matrix4.h"
#include "platform/api/d3d.h"
#include "record/angles.h"
#include "record/game_globals.h"
#include "render/d3d_matrix.h"

namespace {

constexpr float kWingMin = 0.5f;  // radians
constexpr float kWingMax = 2.0f;
constexpr D3DCOLOR kWhite = 0xFFFFFFFFu;
constexpr D3DCOLOR kNoSpecular = 0xFF000000u;

// The bounds are tested before the step, so the angle may pass them by one step before turning.
void AdvanceFlap(GameGlobals& g) {
  if (g.wingAngle <= kWingMin) g.flapDirection = 0;
  if (g.wingAngle >= kWingMax) g.flapDirection = 1;
  const float step = 2.0f * g.frameSeconds * static_cast<float>(g.flapRate);
  if (g.flapDirection == 0) g.wingAngle = g.wingAngle + step;
  if (g.flapDirection == 1) g.wingAngle = g.wingAngle - step;
}

// One 3 × 3 wing in the model plane x = 0: the root along the body (z from 0 to 3), the tip at
// y 3. It maps the texture's lower half, inset by 0.01: u runs rear to front, v root to tip.
void BuildWing(D3DLVERTEX (&wing)[6]) {
  wing[0] = {0, 3, 3, 0, kWhite, kNoSpecular, 0.99f, 0.51f};
  wing[1] = {0, 3, 0, 0, kWhite, kNoSpecular, 0.01f, 0.51f};
  wing[2] = {0, 0, 3, 0, kWhite, kNoSpecular, 0.99f, 0.99f};
  wing[3] = {0, 0, 3, 0, kWhite, kNoSpecular, 0.99f, 0.99f};
  wing[4] = {0, 3, 0, 0, kWhite, kNoSpecular, 0.01f, 0.51f};
  wing[5] = {0, 0, 0, 0, kWhite, kNoSpecular, 0.01f, 0.99f};
}

// Pitch nose-up about the model's x axis, then turn to the heading about the vertical.
Matrix4 BodyRotation(const GameGlobals& g) {
  Matrix4 pitch, heading, body;
  SetRotationX(pitch, -(g.pitch * kDegreesToRadians));
  SetRotationY(heading, -((g.playerHeading - 90.0f) * kDegreesToRadians));
  MultiplyMatrix(pitch, heading, body);
  return body;
}

// A wing turned about the body axis by its flap angle (the bank added), then the body's rotation,
// then moved to the butterfly's position.
void SetWingTransform(IDirect3DDevice2* device, const GameGlobals& g, const Matrix4& body,
                      float flapAngle) {
  Matrix4 flap, flapped, translation, world;
  SetRotationZ(flap, flapAngle);
  MultiplyMatrix(flap, body, flapped);
  SetTranslation(translation, g.playerX, g.playerY, g.playerZ);
  MultiplyMatrix(flapped, translation, world);
  D3DMATRIX matrix = ToDeviceMatrix(world);
  device->SetTransform(D3DTRANSFORMSTATE_WORLD, &matrix);
}

}  // namespace

void DrawButterfly() {
  GameGlobals& g = globals;
  AdvanceFlap(g);
  const Matrix4 body = BodyRotation(g);
  D3DLVERTEX wing[6];
  BuildWing(wing);

  SetWingTransform(g.device, g, body, g.wingAngle + g.bank);
  g.device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_LVERTEX, wing, 6, D3DDP_WAIT);
  // The second wing mirrors the first through the flap angle; the bank turns both the same way.
  SetWingTransform(g.device, g, body, -g.wingAngle + g.bank);
  g.device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_LVERTEX, wing, 6, D3DDP_WAIT);
}
