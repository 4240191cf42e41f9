// The device's render and light states as Direct3D names them, with the defaults of a new device,
// and their translation into the rasterizer's context.
#pragma once

#include <array>

#include "platform/api/d3d.h"
#include "platform/raster/raster.h"

namespace platform::d3d {

struct DeviceStates {
  // Indexed by D3DRENDERSTATETYPE and D3DLIGHTSTATETYPE; index 0 is unused.
  std::array<DWORD, D3DRENDERSTATE_ANISOTROPY + 1> render;
  std::array<DWORD, D3DLIGHTSTATE_FOGDENSITY + 1> light;

  // A new device's states: see the table in the implementation.
  DeviceStates();
};

// Copies the states into the context: texture sampling, colour key, shading, specular, fog and
// blending. The texture itself, the transforms, the viewport and the target are set apart.
void ApplyStates(const DeviceStates& states, raster::RasterContext& context);

}  // namespace platform::d3d
