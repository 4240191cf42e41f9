// IDirect3DTexture2 of a texture surface: the handle render states name it by, and Load, which
// copies another texture's pixels into it. It lives inside its surface and shares its count.
#pragma once

#include <optional>

#include "platform/ddraw/surface_texture.h"
#include "platform/raster/raster.h"

namespace platform::d3d {

class Direct3DTexture final : public ddraw::SurfaceTexture {
 public:
  explicit Direct3DTexture(IDirectDrawSurface3* surface);
  ~Direct3DTexture() override;

  HRESULT QueryInterface(REFIID iid, LPVOID* object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetHandle(LPDIRECT3DDEVICE2 device, LPD3DTEXTUREHANDLE handle) override;
  HRESULT Load(LPDIRECT3DTEXTURE2 source) override;

  // The texels as the rasterizer reads them, with the surface's colour key. The palette's
  // colours are copied into *palette (which must outlive the view). Empty when the surface's
  // format is not one the rasterizer reads.
  std::optional<raster::TextureView> View(std::uint32_t (&palette)[256]) const;
  // The start of the surface's memory, which the view's texels come from (null if it has none).
  const void* Memory() const;
  // Whether the surface's memory is lent out by Lock.
  bool Locked() const;

 private:
  IDirectDrawSurface3* surface_;  // the surface this interface lives in (not counted)
  D3DTEXTUREHANDLE handle_ = 0;   // 0 until GetHandle hands one out
};

}  // namespace platform::d3d
