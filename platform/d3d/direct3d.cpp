#include "platform/d3d/direct3d.h"

#include <new>

#include "platform/core/last_error.h"
#include "platform/core/live_objects.h"
#include "platform/d3d/d3d_state.h"
#include "platform/d3d/direct3d_device.h"
#include "platform/d3d/viewport.h"
#include "platform/ddraw/surface_access.h"

namespace platform::d3d {
namespace {

// A device draws into 16-bit RGB 565 surfaces made for 3-D drawing.
bool CanRenderInto(IDirectDrawSurface* target) {
  PixelBuffer pixels{};
  if (!ddraw::GetSurfacePixels(target, &pixels)) return false;
  DDSURFACEDESC description{};
  description.dwSize = DDSURFACEDESC_SIZE;
  if (target->GetSurfaceDesc(&description) != DD_OK) return false;
  const PixelLayout& layout = pixels.layout;
  return (description.ddsCaps.dwCaps & DDSCAPS_3DDEVICE) != 0 && !layout.paletteIndexed &&
         layout.bitCount == 16 && layout.redMask == 0xF800 && layout.greenMask == 0x07E0 &&
         layout.blueMask == 0x001F;
}

}  // namespace

Direct3D::Direct3D(IDirectDraw2* directDraw) : directDraw_(directDraw) {
  directDraw_->AddRef();
  NoteObjectCreated(ObjectKind::Direct3D);
}

Direct3D::~Direct3D() {
  directDraw_->Release();
  NoteObjectDestroyed(ObjectKind::Direct3D);
}

HRESULT Direct3D::CreateDevice(REFCLSID kind, LPDIRECTDRAWSURFACE target,
                               LPDIRECT3DDEVICE2* device) {
  if (!device) return DDERR_INVALIDPARAMS;
  *device = nullptr;
  raster::RasterPath path;
  const DeviceAvailability& available = State().devices;
  if (kind == IID_IDirect3DMMXDevice && available.optimised) {
    path = raster::RasterPath::Optimised;
  } else if (kind == IID_IDirect3DRGBDevice && available.reference) {
    path = raster::RasterPath::Reference;
  } else if (kind == IID_IDirect3DMMXDevice || kind == IID_IDirect3DRGBDevice) {
    return Fail(DDERR_INVALIDPARAMS, "CreateDevice: this device kind is withheld");
  } else if (kind == IID_IDirect3DHALDevice) {
    return Fail(DDERR_INVALIDPARAMS, "CreateDevice: there is no 3-D hardware for a HAL device");
  } else {
    return Fail(DDERR_INVALIDPARAMS, "CreateDevice: unknown device kind");
  }
  if (!target || !CanRenderInto(target)) {
    return Fail(DDERR_INVALIDPARAMS,
                "CreateDevice: the target is not a 16-bit RGB 565 surface made for 3-D drawing");
  }
  *device = new (std::nothrow) Device(target, path);
  return *device ? D3D_OK : Fail(DDERR_OUTOFMEMORY, "CreateDevice: out of memory");
}

HRESULT Direct3D::CreateViewport(LPDIRECT3DVIEWPORT2* viewport, IUnknown* outer) {
  if (!viewport) return DDERR_INVALIDPARAMS;
  *viewport = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  *viewport = new (std::nothrow) Viewport();
  return *viewport ? D3D_OK : Fail(DDERR_OUTOFMEMORY, "CreateViewport: out of memory");
}

}  // namespace platform::d3d
