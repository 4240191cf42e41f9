// Plays captured frames back on our own Direct3D devices, through the platform's DirectDraw and
// Direct3D interfaces, as the game drives them: a colour fill of the target, then the scene.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bench/capture/capture.h"
#include "platform/api/d3d.h"
#include "platform/api/ddraw.h"

namespace capture {

class DevicePlayback {
 public:
  // A DirectDraw object, a target surface of the capture's size, its textures and a device:
  // the optimised ("MMX") one, or the reference ("RGB") one. Null, with *error set, on failure.
  static std::unique_ptr<DevicePlayback> Create(const Capture& capture, bool referenceDevice,
                                                std::string* error);
  ~DevicePlayback();
  DevicePlayback(const DevicePlayback&) = delete;
  DevicePlayback& operator=(const DevicePlayback&) = delete;

  // Draws one frame of the capture it was made for.
  void DrawFrame(const Frame& frame);
  // The target's RGB 565 pixels, packed row after row.
  std::vector<std::uint16_t> Pixels();

 private:
  explicit DevicePlayback(const Capture& capture) : capture_(capture) {}
  bool SetUp(bool referenceDevice, std::string* error);
  bool CreateTarget(std::string* error);
  bool CreateTexture(const CapturedTexture& texture, std::string* error);
  void Run(const Command& command);

  const Capture& capture_;
  IDirectDraw2* directDraw_ = nullptr;
  IDirectDrawSurface* target_ = nullptr;
  IDirect3D2* direct3D_ = nullptr;
  IDirect3DDevice2* device_ = nullptr;
  IDirect3DViewport2* viewport_ = nullptr;
  std::vector<IDirectDrawSurface*> textureSurfaces_;
  std::vector<IDirectDrawPalette*> palettes_;
  std::vector<D3DTEXTUREHANDLE> handles_;  // by texture number − 1
  std::vector<DDSURFACEDESC> formats_;     // the device's texture formats, in offer order
};

}  // namespace capture
