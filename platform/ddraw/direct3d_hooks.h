// Where the Direct3D module plugs its interfaces into DirectDraw's QueryInterface: DirectDraw
// stands below Direct3D and cannot name it, so the module hands DirectDraw its two makers.
// Internal to the platform (platform::d3d::InstallDirect3D installs the real ones; tests reach
// this through platform/testing.h); the game never includes this header.
#pragma once

#include <memory>

#include "platform/api/ddraw.h"

class IDirect3D2;

namespace platform::ddraw {

class SurfaceTexture;  // platform/ddraw/surface_texture.h

// What the Direct3D module offers DirectDraw. Until it is installed, querying for IID_IDirect3D2
// or IID_IDirect3DTexture2 answers E_NOINTERFACE and leaves a last-error text saying so.
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

// Plugs the Direct3D module (or a test's double of it) in, replacing what was installed before;
// empty hooks take it out again.
void InstallDirect3DHooks(const Direct3DHooks& hooks);

}  // namespace platform::ddraw
