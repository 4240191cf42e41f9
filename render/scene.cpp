#include "render/scene.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "math/camera.h"
#include "platform/api/d3d.h"
#include "platform/api/ddraw.h"
#include "record/angles.h"
#include "record/game_globals.h"
#include "render/d3d_matrix.h"

namespace {

// The camera trails 8 units behind its anchor and 3 above it, looking at a point 2 above it.
// The eye's components are worked out in double, with the sine and cosine, and each rounded once.
constexpr double kCameraDistance = 8.0;
constexpr double kEyeHeight = 3.0;
constexpr float kTargetHeight = 2.0f;

void ClearBackBuffer(IDirectDrawSurface3* backBuffer) {
  DDBLTFX fill;
  std::memset(&fill, 0, sizeof fill);
  fill.dwSize = DDBLTFX_SIZE;  // fill colour 0: black
  backBuffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill);
}

void SetFixedStates(IDirect3DDevice2* device, const GameGlobals& g) {
  device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD);
  device->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, 1);
  device->SetRenderState(D3DRENDERSTATE_TEXTUREHANDLE, g.textureHandle);
  device->SetRenderState(D3DRENDERSTATE_TEXTUREPERSPECTIVE, 1);
  device->SetRenderState(D3DRENDERSTATE_BLENDENABLE, 1);
  device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
  device->SetRenderState(D3DRENDERSTATE_FOGENABLE, 1);
  device->SetRenderState(D3DRENDERSTATE_FOGCOLOR, g.fogColour);
  // Fog start and end travel as the bit patterns of their floats.
  device->SetLightState(D3DLIGHTSTATE_FOGMODE, D3DFOG_LINEAR);
  device->SetLightState(D3DLIGHTSTATE_FOGSTART, std::bit_cast<DWORD>(g.fogStart));
  device->SetLightState(D3DLIGHTSTATE_FOGEND, std::bit_cast<DWORD>(g.fogEnd));
}

}  // namespace

void BeginSceneFrame() {
  GameGlobals& g = globals;
  ClearBackBuffer(g.backBuffer);
  SetFixedStates(g.device, g);
  g.device->BeginScene();
}

void UpdateCamera() {
  GameGlobals& g = globals;
  // The state is read after this frame's flight step, which may already have ended the race.
  const bool flying = g.gameState == StateFlying;
  const float x = flying ? g.playerX : g.titleCamX;
  const float y = flying ? g.playerY : g.titleCamY;
  const float z = flying ? g.playerZ : g.titleCamZ;
  const float heading = flying ? g.playerHeading : g.titleCamHeading;

  // The angle is a float product; only then is it widened for the cosine and sine.
  const double angle = heading * kDegreesToRadians;
  const Vector3 target(x, y + kTargetHeight, z);
  const Vector3 eye(static_cast<float>(x - std::cos(angle) * kCameraDistance),
                    static_cast<float>(y + kEyeHeight),
                    static_cast<float>(z - std::sin(angle) * kCameraDistance));
  SetViewMatrix(g.viewMatrix, eye, target, 0.0f);
}

void FinishSceneFrame() {
  GameGlobals& g = globals;
  // Only the minification filter follows the Z key; magnification stays at the default.
  g.device->SetRenderState(D3DRENDERSTATE_TEXTUREMIN,
                           g.filterEnabled != 0 ? D3DFILTER_MIPLINEAR : D3DFILTER_MIPNEAREST);
  UpdateCamera();
  // Installed now, these transforms serve the next frame's drawing.
  D3DMATRIX view = ToDeviceMatrix(g.viewMatrix);
  D3DMATRIX projection = ToDeviceMatrix(g.projectionMatrix);
  g.device->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
  g.device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &projection);
  g.device->EndScene();
}

void PresentFrame() {
  globals.primarySurface->Flip(nullptr, DDFLIP_WAIT);
}
