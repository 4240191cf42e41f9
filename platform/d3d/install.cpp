#include "platform/d3d/install.h"

#include <memory>
#include <new>

#include "platform/d3d/d3d_state.h"
#include "platform/d3d/direct3d.h"
#include "platform/d3d/direct3d_device.h"
#include "platform/d3d/direct3d_texture.h"
#include "platform/ddraw/direct3d_hooks.h"
#include "platform/ddraw/surface_texture.h"

namespace platform::d3d {
namespace {

HRESULT CreateDirect3D(IDirectDraw2* directDraw, IDirect3D2** direct3D) {
  *direct3D = new (std::nothrow) Direct3D(directDraw);
  return *direct3D ? D3D_OK : DDERR_OUTOFMEMORY;
}

std::unique_ptr<ddraw::SurfaceTexture> CreateTexture(IDirectDrawSurface3* surface) {
  return std::unique_ptr<ddraw::SurfaceTexture>(new (std::nothrow) Direct3DTexture(surface));
}

void SurfaceGoing(IDirectDrawSurface* surface) {
  for (Device* device : State().liveDevices) device->TargetGoing(surface);
}

}  // namespace

void InstallDirect3D() {
  ddraw::InstallDirect3DHooks({&CreateDirect3D, &CreateTexture, &SurfaceGoing});
}

}  // namespace platform::d3d
