#include "platform/d3d/device_caps.h"

#include <cstring>

namespace platform::d3d {
namespace {

D3DPRIMCAPS PrimitiveCaps() {
  D3DPRIMCAPS caps;
  std::memset(&caps, 0, sizeof caps);
  caps.dwSize = D3DPRIMCAPS_SIZE;
  const DWORD blends = D3DPBLENDCAPS_ZERO | D3DPBLENDCAPS_ONE | D3DPBLENDCAPS_SRCCOLOR |
                       D3DPBLENDCAPS_INVSRCCOLOR | D3DPBLENDCAPS_SRCALPHA |
                       D3DPBLENDCAPS_INVSRCALPHA;
  caps.dwSrcBlendCaps = blends;
  caps.dwDestBlendCaps = blends;
  caps.dwTextureFilterCaps = D3DPTFILTERCAPS_NEAREST | D3DPTFILTERCAPS_LINEAR |
                             D3DPTFILTERCAPS_MIPNEAREST | D3DPTFILTERCAPS_MIPLINEAR;
  return caps;
}

}  // namespace

D3DDEVICEDESC SoftwareDeviceDescription() {
  D3DDEVICEDESC description;
  std::memset(&description, 0, sizeof description);
  description.dwSize = D3DDEVICEDESC_SIZE;
  description.dwFlags = D3DDD_COLORMODEL | D3DDD_BCLIPPING | D3DDD_LINECAPS | D3DDD_TRICAPS |
                        D3DDD_DEVICERENDERBITDEPTH;
  description.dcmColorModel = D3DCOLOR_RGB;
  description.bClipping = TRUE;
  description.dpcLineCaps = PrimitiveCaps();
  description.dpcTriCaps = PrimitiveCaps();
  description.dwDeviceRenderBitDepth = DDBD_16;
  description.dwMinTextureWidth = 1;
  description.dwMinTextureHeight = 1;
  description.dwMaxTextureWidth = 4096;
  description.dwMaxTextureHeight = 4096;
  return description;
}

}  // namespace platform::d3d
