// Taking the display at start and giving every graphics object back at the end.
#include "video/display.h"

#include "platform/api/d3d.h"
#include "record/game_globals.h"
#include "record/name_field.h"
#include "video/course_texture.h"
#include "video/sized_record.h"

namespace {

constexpr DWORD kExclusiveFullScreen = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN;  // 17
constexpr DWORD kFlipChainCaps =
    DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;  // 0x2218

template <typename Interface>
void ReleaseField(Interface*& field) {
  if (field) field->Release();
  field = nullptr;
}

}  // namespace

BOOL DriverEnumCallback(GUID* guid, LPSTR description, LPSTR, LPVOID context) {
  auto& chosen = *static_cast<IDirectDraw**>(context);
  IDirectDraw* directDraw = nullptr;
  if (DirectDrawCreate(guid, &directDraw, nullptr) != DD_OK || !directDraw) {
    chosen = nullptr;
    return DDENUMRET_OK;
  }
  DDCAPS driverCaps = SizedRecord<DDCAPS>(DDCAPS_SIZE);
  DDCAPS emulationCaps = SizedRecord<DDCAPS>(DDCAPS_SIZE);
  const HRESULT result = directDraw->GetCaps(&driverCaps, &emulationCaps);
  // Only the hardware record counts: a driver has to draw and texture in 3-D itself.
  if (result == DD_OK && (driverCaps.dwCaps & DDCAPS_3D) &&
      (driverCaps.ddsCaps.dwCaps & DDSCAPS_TEXTURE)) {
    chosen = directDraw;
    CopyName(globals.driverName, description);
    return DDENUMRET_CANCEL;
  }
  chosen = nullptr;
  directDraw->Release();
  return DDENUMRET_OK;
}

int InitDirectDraw() {
  IDirectDraw* directDraw = nullptr;
  HRESULT result = DirectDrawEnumerateA(DriverEnumCallback, &directDraw);
  if (!directDraw) {
    CopyName(globals.driverName, "Active Driver");
    result = DirectDrawCreate(nullptr, &directDraw, nullptr);
  }
  if (result != DD_OK || !directDraw) {
    ReleaseField(directDraw);  // an accepted driver's object is not left behind
    return 0;
  }
  if (directDraw->SetCooperativeLevel(globals.mainWindow, kExclusiveFullScreen) != DD_OK) {
    directDraw->Release();
    return 0;
  }
  const HRESULT queried =
      directDraw->QueryInterface(IID_IDirectDraw2, reinterpret_cast<LPVOID*>(&globals.directDraw));
  directDraw->Release();
  if (queried != DD_OK) {
    globals.directDraw = nullptr;
    return 0;
  }
  if (globals.directDraw->SetDisplayMode(640, 480, 16, 0, 0) != DD_OK) {
    ReleaseField(globals.directDraw);
    return 0;
  }
  DDSURFACEDESC description = SizedRecord<DDSURFACEDESC>(DDSURFACEDESC_SIZE);
  description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  description.dwBackBufferCount = 1;
  description.ddsCaps.dwCaps = kFlipChainCaps;
  IDirectDrawSurface* front = nullptr;
  if (globals.directDraw->CreateSurface(&description, &front, nullptr) != DD_OK || !front) {
    ReleaseField(globals.directDraw);
    return 0;
  }
  const HRESULT frontQueried = front->QueryInterface(
      IID_IDirectDrawSurface3, reinterpret_cast<LPVOID*>(&globals.primarySurface));
  front->Release();
  if (frontQueried != DD_OK) {
    globals.primarySurface = nullptr;
    ReleaseField(globals.directDraw);
    return 0;
  }
  DDSCAPS backBufferCaps{DDSCAPS_BACKBUFFER};
  if (globals.primarySurface->GetAttachedSurface(&backBufferCaps, &globals.backBuffer) != DD_OK) {
    globals.backBuffer = nullptr;
    ReleaseField(globals.primarySurface);
    ReleaseField(globals.directDraw);
    return 0;
  }
  return 1;
}

int ReleaseAll() {
  // The texture object first; its surfaces and palette go with the DirectDraw object at the end.
  delete globals.texture;
  globals.texture = nullptr;
  // The Direct3D objects: viewport, device, Direct3D.
  ReleaseField(globals.viewport);
  ReleaseField(globals.device);
  ReleaseField(globals.direct3D);
  // The back buffer belongs to the primary surface's flip chain: only forgotten here.
  globals.backBuffer = nullptr;
  // The flip chain, then the DirectDraw object, which takes the display mode along.
  ReleaseField(globals.primarySurface);
  ReleaseField(globals.directDraw);
  return 1;
}
