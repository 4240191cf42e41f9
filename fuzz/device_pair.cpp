#include "fuzz/device_pair.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/api/d3d.h"
#include "platform/testing.h"

namespace device_fuzz {
namespace {

const HWND kWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x3d00));
constexpr int kWidth = 640;
constexpr int kHeight = 480;

[[noreturn]] void Abandon(const char* what) {
  std::fprintf(stderr, "device fuzz set-up failed: %s\n", what);
  std::abort();
}

void Require(HRESULT result, const char* what) {
  if (result != DD_OK) Abandon(what);
}

DDSURFACEDESC EmptyDescription() {
  DDSURFACEDESC description;
  std::memset(&description, 0, sizeof description);
  description.dwSize = DDSURFACEDESC_SIZE;
  return description;
}

struct Screens {
  IDirectDraw2* directDraw = nullptr;
  IDirectDrawSurface* primary = nullptr;
  IDirectDrawSurface* backBuffer = nullptr;  // the optimised device's target
  IDirectDrawSurface* offscreen = nullptr;   // the reference device's target
  IDirect3D2* direct3D = nullptr;
  std::vector<DDPIXELFORMAT> textureFormats;  // as the devices enumerate them
};

HRESULT CollectFormat(LPDDSURFACEDESC description, LPVOID formats) {
  static_cast<std::vector<DDPIXELFORMAT>*>(formats)->push_back(description->ddpfPixelFormat);
  return D3DENUMRET_OK;
}

// As the game takes the display: DirectDraw 2 held exclusively, 640 × 480 × 16, a flip chain
// with one back buffer.
void TakeDisplay(Screens& s) {
  IDirectDraw* first = nullptr;
  Require(DirectDrawCreate(nullptr, &first, nullptr), "DirectDrawCreate");
  Require(first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<LPVOID*>(&s.directDraw)),
          "QueryInterface(IDirectDraw2)");
  first->Release();
  Require(s.directDraw->SetCooperativeLevel(kWindow, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
          "SetCooperativeLevel");
  Require(s.directDraw->SetDisplayMode(kWidth, kHeight, 16, 0, 0), "SetDisplayMode");
  DDSURFACEDESC chain = EmptyDescription();
  chain.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  chain.dwBackBufferCount = 1;
  chain.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
  Require(s.directDraw->CreateSurface(&chain, &s.primary, nullptr), "the flip chain");
  DDSCAPS backBufferCaps{DDSCAPS_BACKBUFFER};
  Require(s.primary->GetAttachedSurface(&backBufferCaps, &s.backBuffer), "the back buffer");
}

void MakeOffscreenTarget(Screens& s) {
  DDSURFACEDESC description = EmptyDescription();
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  description.dwWidth = kWidth;
  description.dwHeight = kHeight;
  description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_SYSTEMMEMORY;
  description.ddpfPixelFormat =
      DDPIXELFORMAT{DDPIXELFORMAT_SIZE, DDPF_RGB, 0, 16, 0xF800, 0x07E0, 0x001F, 0};
  Require(s.directDraw->CreateSurface(&description, &s.offscreen, nullptr), "the 3-D target");
}

Screens& TheScreens() {
  static Screens screens = [] {
    Screens s;
    TakeDisplay(s);
    MakeOffscreenTarget(s);
    platform::testing::InstallDirect3D();  // no program main ran to plug it in
    Require(s.directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<LPVOID*>(&s.direct3D)),
            "QueryInterface(IDirect3D2)");
    IDirect3DDevice2* device = nullptr;
    Require(s.direct3D->CreateDevice(IID_IDirect3DRGBDevice, s.offscreen, &device), "CreateDevice");
    device->EnumTextureFormats(&CollectFormat, &s.textureFormats);
    device->Release();
    if (s.textureFormats.size() != 7) Abandon("the devices offer other than seven formats");
    return s;
  }();
  return screens;
}

// The input's texture as one surface both devices read, with its palette and colour key.
class InputTexture {
 public:
  explicit InputTexture(const TextureInput& input) {
    Screens& s = TheScreens();
    DDSURFACEDESC description = EmptyDescription();
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    description.dwWidth = static_cast<DWORD>(input.width);
    description.dwHeight = static_cast<DWORD>(input.height);
    description.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
    description.ddpfPixelFormat = s.textureFormats[input.format];
    Require(s.directDraw->CreateSurface(&description, &surface_, nullptr), "a texture");
    Fill(input);
    if (input.format == 0) {
      Require(
          s.directDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256,
                                      const_cast<PALETTEENTRY*>(input.palette), &palette_, nullptr),
          "CreatePalette");
      Require(surface_->SetPalette(palette_), "SetPalette");
    }
    if (input.colourKey) {
      DDCOLORKEY key{*input.colourKey, *input.colourKey};
      Require(surface_->SetColorKey(DDCKEY_SRCBLT, &key), "SetColorKey");
    }
    Require(surface_->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<LPVOID*>(&texture_)),
            "QueryInterface(IDirect3DTexture2)");
  }
  ~InputTexture() {
    texture_->Release();
    if (palette_) palette_->Release();
    surface_->Release();
  }
  InputTexture(const InputTexture&) = delete;
  InputTexture& operator=(const InputTexture&) = delete;

  D3DTEXTUREHANDLE Handle(IDirect3DDevice2* device) const {
    D3DTEXTUREHANDLE handle = 0;
    Require(texture_->GetHandle(device, &handle), "GetHandle");
    return handle;
  }

 private:
  void Fill(const TextureInput& input) {
    DDSURFACEDESC locked = EmptyDescription();
    Require(surface_->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), "locking a texture");
    const std::size_t rowBytes = input.texels.size() / static_cast<std::size_t>(input.height);
    for (int row = 0; row < input.height; ++row) {
      std::memcpy(static_cast<std::uint8_t*>(locked.lpSurface) + row * locked.lPitch,
                  input.texels.data() + rowBytes * row, rowBytes);
    }
    surface_->Unlock(nullptr);
  }

  IDirectDrawSurface* surface_ = nullptr;
  IDirectDrawPalette* palette_ = nullptr;
  IDirect3DTexture2* texture_ = nullptr;
};

void Clear(IDirectDrawSurface* target, std::uint16_t colour) {
  DDBLTFX fill;
  std::memset(&fill, 0, sizeof fill);
  fill.dwSize = DDBLTFX_SIZE;
  fill.dwFillColor = colour;
  Require(target->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill),
          "clearing a back buffer");
}

HRESULT Run(IDirect3DDevice2* device, IDirect3DViewport2* viewport, const Command& command,
            D3DTEXTUREHANDLE texture) {
  switch (command.kind) {
    case Command::Kind::RenderState: {
      const auto state = static_cast<D3DRENDERSTATETYPE>(command.state);
      const bool names = state == D3DRENDERSTATE_TEXTUREHANDLE && command.value == kTextureWord;
      return device->SetRenderState(state, names ? texture : command.value);
    }
    case Command::Kind::LightState:
      return device->SetLightState(static_cast<D3DLIGHTSTATETYPE>(command.state), command.value);
    case Command::Kind::Transform: {
      D3DMATRIX matrix = command.matrix;
      return device->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(command.state), &matrix);
    }
    case Command::Kind::Viewport: {
      D3DVIEWPORT2 values = command.viewport;
      return viewport->SetViewport2(&values);
    }
    case Command::Kind::Draw: {
      std::vector<D3DLVERTEX> vertices = command.vertices;  // the device may not keep a pointer
      return device->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(command.state), D3DVT_LVERTEX,
                                   vertices.empty() ? nullptr : vertices.data(),
                                   static_cast<DWORD>(vertices.size()), D3DDP_WAIT);
    }
  }
  return DDERR_INVALIDPARAMS;
}

// One device's run of the input: what each call answered.
std::vector<HRESULT> Play(const IID& kind, IDirectDrawSurface* target, const DeviceInput& input,
                          const InputTexture* texture) {
  Screens& s = TheScreens();
  IDirect3DDevice2* device = nullptr;
  Require(s.direct3D->CreateDevice(kind, target, &device), "CreateDevice");
  IDirect3DViewport2* viewport = nullptr;
  Require(s.direct3D->CreateViewport(&viewport, nullptr), "CreateViewport");
  Require(device->AddViewport(viewport), "AddViewport");
  Require(device->SetCurrentViewport(viewport), "SetCurrentViewport");
  D3DVIEWPORT2 values = input.viewport;
  std::vector<HRESULT> answers{viewport->SetViewport2(&values)};
  const D3DTEXTUREHANDLE handle = texture ? texture->Handle(device) : 0;
  Require(device->BeginScene(), "BeginScene");
  for (const Command& command : input.commands) {
    answers.push_back(Run(device, viewport, command, handle));
  }
  Require(device->EndScene(), "EndScene");
  viewport->Release();
  device->Release();
  return answers;
}

}  // namespace

void MakeScreens() {
  TheScreens();
}

void DrawOnBothDevices(const DeviceInput& input) {
  Screens& s = TheScreens();
  Clear(s.backBuffer, input.clearColour);
  Clear(s.offscreen, input.clearColour);
  std::optional<InputTexture> texture;
  if (input.texture) texture.emplace(*input.texture);
  const InputTexture* shared = texture ? &*texture : nullptr;
  const std::vector<HRESULT> optimised = Play(IID_IDirect3DMMXDevice, s.backBuffer, input, shared);
  const std::vector<HRESULT> reference = Play(IID_IDirect3DRGBDevice, s.offscreen, input, shared);
  for (std::size_t i = 0; i < optimised.size(); ++i) {
    if (optimised[i] != reference[i]) {
      std::fprintf(stderr, "the devices answered call %zu apart: optimised 0x%x, reference 0x%x\n",
                   i, static_cast<unsigned>(optimised[i]), static_cast<unsigned>(reference[i]));
      std::abort();
    }
  }
}

void CompareBackBuffers() {
  Screens& s = TheScreens();
  DDSURFACEDESC optimised = EmptyDescription();
  DDSURFACEDESC reference = EmptyDescription();
  Require(s.backBuffer->Lock(nullptr, &optimised, DDLOCK_WAIT, nullptr), "locking the back buffer");
  Require(s.offscreen->Lock(nullptr, &reference, DDLOCK_WAIT, nullptr), "locking the 3-D target");
  for (int y = 0; y < kHeight; ++y) {
    const auto* a = reinterpret_cast<const std::uint16_t*>(
        static_cast<const std::uint8_t*>(optimised.lpSurface) + y * optimised.lPitch);
    const auto* b = reinterpret_cast<const std::uint16_t*>(
        static_cast<const std::uint8_t*>(reference.lpSurface) + y * reference.lPitch);
    if (std::memcmp(a, b, kWidth * sizeof *a) == 0) continue;
    int x = 0;
    while (a[x] == b[x]) ++x;
    std::fprintf(stderr,
                 "the devices drew apart: first at pixel (%d, %d), optimised 0x%04x, "
                 "reference 0x%04x\n",
                 x, y, a[x], b[x]);
    std::abort();
  }
  s.offscreen->Unlock(nullptr);
  s.backBuffer->Unlock(nullptr);
}

}  // namespace device_fuzz
