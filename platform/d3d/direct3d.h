// IDirect3D2 of a DirectDraw object: makes the software devices and their viewports.
#pragma once

#include "platform/api/d3d.h"
#include "platform/ddraw/counted_object.h"

namespace platform::d3d {

class Direct3D final : public ddraw::SingleInterfaceObject<IDirect3D2, IID_IDirect3D2> {
 public:
  // Holds a reference to the DirectDraw object it belongs to.
  explicit Direct3D(IDirectDraw2* directDraw);
  ~Direct3D() override;

  HRESULT CreateDevice(REFCLSID kind, LPDIRECTDRAWSURFACE target,
                       LPDIRECT3DDEVICE2* device) override;
  HRESULT CreateViewport(LPDIRECT3DVIEWPORT2* viewport, IUnknown* outer) override;

 private:
  IDirectDraw2* directDraw_;  // held
};

}  // namespace platform::d3d
