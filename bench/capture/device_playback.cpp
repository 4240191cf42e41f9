#include "bench/capture/device_playback.h"

#include <cstring>

#include "platform/testing.h"

namespace capture {
namespace {

// DirectDraw wants a window for its cooperative level; nothing is ever drawn into it.
HWND PlaybackWindow() {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x7e91a7));
}

template <typename Interface>
void ReleaseAndClear(Interface*& object) {
  if (object) object->Release();
  object = nullptr;
}

DDSURFACEDESC EmptyDescription() {
  DDSURFACEDESC description;
  std::memset(&description, 0, sizeof description);
  description.dwSize = DDSURFACEDESC_SIZE;
  return description;
}

HRESULT CollectFormat(LPDDSURFACEDESC description, LPVOID formats) {
  static_cast<std::vector<DDSURFACEDESC>*>(formats)->push_back(*description);
  return D3DENUMRET_OK;
}

bool Failed(HRESULT result, const char* step, std::string* error) {
  if (result == DD_OK) return false;
  if (error) *error = std::string(step) + " failed";
  return true;
}

}  // namespace

std::unique_ptr<DevicePlayback> DevicePlayback::Create(const Capture& capture, bool referenceDevice,
                                                       std::string* error) {
  std::unique_ptr<DevicePlayback> playback(new DevicePlayback(capture));
  if (!playback->SetUp(referenceDevice, error)) return nullptr;
  return playback;
}

DevicePlayback::~DevicePlayback() {
  ReleaseAndClear(viewport_);
  ReleaseAndClear(device_);
  ReleaseAndClear(direct3D_);
  for (IDirectDrawSurface*& surface : textureSurfaces_) ReleaseAndClear(surface);
  for (IDirectDrawPalette*& palette : palettes_) ReleaseAndClear(palette);
  ReleaseAndClear(target_);
  ReleaseAndClear(directDraw_);
}

bool DevicePlayback::SetUp(bool referenceDevice, std::string* error) {
  IDirectDraw* first = nullptr;
  if (Failed(DirectDrawCreate(nullptr, &first, nullptr), "DirectDrawCreate", error)) return false;
  HRESULT result = first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<LPVOID*>(&directDraw_));
  first->Release();
  if (Failed(result, "QueryInterface(IDirectDraw2)", error)) return false;
  result = directDraw_->SetCooperativeLevel(PlaybackWindow(), DDSCL_NORMAL);
  if (Failed(result, "SetCooperativeLevel", error) || !CreateTarget(error)) return false;
  platform::testing::InstallDirect3D();  // no program main ran to plug it in
  result = directDraw_->QueryInterface(IID_IDirect3D2, reinterpret_cast<LPVOID*>(&direct3D_));
  if (Failed(result, "QueryInterface(IDirect3D2)", error)) return false;
  const IID& kind = referenceDevice ? IID_IDirect3DRGBDevice : IID_IDirect3DMMXDevice;
  if (Failed(direct3D_->CreateDevice(kind, target_, &device_), "CreateDevice", error)) return false;
  if (Failed(direct3D_->CreateViewport(&viewport_, nullptr), "CreateViewport", error)) return false;
  device_->AddViewport(viewport_);
  device_->SetCurrentViewport(viewport_);
  device_->EnumTextureFormats(&CollectFormat, &formats_);
  for (const CapturedTexture& texture : capture_.textures) {
    if (!CreateTexture(texture, error)) return false;
  }
  return true;
}

bool DevicePlayback::CreateTarget(std::string* error) {
  DDSURFACEDESC description = EmptyDescription();
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  description.dwWidth = static_cast<DWORD>(capture_.width);
  description.dwHeight = static_cast<DWORD>(capture_.height);
  description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_SYSTEMMEMORY;
  DDPIXELFORMAT& format = description.ddpfPixelFormat;
  format.dwSize = DDPIXELFORMAT_SIZE;
  format.dwFlags = DDPF_RGB;
  format.dwRGBBitCount = 16;
  format.dwRBitMask = 0xF800;
  format.dwGBitMask = 0x07E0;
  format.dwBBitMask = 0x001F;
  return !Failed(directDraw_->CreateSurface(&description, &target_, nullptr), "the target", error);
}

bool DevicePlayback::CreateTexture(const CapturedTexture& texture, std::string* error) {
  const auto formatIndex = static_cast<std::size_t>(texture.format);
  if (formatIndex >= formats_.size()) {
    if (error) *error = "the device offers no texture format of the capture's";
    return false;
  }
  DDSURFACEDESC description = EmptyDescription();
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  description.dwWidth = static_cast<DWORD>(texture.width);
  description.dwHeight = static_cast<DWORD>(texture.height);
  description.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
  description.ddpfPixelFormat = formats_[formatIndex].ddpfPixelFormat;
  IDirectDrawSurface* surface = nullptr;
  if (Failed(directDraw_->CreateSurface(&description, &surface, nullptr), "a texture", error)) {
    return false;
  }
  textureSurfaces_.push_back(surface);

  DDSURFACEDESC locked = EmptyDescription();
  if (Failed(surface->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), "Lock", error)) return false;
  const std::size_t rowBytes = texture.texels.size() / static_cast<std::size_t>(texture.height);
  for (int row = 0; row < texture.height; ++row) {
    std::memcpy(static_cast<std::uint8_t*>(locked.lpSurface) + row * locked.lPitch,
                texture.texels.data() + rowBytes * row, rowBytes);
  }
  surface->Unlock(nullptr);

  if (!texture.palette.empty()) {
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i) {
      const std::uint32_t colour = texture.palette[i];
      entries[i] = {static_cast<BYTE>(colour >> 16), static_cast<BYTE>(colour >> 8),
                    static_cast<BYTE>(colour), 0};
    }
    IDirectDrawPalette* palette = nullptr;
    HRESULT result =
        directDraw_->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr);
    if (Failed(result, "CreatePalette", error)) return false;
    palettes_.push_back(palette);
    if (Failed(surface->SetPalette(palette), "SetPalette", error)) return false;
  }
  if (texture.hasColourKey) {
    DDCOLORKEY key{texture.colourKey, texture.colourKey};
    if (Failed(surface->SetColorKey(DDCKEY_SRCBLT, &key), "SetColorKey", error)) return false;
  }
  IDirect3DTexture2* interface = nullptr;
  HRESULT result =
      surface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<LPVOID*>(&interface));
  if (Failed(result, "QueryInterface(IDirect3DTexture2)", error)) return false;
  D3DTEXTUREHANDLE handle = 0;
  result = interface->GetHandle(device_, &handle);
  interface->Release();
  if (Failed(result, "GetHandle", error)) return false;
  handles_.push_back(handle);
  return true;
}

void DevicePlayback::DrawFrame(const Frame& frame) {
  DDBLTFX fill;
  std::memset(&fill, 0, sizeof fill);
  fill.dwSize = DDBLTFX_SIZE;
  fill.dwFillColor = frame.clearColour;
  target_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill);
  device_->BeginScene();
  for (const Command& command : frame.commands) Run(command);
  device_->EndScene();
}

void DevicePlayback::Run(const Command& command) {
  switch (command.kind) {
    case Command::Kind::RenderState: {
      const auto state = static_cast<D3DRENDERSTATETYPE>(command.a);
      const bool texture = state == D3DRENDERSTATE_TEXTUREHANDLE;
      device_->SetRenderState(state,
                              texture && command.b != 0 ? handles_[command.b - 1] : command.b);
      break;
    }
    case Command::Kind::LightState:
      device_->SetLightState(static_cast<D3DLIGHTSTATETYPE>(command.a), command.b);
      break;
    case Command::Kind::Transform: {
      D3DMATRIX matrix = capture_.matrices[command.b];
      device_->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(command.a), &matrix);
      break;
    }
    case Command::Kind::Viewport: {
      D3DVIEWPORT2 viewport = capture_.viewports[command.b];
      viewport_->SetViewport2(&viewport);
      break;
    }
    case Command::Kind::Draw:
      device_->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(command.a), D3DVT_LVERTEX,
                             const_cast<D3DLVERTEX*>(&capture_.vertices[command.b]), command.c,
                             D3DDP_WAIT);
      break;
  }
}

std::vector<std::uint16_t> DevicePlayback::Pixels() {
  std::vector<std::uint16_t> pixels(static_cast<std::size_t>(capture_.width) * capture_.height);
  DDSURFACEDESC locked = EmptyDescription();
  if (target_->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr) != DD_OK) return pixels;
  for (int row = 0; row < capture_.height; ++row) {
    std::memcpy(pixels.data() + static_cast<std::size_t>(row) * capture_.width,
                static_cast<const std::uint8_t*>(locked.lpSurface) + row * locked.lPitch,
                static_cast<std::size_t>(capture_.width) * 2);
  }
  target_->Unlock(nullptr);
  return pixels;
}

}  // namespace capture
