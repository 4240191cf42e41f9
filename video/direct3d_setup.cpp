#include <cmath>

#include "math/camera.h"
#include "platform/api/d3d.h"
#include "record/game_globals.h"
#include "record/name_field.h"
#include "video/course_texture.h"
#include "video/display.h"
#include "video/texture_file.h"

namespace {

// The whole 640 × 480 back buffer, showing x/w from -1 to 1 and y/w from -0.75 to 0.75: the
// 4:3 clip volume of the screen.
D3DVIEWPORT2 FullScreenViewport() {
  D3DVIEWPORT2 data{};
  data.dwSize = D3DVIEWPORT2_SIZE;
  data.dwX = 0;
  data.dwY = 0;
  data.dwWidth = 640;
  data.dwHeight = 480;
  data.dvClipX = -1.0f;
  data.dvClipY = 0.75f;
  data.dvClipWidth = 2.0f;
  data.dvClipHeight = data.dvClipY * 2.0f;
  data.dvMinZ = 0.0f;
  data.dvMaxZ = 1.0f;
  return data;
}

}  // namespace

int InitDirect3D() {
  GameGlobals& g = globals;
  if (g.directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<LPVOID*>(&g.direct3D)) !=
      DD_OK) {
    return 0;
  }
  // Hardware first, then the two software devices; the name always tells the last kind tried.
  HRESULT result = g.direct3D->CreateDevice(IID_IDirect3DHALDevice, g.backBuffer, &g.device);
  CopyName(g.deviceName, "D3D HAL");
  if (result != D3D_OK) {
    result = g.direct3D->CreateDevice(IID_IDirect3DMMXDevice, g.backBuffer, &g.device);
    CopyName(g.deviceName, "D3D MMX Emulation");
    if (result != D3D_OK) {
      result = g.direct3D->CreateDevice(IID_IDirect3DRGBDevice, g.backBuffer, &g.device);
      CopyName(g.deviceName, "D3D RGB Emulation");
    }
  }
  if (result != D3D_OK) return 0;

  g.direct3D->CreateViewport(&g.viewport, nullptr);
  g.device->AddViewport(g.viewport);
  g.device->SetCurrentViewport(g.viewport);
  D3DVIEWPORT2 viewportData = FullScreenViewport();
  g.viewport->SetViewport2(&viewportData);
  return 1;
}

int InitScene() {
  GameGlobals& g = globals;
  g.texture = new Texture();
  char texturePath[kFilePathRoom];
  if (FindTextureFile("Texture.bmp", texturePath) == 0) return 0;
  if (g.texture->CreateFromBitmap(g.directDraw, g.device, texturePath) == 0) return 0;
  g.texture->SetKeyColor(0);  // black is transparent
  g.textureHandle = g.texture->GetTextureHandle();

  // Computed here, installed by the scene at the end of every frame.
  SetViewMatrix(g.viewMatrix, Vector3(0.0f, 0.0f, -2.0f), Vector3(0.0f, 0.0f, 0.0f), 0.0f);
  const float fieldOfView = static_cast<float>(2.0 * std::atan(0.4));  // 43.6 degrees
  SetProjectionMatrix(g.projectionMatrix, 1.0f, 150.0f, fieldOfView);
  return 1;
}
