#include "platform/ddraw/direct_draw_object.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/core/last_error.h"
#include "platform/core/live_objects.h"
#include "platform/ddraw/ddraw_state.h"
#include "platform/ddraw/palette.h"
#include "platform/ddraw/pixel_formats.h"
#include "platform/ddraw/surface.h"
#include "platform/host/host.h"

namespace platform::ddraw {
namespace {

constexpr DWORD kDisplayWidth = 640;
constexpr DWORD kDisplayHeight = 480;
constexpr DWORD kDisplayBits = 16;

constexpr DWORD kKnownLevelFlags = DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_NOWINDOWCHANGES |
                                   DDSCL_NORMAL | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX;

// A plain 2-D display adapter: it blits, fills, keys and flips, and has no 3-D hardware.
void FillDriverCaps(DDCAPS& caps) {
  caps.dwCaps = DDCAPS_BLT | DDCAPS_BLTCOLORFILL | DDCAPS_COLORKEY | DDCAPS_PALETTE;
  caps.dwCKeyCaps = DDCKEYCAPS_SRCBLT;
  caps.dwPalCaps = DDPCAPS_8BIT;
  caps.ddsCaps.dwCaps = DDSCAPS_BACKBUFFER | DDSCAPS_COMPLEX | DDSCAPS_FLIP | DDSCAPS_FRONTBUFFER |
                        DDSCAPS_OFFSCREENPLAIN | DDSCAPS_PRIMARYSURFACE | DDSCAPS_VIDEOMEMORY |
                        DDSCAPS_VISIBLE | DDSCAPS_LOCALVIDMEM;
}

// The emulation layer: what the software 3-D devices draw into and texture from.
void FillEmulationCaps(DDCAPS& caps) {
  caps.dwCaps =
      DDCAPS_BLT | DDCAPS_BLTCOLORFILL | DDCAPS_COLORKEY | DDCAPS_PALETTE | DDCAPS_CANBLTSYSMEM;
  caps.dwCKeyCaps = DDCKEYCAPS_SRCBLT;
  caps.dwPalCaps = DDPCAPS_8BIT;
  caps.ddsCaps.dwCaps = DDSCAPS_COMPLEX | DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY |
                        DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE | DDSCAPS_MIPMAP;
}

HRESULT FillCaps(LPDDCAPS caps, void (*fill)(DDCAPS&)) {
  if (!caps) return DD_OK;
  std::memset(caps, 0, sizeof *caps);
  caps->dwSize = DDCAPS_SIZE;
  fill(*caps);
  return DD_OK;
}

}  // namespace

DirectDrawObject::DirectDrawObject() {
  NoteObjectCreated(ObjectKind::DirectDraw);
}

DirectDrawObject::~DirectDrawObject() {
  // Reclaim: palettes are destroyed below whatever their counts, so surfaces must not release
  // them first.
  for (auto& surface : surfaces_) surface->Detach(false);
  surfaces_.clear();
  palettes_.clear();
  if (State().exclusiveOwner == this) State().exclusiveOwner = nullptr;
  NoteObjectDestroyed(ObjectKind::DirectDraw);
}

HRESULT DirectDrawObject::QueryInterface(REFIID iid, LPVOID* object) {
  if (!object) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDirectDraw) {
    *object = static_cast<IDirectDraw*>(this);
  } else if (iid == IID_IDirectDraw2) {
    *object = static_cast<IDirectDraw2*>(this);
  } else if (iid == IID_IDirect3D2) {
    auto create = State().direct3D.createDirect3D;
    if (!create) return Fail(E_NOINTERFACE, kDirect3DNotInstalled);
    IDirect3D2* direct3D = nullptr;
    const HRESULT result = create(static_cast<IDirectDraw2*>(this), &direct3D);
    if (result == DD_OK) *object = direct3D;
    return result;
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return DD_OK;
}

HRESULT DirectDrawObject::CreatePalette(DWORD flags, LPPALETTEENTRY entries,
                                        LPDIRECTDRAWPALETTE* palette, IUnknown* outer) {
  if (!palette) return Fail(DDERR_INVALIDPARAMS, "CreatePalette: no destination");
  *palette = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (cooperativeFlags_ == 0) {
    return Fail(DDERR_NOCOOPERATIVELEVELSET, "CreatePalette: no cooperative level set");
  }
  constexpr DWORD kAllowed =
      DDPCAPS_8BIT | DDPCAPS_ALLOW256 | DDPCAPS_INITIALIZE | DDPCAPS_PRIMARYSURFACE;
  if (!(flags & DDPCAPS_8BIT) || (flags & ~kAllowed)) {
    return Fail(DDERR_INVALIDPARAMS, "CreatePalette: only 256-entry palettes are offered");
  }
  if (!entries) return Fail(DDERR_INVALIDPARAMS, "CreatePalette: no colour table");
  try {
    palettes_.push_back(std::make_unique<Palette>(*this, flags, entries));
  } catch (const std::bad_alloc&) {
    return Fail(DDERR_OUTOFMEMORY, "CreatePalette: out of memory");
  }
  *palette = palettes_.back().get();
  return DD_OK;
}

HRESULT DirectDrawObject::GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) {
  if (!driverCaps && !emulationCaps) return DDERR_INVALIDPARAMS;
  if ((driverCaps && driverCaps->dwSize != DDCAPS_SIZE) ||
      (emulationCaps && emulationCaps->dwSize != DDCAPS_SIZE)) {
    return Fail(DDERR_INVALIDPARAMS, "GetCaps: DDCAPS with a wrong dwSize");
  }
  FillCaps(driverCaps, FillDriverCaps);
  FillCaps(emulationCaps, FillEmulationCaps);
  return DD_OK;
}

HRESULT DirectDrawObject::GetDisplayMode(LPDDSURFACEDESC description) {
  if (!description || description->dwSize != DDSURFACEDESC_SIZE) return DDERR_INVALIDPARAMS;
  std::memset(description, 0, sizeof *description);
  description->dwSize = DDSURFACEDESC_SIZE;
  description->dwFlags = DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
  description->dwWidth = kDisplayWidth;
  description->dwHeight = kDisplayHeight;
  description->lPitch = kDisplayWidth * kDisplayBits / 8;
  description->ddpfPixelFormat = DisplayPixelFormat();
  return DD_OK;
}

// The game's 640 × 480 mode refreshes 60 times a second, and so many pictures come; when the
// player asks for a picture at each refresh of the display, its refresh.
HRESULT DirectDrawObject::GetMonitorFrequency(LPDWORD frequency) {
  if (!frequency) return DDERR_INVALIDPARAMS;
  *frequency = static_cast<DWORD>(platform::host::PicturesPerSecond());
  return DD_OK;
}

HRESULT DirectDrawObject::SetCooperativeLevel(HWND window, DWORD flags) {
  const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
  const bool fullScreen = (flags & DDSCL_FULLSCREEN) != 0;
  const bool normal = (flags & DDSCL_NORMAL) != 0;
  if ((flags & ~kKnownLevelFlags) || exclusive != fullScreen || normal == exclusive) {
    return Fail(DDERR_INVALIDPARAMS,
                "SetCooperativeLevel: DDSCL_NORMAL or DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN");
  }
  DirectDrawObject*& owner = State().exclusiveOwner;
  if (exclusive) {
    if (!window) return Fail(DDERR_INVALIDPARAMS, "SetCooperativeLevel: exclusive needs a window");
    if (owner && owner != this) {
      return Fail(DDERR_EXCLUSIVEMODEALREADYSET,
                  "SetCooperativeLevel: another DirectDraw object holds the screen");
    }
    owner = this;
  } else if (owner == this) {
    owner = nullptr;
  }
  cooperativeFlags_ = flags;
  return DD_OK;
}

HRESULT DirectDrawObject::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) {
  return SetDisplayMode(width, height, bitsPerPixel, 0, 0);
}

HRESULT DirectDrawObject::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel,
                                         DWORD refreshRate, DWORD flags) {
  if (State().exclusiveOwner != this) {
    return Fail(DDERR_NOEXCLUSIVEMODE, "SetDisplayMode: the screen is not held exclusively");
  }
  // The host shows a 640×480 RGB565 picture scaled to the desktop; no other mode exists.
  if (width != kDisplayWidth || height != kDisplayHeight || bitsPerPixel != kDisplayBits ||
      (refreshRate != 0 && refreshRate != 60) || flags != 0) {
    return Fail(DDERR_INVALIDMODE, "SetDisplayMode: only 640x480 at 16 bits per pixel is offered");
  }
  return DD_OK;
}

void DirectDrawObject::DestroySurface(Surface* top) {
  std::vector<Surface*> chain;
  for (Surface* surface = top; surface; surface = surface->Attached()) {
    if (surface != top && !surface->Implicit()) break;
    chain.push_back(surface);
  }
  for (Surface* surface : chain) {
    surface->Detach(true);
    std::erase_if(surfaces_, [surface](const auto& owned) { return owned.get() == surface; });
  }
}

void DirectDrawObject::DestroyPalette(Palette* palette) {
  std::erase_if(palettes_, [palette](const auto& owned) { return owned.get() == palette; });
}

bool DirectDrawObject::HasPrimary() const {
  return std::any_of(surfaces_.begin(), surfaces_.end(), [](const auto& surface) {
    return (surface->Caps() & DDSCAPS_PRIMARYSURFACE) != 0;
  });
}

}  // namespace platform::ddraw
