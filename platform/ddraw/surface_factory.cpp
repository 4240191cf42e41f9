// DirectDrawObject::CreateSurface: what may be asked for, and the chains it builds.
#include <algorithm>
#include <new>
#include <string>

#include "platform/core/last_error.h"
#include "platform/ddraw/ddraw_state.h"
#include "platform/ddraw/direct_draw_object.h"
#include "platform/ddraw/pixel_formats.h"
#include "platform/ddraw/surface.h"
#include "platform/host/host.h"

namespace platform::ddraw {
namespace {

constexpr int kMaxSide = 4096;  // keeps a surface's memory within 64 MiB

// Caps a request may carry; the others (overlays, depth buffers, mode X ...) are not offered.
constexpr DWORD kRequestableCaps = DDSCAPS_COMPLEX | DDSCAPS_FLIP | DDSCAPS_OFFSCREENPLAIN |
                                   DDSCAPS_PRIMARYSURFACE | DDSCAPS_SYSTEMMEMORY | DDSCAPS_TEXTURE |
                                   DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY | DDSCAPS_WRITEONLY |
                                   DDSCAPS_MIPMAP | DDSCAPS_ALLOCONLOAD | DDSCAPS_LOCALVIDMEM;

int LevelsDownToOnePixel(int width, int height) {
  int levels = 1;
  while (width > 1 || height > 1) {
    width = width > 1 ? width / 2 : 1;
    height = height > 1 ? height / 2 : 1;
    ++levels;
  }
  return levels;
}

// The display surfaces' memory for the render the program's options asked for; the display's
// size is asked of the host only where it matters.
std::optional<RenderGeometry> RequestedGeometry(std::string* error) {
  const RenderRequest& request = RequestedRender();
  int displayWidth = 0, displayHeight = 0;
  if ((request.native || request.view == ViewShape::Wide) &&
      !host::DisplaySize(&displayWidth, &displayHeight)) {
    displayWidth = displayHeight = 0;  // drawn as if the display were 4:3 at the scale asked
  }
  return GeometryFor(request, displayWidth, displayHeight, error);
}

}  // namespace

HRESULT DirectDrawObject::CreateSurface(LPDDSURFACEDESC description, LPDIRECTDRAWSURFACE* surface,
                                        IUnknown* outer) {
  if (!surface) return Fail(DDERR_INVALIDPARAMS, "CreateSurface: no destination");
  *surface = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (!description || description->dwSize != DDSURFACEDESC_SIZE) {
    return Fail(DDERR_INVALIDPARAMS, "CreateSurface: DDSURFACEDESC with a wrong dwSize");
  }
  if (cooperativeFlags_ == 0) {
    return Fail(DDERR_NOCOOPERATIVELEVELSET, "CreateSurface: no cooperative level set");
  }
  const DWORD caps = (description->dwFlags & DDSD_CAPS) ? description->ddsCaps.dwCaps : 0;
  if (caps & ~kRequestableCaps) {
    return Fail(DDERR_INVALIDCAPS, "CreateSurface: capabilities the platform does not offer");
  }
  if ((caps & DDSCAPS_SYSTEMMEMORY) && (caps & DDSCAPS_VIDEOMEMORY)) {
    return Fail(DDERR_INVALIDCAPS, "CreateSurface: both system and video memory asked for");
  }
  Surface* top = nullptr;
  const HRESULT result = (caps & DDSCAPS_PRIMARYSURFACE)
                             ? CreatePrimary(*description, caps, &top)
                             : CreateOffscreen(*description, caps, &top);
  if (result == DD_OK) *surface = top;
  return result;
}

HRESULT DirectDrawObject::CreatePrimary(const DDSURFACEDESC& description, DWORD caps,
                                        Surface** top) {
  if (description.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT)) {
    return Fail(DDERR_INVALIDPARAMS, "CreateSurface: the primary surface takes the display's size");
  }
  if (caps & (DDSCAPS_SYSTEMMEMORY | DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_OFFSCREENPLAIN)) {
    return Fail(DDERR_INVALIDCAPS, "CreateSurface: a primary surface cannot be that");
  }
  if (HasPrimary()) {
    return Fail(DDERR_PRIMARYSURFACEALREADYEXISTS, "CreateSurface: the primary surface exists");
  }
  const bool flip = (caps & DDSCAPS_FLIP) != 0;
  const bool backBuffers = (description.dwFlags & DDSD_BACKBUFFERCOUNT) != 0;
  if (flip != ((caps & DDSCAPS_COMPLEX) != 0) || flip != backBuffers) {
    return Fail(DDERR_INVALIDCAPS,
                "CreateSurface: a flip chain needs DDSCAPS_FLIP, DDSCAPS_COMPLEX and a count");
  }
  if (flip && State().exclusiveOwner != this) {
    return Fail(DDERR_NOEXCLUSIVEMODE, "CreateSurface: a flip chain needs exclusive mode");
  }
  if (flip && description.dwBackBufferCount != 1) {
    return Fail(DDERR_INVALIDPARAMS, "CreateSurface: one back buffer is offered");
  }
  const DWORD shared =
      (caps & (DDSCAPS_3DDEVICE | DDSCAPS_WRITEONLY)) | DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
  std::string error;
  const std::optional<RenderGeometry> geometry = RequestedGeometry(&error);
  if (!geometry) return Fail(DDERR_INVALIDPARAMS, "CreateSurface: " + error);
  SurfaceShape front{shared | DDSCAPS_PRIMARYSURFACE | DDSCAPS_VISIBLE,
                     640,
                     480,
                     &DisplayPixelFormat(),
                     0,
                     std::nullopt};
  const bool asDesigned = geometry->width == 640 && geometry->height == 480;
  if (!asDesigned) front.physical = geometry;
  SurfaceShape back = front;
  if (flip) {
    front.caps |= DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_FRONTBUFFER;
    back.caps = shared | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_BACKBUFFER;
  }
  return CreateChain(front, back, flip ? 2 : 1, top);
}

HRESULT DirectDrawObject::CreateOffscreen(const DDSURFACEDESC& description, DWORD caps,
                                          Surface** top) {
  constexpr DWORD kSize = DDSD_WIDTH | DDSD_HEIGHT;
  if ((description.dwFlags & kSize) != kSize) {
    return Fail(DDERR_INVALIDPARAMS, "CreateSurface: width and height are needed");
  }
  const DWORD width = description.dwWidth;
  const DWORD height = description.dwHeight;
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
    return Fail(DDERR_INVALIDPARAMS, "CreateSurface: size " + std::to_string(width) + "x" +
                                         std::to_string(height) + " is out of range");
  }
  if ((caps & DDSCAPS_FLIP) || (description.dwFlags & DDSD_BACKBUFFERCOUNT)) {
    return Fail(DDERR_INVALIDCAPS, "CreateSurface: only the primary surface flips");
  }
  const DDPIXELFORMAT* format = &DisplayPixelFormat();
  if (description.dwFlags & DDSD_PIXELFORMAT) {
    format = FindOfferedFormat(description.ddpfPixelFormat);
    if (!format) {
      return Fail(DDERR_INVALIDPIXELFORMAT, "CreateSurface: a pixel format the platform lacks");
    }
  }
  const bool mipmap = (caps & DDSCAPS_MIPMAP) != 0;
  const bool complex = (caps & DDSCAPS_COMPLEX) != 0;
  const bool countGiven = (description.dwFlags & DDSD_MIPMAPCOUNT) != 0;
  if ((mipmap && !(caps & DDSCAPS_TEXTURE)) || (complex && !mipmap) || (countGiven && !mipmap)) {
    return Fail(DDERR_INVALIDCAPS, "CreateSurface: a mip-map chain is a complex texture");
  }
  const int most = LevelsDownToOnePixel(static_cast<int>(width), static_cast<int>(height));
  int levels = 1;
  if (complex) levels = countGiven ? static_cast<int>(description.dwMipMapCount) : most;
  if (levels < 1 || levels > most) {
    return Fail(DDERR_INVALIDPARAMS, "CreateSurface: mip-map count out of range");
  }
  const DWORD memory = (caps & DDSCAPS_VIDEOMEMORY) ? DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM
                                                    : DDSCAPS_SYSTEMMEMORY;
  const DWORD kept = caps & ~(DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM);
  SurfaceShape shape{kept | memory,
                     static_cast<int>(width),
                     static_cast<int>(height),
                     format,
                     mipmap ? static_cast<DWORD>(levels) : 0,
                     std::nullopt};
  SurfaceShape below = shape;
  below.caps &= ~DDSCAPS_COMPLEX;
  const HRESULT result = CreateChain(shape, below, levels, top);
  if (result == DD_OK && (description.dwFlags & DDSD_CKSRCBLT)) {
    DDCOLORKEY key = description.ddckCKSrcBlt;
    (*top)->SetColorKey(DDCKEY_SRCBLT, &key);
  }
  return result;
}

// Builds `count` surfaces: the top one from topShape, the others implicit ones from belowShape,
// each attached below the one before. Mip-map levels halve in size and count down.
HRESULT DirectDrawObject::CreateChain(const SurfaceShape& topShape, const SurfaceShape& belowShape,
                                      int count, Surface** top) {
  const std::size_t before = surfaces_.size();
  try {
    Surface* previous = nullptr;
    SurfaceShape shape = topShape;
    for (int i = 0; i < count; ++i) {
      if (i > 0) {
        const bool mip = (belowShape.caps & DDSCAPS_MIPMAP) != 0;
        const SurfaceShape& above = shape;
        SurfaceShape next = belowShape;
        next.width = mip ? std::max(1, above.width / 2) : above.width;
        next.height = mip ? std::max(1, above.height / 2) : above.height;
        next.mipMapCount = mip ? above.mipMapCount - 1 : 0;
        shape = next;
      }
      surfaces_.push_back(std::make_unique<Surface>(*this, shape, i > 0));
      Surface* made = surfaces_.back().get();
      if (previous) previous->Attach(made);
      previous = made;
    }
  } catch (const std::bad_alloc&) {
    surfaces_.resize(before);
    return Fail(DDERR_OUTOFMEMORY, "CreateSurface: out of memory");
  }
  *top = surfaces_[before].get();
  return DD_OK;
}

}  // namespace platform::ddraw
