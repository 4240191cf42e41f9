#pragma once

#include "platform/api/d3d.h"

namespace platform::d3d {

// What the software devices report as their emulation capabilities: RGB colour, 16-bit render
// targets, textures of 1 to 4096 texels a side, point and bilinear filtering, the blend factors
// and clipping.
D3DDEVICEDESC SoftwareDeviceDescription();

}  // namespace platform::d3d
