#include "platform/d3d/direct3d_texture.h"

#include <cstring>

#include "platform/core/live_objects.h"
#include "platform/core/pending_drawing.h"
#include "platform/d3d/d3d_state.h"
#include "platform/d3d/raster_format.h"
#include "platform/ddraw/surface_access.h"

namespace platform::d3d {

Direct3DTexture::Direct3DTexture(IDirectDrawSurface3* surface) : surface_(surface) {
  NoteObjectCreated(ObjectKind::Texture);
}

Direct3DTexture::~Direct3DTexture() {
  std::erase_if(State().handles, [this](const TextureHandleEntry& e) { return e.texture == this; });
  NoteObjectDestroyed(ObjectKind::Texture);
}

HRESULT Direct3DTexture::QueryInterface(REFIID iid, LPVOID* object) {
  return surface_->QueryInterface(iid, object);
}

ULONG Direct3DTexture::AddRef() {
  return surface_->AddRef();
}

ULONG Direct3DTexture::Release() {
  return surface_->Release();
}

HRESULT Direct3DTexture::GetHandle(LPDIRECT3DDEVICE2 device, LPD3DTEXTUREHANDLE handle) {
  if (!device || !handle) return DDERR_INVALIDPARAMS;
  if (handle_ == 0) {
    handle_ = State().nextHandle++;
    State().handles.push_back({handle_, this});
  }
  *handle = handle_;
  return D3D_OK;
}

HRESULT Direct3DTexture::Load(LPDIRECT3DTEXTURE2 source) {
  auto* from = dynamic_cast<Direct3DTexture*>(source);
  if (!from) return DDERR_INVALIDPARAMS;
  if (from == this) return D3D_OK;
  PixelBuffer to{}, in{};
  if (!ddraw::GetSurfacePixels(surface_, &to) || !ddraw::GetSurfacePixels(from->surface_, &in)) {
    return D3DERR_TEXTURE_LOAD_FAILED;
  }
  const bool sameShape =
      to.width == in.width && to.height == in.height && to.layout.bitCount == in.layout.bitCount &&
      to.layout.paletteIndexed == in.layout.paletteIndexed &&
      to.layout.redMask == in.layout.redMask && to.layout.greenMask == in.layout.greenMask &&
      to.layout.blueMask == in.layout.blueMask && to.layout.alphaMask == in.layout.alphaMask;
  if (!sameShape) return D3DERR_TEXTURE_LOAD_FAILED;
  FinishDrawingOn(to.bits);  // work kept by a device reads the texels as they were
  const std::size_t rowBytes = static_cast<std::size_t>(in.width) * in.layout.bitCount / 8;
  for (int row = 0; row < in.height; ++row) {
    std::memcpy(to.bits + static_cast<std::ptrdiff_t>(row) * to.pitch,
                in.bits + static_cast<std::ptrdiff_t>(row) * in.pitch, rowBytes);
  }
  return D3D_OK;
}

const void* Direct3DTexture::Memory() const {
  PixelBuffer pixels{};
  return ddraw::GetSurfacePixels(surface_, &pixels) ? pixels.bits : nullptr;
}

bool Direct3DTexture::Locked() const {
  return ddraw::SurfaceLocked(surface_);
}

std::optional<raster::TextureView> Direct3DTexture::View(std::uint32_t (&palette)[256]) const {
  PixelBuffer pixels{};
  if (!ddraw::GetSurfacePixels(surface_, &pixels)) return std::nullopt;
  const std::optional<raster::TextureFormat> format = RasterFormatOf(pixels.layout);
  if (!format) return std::nullopt;

  raster::TextureView view;
  view.texels = pixels.bits;
  view.width = pixels.width;
  view.height = pixels.height;
  view.pitch = pixels.pitch;
  view.format = *format;
  if (*format == raster::TextureFormat::Palette8) {
    // Without an attached palette every index reads as black.
    for (int i = 0; i < 256; ++i) {
      palette[i] = pixels.palette
                       ? (std::uint32_t{pixels.palette[i].red} << 16 |
                          std::uint32_t{pixels.palette[i].green} << 8 | pixels.palette[i].blue)
                       : 0u;
    }
    view.palette = palette;
  }
  DDCOLORKEY key{};
  if (surface_->GetColorKey(DDCKEY_SRCBLT, &key) == DD_OK) {
    view.hasColourKey = true;
    view.colourKey = key.dwColorSpaceLowValue;
  }
  return view;
}

}  // namespace platform::d3d
