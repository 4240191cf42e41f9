#include "fuzz/device_pair.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/api/d3d.h"
#include "platform/d3d/drawing_threads.h"
#include "platform/ddraw/render_geometry.h"
#include "platform/host/headless/headless_host.h"
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
  IDirectDrawSurface* backBuffer = nullptr;  // both devices' target, in turn
  float scale = 1.0f;                        // what the chain was made for
  bool wide = false;
  IDirect3D2* direct3D = nullptr;
  std::vector<DDPIXELFORMAT> textureFormats;  // as the devices enumerate them
};

HRESULT CollectFormat(LPDDSURFACEDESC description, LPVOID formats) {
  static_cast<std::vector<DDPIXELFORMAT>*>(formats)->push_back(description->ddpfPixelFormat);
  return D3DENUMRET_OK;
}

// As the game takes the display: DirectDraw 2 held exclusively, 640 × 480 × 16.
void TakeDisplay(Screens& s) {
  IDirectDraw* first = nullptr;
  Require(DirectDrawCreate(nullptr, &first, nullptr), "DirectDrawCreate");
  Require(first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<LPVOID*>(&s.directDraw)),
          "QueryInterface(IDirectDraw2)");
  first->Release();
  Require(s.directDraw->SetCooperativeLevel(kWindow, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
          "SetCooperativeLevel");
  Require(s.directDraw->SetDisplayMode(kWidth, kHeight, 16, 0, 0), "SetDisplayMode");
}

// The flip chain with one back buffer, at the scale and view asked for.
void MakeChain(Screens& s, float scale, bool wide) {
  using platform::ddraw::ViewShape;
  platform::ddraw::RequestRender({scale, false, wide ? ViewShape::Wide : ViewShape::Classic});
  s.scale = scale;
  s.wide = wide;
  DDSURFACEDESC chain = EmptyDescription();
  chain.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  chain.dwBackBufferCount = 1;
  chain.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
  Require(s.directDraw->CreateSurface(&chain, &s.primary, nullptr), "the flip chain");
  DDSCAPS backBufferCaps{DDSCAPS_BACKBUFFER};
  Require(s.primary->GetAttachedSurface(&backBufferCaps, &s.backBuffer), "the back buffer");
}

void RemakeChainIfOther(Screens& s, float scale, bool wide) {
  if (scale == s.scale && wide == s.wide) return;
  s.backBuffer->Release();
  s.primary->Release();
  MakeChain(s, scale, wide);
}

Screens& TheScreens() {
  static Screens screens = [] {
    // Both pictures of an input are kept; the wide view takes a 16:9 display's shape.
    platform::host::headless::Reset({.framesKept = 2, .displayWidth = 1920, .displayHeight = 1080});
    Screens s;
    TakeDisplay(s);
    MakeChain(s, 1.0f, false);
    platform::testing::InstallDirect3D();  // no program main ran to plug it in
    Require(s.directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<LPVOID*>(&s.direct3D)),
            "QueryInterface(IDirect3D2)");
    IDirect3DDevice2* device = nullptr;
    Require(s.direct3D->CreateDevice(IID_IDirect3DRGBDevice, s.backBuffer, &device),
            "CreateDevice");
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

// One device's run of the input on a cleared back buffer, then flipped: what each call answered.
std::vector<HRESULT> Play(const IID& kind, int threads, const DeviceInput& input,
                          const InputTexture* texture) {
  Screens& s = TheScreens();
  Clear(s.backBuffer, input.clearColour);
  IDirect3DDevice2* device = nullptr;
  platform::d3d::RequestDrawingThreads(threads);
  Require(s.direct3D->CreateDevice(kind, s.backBuffer, &device), "CreateDevice");
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
  Require(s.primary->Flip(nullptr, DDFLIP_WAIT), "Flip");
  return answers;
}

}  // namespace

void MakeScreens() {
  TheScreens();
}

void DrawOnBothDevices(const DeviceInput& input) {
  RemakeChainIfOther(TheScreens(), input.scale, input.wide);
  std::optional<InputTexture> texture;
  if (input.texture) texture.emplace(*input.texture);
  const InputTexture* shared = texture ? &*texture : nullptr;
  // One device draws on the input's threads, the other on one: a band that drew otherwise
  // than the whole picture at once would set them apart.
  const int optimisedThreads = input.threadsOnReference ? 1 : input.threads;
  const int referenceThreads = input.threadsOnReference ? input.threads : 1;
  const std::vector<HRESULT> optimised =
      Play(IID_IDirect3DMMXDevice, optimisedThreads, input, shared);
  const std::vector<HRESULT> reference =
      Play(IID_IDirect3DRGBDevice, referenceThreads, input, shared);
  for (std::size_t i = 0; i < optimised.size(); ++i) {
    if (optimised[i] != reference[i]) {
      std::fprintf(stderr, "the devices answered call %zu apart: optimised 0x%x, reference 0x%x\n",
                   i, static_cast<unsigned>(optimised[i]), static_cast<unsigned>(reference[i]));
      std::abort();
    }
  }
}

void CompareBackBuffers() {
  const auto& frames = platform::host::headless::KeptFrames();
  if (frames.size() != 2) Abandon("the host kept other than the two pictures");
  const auto& optimised = frames[0];
  const auto& reference = frames[1];
  if (optimised.width != reference.width || optimised.height != reference.height) {
    Abandon("the two pictures have different sizes");
  }
  for (std::size_t i = 0; i < optimised.pixels.size(); ++i) {
    if (optimised.pixels[i] == reference.pixels[i]) continue;
    std::fprintf(stderr,
                 "the devices drew apart at %dx%d: first at pixel (%d, %d), optimised 0x%04x, "
                 "reference 0x%04x\n",
                 optimised.width, optimised.height, static_cast<int>(i % optimised.width),
                 static_cast<int>(i / optimised.width), optimised.pixels[i], reference.pixels[i]);
    std::abort();
  }
}

}  // namespace device_fuzz
