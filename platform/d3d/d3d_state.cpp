#include "platform/d3d/d3d_state.h"

#include "platform/d3d/draw_listener.h"

namespace platform::d3d {

Direct3DState& State() {
  static Direct3DState state;
  return state;
}

Direct3DTexture* TextureForHandle(D3DTEXTUREHANDLE handle) {
  if (handle == 0) return nullptr;
  for (const TextureHandleEntry& entry : State().handles) {
    if (entry.handle == handle) return entry.texture;
  }
  return nullptr;
}

void SetDeviceAvailability(const DeviceAvailability& availability) {
  State().devices = availability;
}

void SetDrawListener(DrawListener* listener) {
  State().drawListener = listener;
}

}  // namespace platform::d3d
