// A stand-in for the Direct3D module's texture interface on the real DirectDraw: its reference
// count is its surface's, and it counts the live ones, so a test can see the surface take it down.
#pragma once

#include "platform/api/d3d.h"
#include "platform/testing.h"

namespace doubles {

class ForwardingTexture : public platform::testing::SurfaceTexture {
 public:
  static constexpr D3DTEXTUREHANDLE kHandle = 0x51;  // what GetHandle gives

  explicit ForwardingTexture(IDirectDrawSurface3* surface) : surface_(surface) { ++alive; }
  ~ForwardingTexture() override { --alive; }
  HRESULT QueryInterface(REFIID iid, LPVOID* object) override {
    return surface_->QueryInterface(iid, object);
  }
  ULONG AddRef() override { return surface_->AddRef(); }
  ULONG Release() override { return surface_->Release(); }
  HRESULT GetHandle(LPDIRECT3DDEVICE2, LPD3DTEXTUREHANDLE handle) override {
    *handle = kHandle;
    return D3D_OK;
  }
  HRESULT Load(LPDIRECT3DTEXTURE2) override { return D3D_OK; }

  static inline int alive = 0;

 private:
  IDirectDrawSurface3* surface_;
};

}  // namespace doubles
