// The door between DirectDraw and the platform's other modules: surface memory lent as a pixel
// buffer (to GDI and the 3-D device), and the places where the Direct3D module plugs its
// interfaces into DirectDraw's QueryInterface. Internal to the platform; the game never includes
// this header.
#pragma once

#include <memory>

#include "platform/d3d.h"
#include "platform/ddraw.h"
#include "platform/pixel_buffer.h"

namespace platform::ddraw {

// The pixels of a surface made by this module: memory (top row first), size, pitch, layout, and
// the attached palette's colours (null when none is attached). A flip moves memory between the
// front and back buffer and a palette may be changed, so ask again for every use instead of
// keeping the view. False, leaving *pixels alone, for null or a surface that is not one of ours.
bool GetSurfacePixels(IDirectDrawSurface* surface, PixelBuffer* pixels);

// The texture interface of a texture surface, made by the Direct3D module. It lives inside its
// surface: its AddRef and Release must be the surface's own (it forwards them), and the surface
// destroys it when the surface goes. Its destructor must not call back into the surface.
class SurfaceTexture : public IDirect3DTexture2 {
 public:
  ~SurfaceTexture() override = default;
};

// What the Direct3D module offers DirectDraw. Until it is installed, querying for IID_IDirect3D2
// or IID_IDirect3DTexture2 answers E_NOINTERFACE.
struct Direct3DHooks {
  // Answers QueryInterface(IID_IDirect3D2) on a DirectDraw object: a new IDirect3D2 with one
  // reference in *direct3D (which keeps the DirectDraw object alive as it sees fit).
  HRESULT (*createDirect3D)(IDirectDraw2* directDraw, IDirect3D2** direct3D) = nullptr;
  // Makes the texture interface of a DDSCAPS_TEXTURE surface on its first query; null on
  // failure (the query then answers E_NOINTERFACE).
  std::unique_ptr<SurfaceTexture> (*createTexture)(IDirectDrawSurface3* surface) = nullptr;
  // Told as a surface is destroyed (with the top of its chain, or reclaimed by its DirectDraw
  // object), whatever references a device holds on it, so no device keeps drawing into it.
  void (*surfaceGoing)(IDirectDrawSurface* surface) = nullptr;
};

// Plugs the Direct3D module in (replacing what was installed before).
void InstallDirect3D(const Direct3DHooks& hooks);

}  // namespace platform::ddraw
