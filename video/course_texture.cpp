#include "video/course_texture.h"
#include "video/bitmap_utilities.h"

#include "video/sized_record.h"
#include "video/surface_bitmap.h"

namespace {

constexpr DWORD kHardwareTextureCaps =
    DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY | DDSCAPS_ALLOCONLOAD;              // 0x4005000
constexpr DWORD kSystemTextureCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;  // 0x1800
constexpr DWORD kMipmapCaps = DDSCAPS_MIPMAP | DDSCAPS_COMPLEX;

// The device counts as hardware when its hardware description names a colour model.
bool IsHardwareDevice(IDirect3DDevice2* device) {
  D3DDEVICEDESC hardware = SizedRecord<D3DDEVICEDESC>(D3DDEVICEDESC_SIZE);
  D3DDEVICEDESC emulation = SizedRecord<D3DDEVICEDESC>(D3DDEVICEDESC_SIZE);
  device->GetCaps(&hardware, &emulation);  // its result is not examined
  return hardware.dcmColorModel != 0;
}

}  // namespace

Texture::Texture()
    : owner(nullptr), memorySurface(nullptr), deviceSurface(nullptr), palette(nullptr), handle(0) {}

int Texture::CreateFromBitmap(IDirectDraw2* directDraw, IDirect3DDevice2* device,
                              LPCSTR bitmapName) {
  owner = directDraw;
  HBITMAP bitmap = LoadBitmapImage(bitmapName);
  if (!bitmap) return 0;  // the texture keeps its previous surfaces
  ReleaseSurfaces();
  DWORD chosenBits = 0;
  if (!BuildFromBitmap(device, bitmap, 0, &chosenBits)) return FailCreation(bitmap);
  DeleteObject(bitmap);
  return 1;
}

// Format, surfaces, palette, picture and handle. 0 when the clean-up must follow.
int Texture::BuildFromBitmap(IDirect3DDevice2* device, HBITMAP bitmap, DWORD mipLevels,
                             DWORD* chosenBits) {
  BITMAP info;
  DDSURFACEDESC description = BitmapSurfaceDescription(bitmap, &info);
  FindTextureFormat(device, info.bmBitsPixel, &description.ddpfPixelFormat);
  description.dwFlags |= DDSD_PIXELFORMAT;
  if (mipLevels > 0) {
    description.dwFlags |= DDSD_MIPMAPCOUNT;
    description.dwMipMapCount = mipLevels;
  }
  *chosenBits = description.ddpfPixelFormat.dwRGBBitCount;
  if (!CreateSurfaces(description, device, mipLevels > 0)) return 0;
  if (description.ddpfPixelFormat.dwRGBBitCount <= 8) {
    palette = CreatePaletteFromBitmap(owner, bitmap);
    memorySurface->SetPalette(palette);
    deviceSurface->SetPalette(palette);
  }
  if (!CopyBitmap(bitmap)) return 0;
  IDirect3DTexture2* texture = nullptr;
  deviceSurface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<LPVOID*>(&texture));
  // A failed query leaves no interface to ask, and the handle stays 0.
  if (texture) {
    texture->GetHandle(device, &handle);
    texture->Release();
  }
  return 1;
}

// Hardware: a video-memory surface for the device and a system-memory one for GDI. Software:
// one system-memory surface serving as both, holding a reference for each field.
int Texture::CreateSurfaces(DDSURFACEDESC& description, IDirect3DDevice2* device, bool mipmapped) {
  const DWORD extra = mipmapped ? kMipmapCaps : 0;
  if (IsHardwareDevice(device)) {
    description.ddsCaps.dwCaps = kHardwareTextureCaps | extra;
    if (owner->CreateSurface(&description, &deviceSurface, nullptr) != DD_OK) return 0;
    description.ddsCaps.dwCaps = kSystemTextureCaps | extra;
    return owner->CreateSurface(&description, &memorySurface, nullptr) == DD_OK;
  }
  description.ddsCaps.dwCaps = kSystemTextureCaps | extra;
  if (owner->CreateSurface(&description, &deviceSurface, nullptr) != DD_OK) return 0;
  memorySurface = deviceSurface;
  memorySurface->AddRef();
  return 1;
}

int Texture::FailCreation(HBITMAP bitmap) {
  DeleteObject(bitmap);
  ReleaseSurfaces();
  return 0;
}

D3DTEXTUREHANDLE Texture::GetTextureHandle() const {
  return handle;
}

int Texture::CopyBitmap(HBITMAP bitmap) {
  if (!DrawBitmapIntoSurface(memorySurface, bitmap)) return 0;
  return LoadToDevice();
}

int Texture::LoadToDevice() {
  if (!memorySurface || !deviceSurface) return 0;
  if (memorySurface == deviceSurface) return 1;  // software device: nothing to load
  if (deviceSurface->Restore() != DD_OK) return 0;
  IDirect3DTexture2* destination = nullptr;
  IDirect3DTexture2* source = nullptr;
  deviceSurface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<LPVOID*>(&destination));
  memorySurface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<LPVOID*>(&source));
  // Without both interfaces there is nothing to load with: a failure, not a crash.
  const bool loaded = destination && source && destination->Load(source) == D3D_OK;
  if (destination) destination->Release();
  if (source) source->Release();
  return loaded ? 1 : 0;
}

void Texture::ReleaseSurfaces() {
  if (memorySurface) memorySurface->Release();
  memorySurface = nullptr;
  if (deviceSurface) deviceSurface->Release();
  deviceSurface = nullptr;
  if (palette) palette->Release();
  palette = nullptr;
  handle = 0;
}

int Texture::SetKeyColor(COLORREF colour) {
  if (!memorySurface || !deviceSurface) return 0;  // not a complete texture: nothing to key
  const DWORD key = ProbeKeyValue(memorySurface, colour);
  DDCOLORKEY colourKey{key, key};
  return deviceSurface->SetColorKey(DDCKEY_SRCBLT, &colourKey) == DD_OK ? 1 : 0;
}
