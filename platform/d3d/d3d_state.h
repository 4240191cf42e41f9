// The Direct3D module's one state record: the texture handles the devices have handed out.
#pragma once

#include <vector>

#include "platform/api/d3d.h"
#include "platform/d3d/device_override.h"

namespace platform::d3d {

class Device;
class DrawListener;
class Direct3DTexture;

struct TextureHandleEntry {
  D3DTEXTUREHANDLE handle;
  Direct3DTexture* texture;  // lives inside its surface; removes its entry when it goes
};

struct Direct3DState {
  std::vector<TextureHandleEntry> handles;  // in the order they were handed out
  D3DTEXTUREHANDLE nextHandle = 1;          // 0 means "no texture" to the render state
  DeviceAvailability devices;               // tests may withhold a device kind
  DrawListener* drawListener = nullptr;     // tools' observer of scenes and draws, or null
  std::vector<Device*> liveDevices;         // to be told when their target goes
};

// The module's state, made on first use.
Direct3DState& State();

// The texture a handle names, or null for 0 and for handles not handed out (or gone).
Direct3DTexture* TextureForHandle(D3DTEXTUREHANDLE handle);

}  // namespace platform::d3d
