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
  // Direct3DTexture::GetHandle hands handles out, its destructor removes them
  // (direct3d_texture.cpp).
  std::vector<TextureHandleEntry> handles;  // in the order they were handed out
  D3DTEXTUREHANDLE nextHandle = 1;          // 0 means "no texture" to the render state
  DeviceAvailability devices;            // SetDeviceAvailability: tests may withhold a device kind
  DrawListener* drawListener = nullptr;  // SetDrawListener: tools' observer of scenes and draws
  std::vector<Device*> liveDevices;      // a Device's constructor and destructor, so that each is
                                         // told when its target goes
  int drawingThreads = 0;                // RequestDrawingThreads; 0 for the machine's cores
};

// The module's state, made on first use.
Direct3DState& State();

// The texture a handle names, or null for 0 and for handles not handed out (or gone).
Direct3DTexture* TextureForHandle(D3DTEXTUREHANDLE handle);

}  // namespace platform::d3d
