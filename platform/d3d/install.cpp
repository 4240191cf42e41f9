// Plugs the software devices into DirectDraw when the program starts. This is an object library
// linked into every executable that draws in 3-D, so the registration cannot be dropped by the
// linker the way an unreferenced object of a static library would be.
#include <memory>
#include <new>

#include "platform/d3d/d3d_state.h"
#include "platform/d3d/device.h"
#include "platform/d3d/direct3d.h"
#include "platform/d3d/texture.h"
#include "platform/ddraw/surface_access.h"

namespace platform::d3d {
namespace {

HRESULT CreateDirect3D(IDirectDraw2* directDraw, IDirect3D2** direct3D) {
  *direct3D = new (std::nothrow) Direct3D(directDraw);
  return *direct3D ? D3D_OK : DDERR_OUTOFMEMORY;
}

std::unique_ptr<ddraw::SurfaceTexture> CreateTexture(IDirectDrawSurface3* surface) {
  return std::unique_ptr<ddraw::SurfaceTexture>(new (std::nothrow) Texture(surface));
}

void SurfaceGoing(IDirectDrawSurface* surface) {
  for (Device* device : State().liveDevices) device->TargetGoing(surface);
}

struct Installer {
  Installer() { ddraw::InstallDirect3D({&CreateDirect3D, &CreateTexture, &SurfaceGoing}); }
};
const Installer installer;

}  // namespace
}  // namespace platform::d3d
