// The texture interface of a texture surface, made by the Direct3D module (or a test's double)
// through Direct3DHooks. Internal to the platform; the game never includes this header.
#pragma once

#include "platform/api/d3d.h"

namespace platform::ddraw {

// It lives inside its surface: its AddRef and Release must be the surface's own (it forwards
// them), and the surface destroys it when the surface goes. Its destructor must not call back
// into the surface.
class SurfaceTexture : public IDirect3DTexture2 {
 public:
  ~SurfaceTexture() override = default;
};

}  // namespace platform::ddraw
