#include "platform/ddraw/surface.h"

#include <emmintrin.h>

#include <cstring>

#include "platform/core/last_error.h"
#include "platform/core/lent_threads.h"
#include "platform/core/live_objects.h"
#include "platform/core/pending_drawing.h"
#include "platform/ddraw/ddraw_state.h"
#include "platform/ddraw/direct_draw_object.h"
#include "platform/ddraw/palette.h"
#include "platform/ddraw/pixel_formats.h"
#include "platform/gdi/surface_dc.h"
#include "platform/host/host.h"

namespace platform::ddraw {
namespace {

int PitchFor(int width, const DDPIXELFORMAT& format) {
  const int rowBytes = width * static_cast<int>(format.dwRGBBitCount) / 8;
  return (rowBytes + 3) & ~3;
}

// The whole surface for a null rectangle; false for a rectangle that is empty or not inside.
bool AreaOf(const RECT* rect, int width, int height, RECT* area) {
  if (!rect) {
    *area = RECT{0, 0, width, height};
    return true;
  }
  *area = *rect;
  return area->left >= 0 && area->top >= 0 && area->left < area->right &&
         area->top < area->bottom && area->right <= width && area->bottom <= height;
}

// A fill this large is worth sharing out among threads.
constexpr std::size_t kBytesWorthSharing = 1 << 20;

// Fills `count` bytes with a pixel of 1, 2 or 4 bytes repeated; count is a multiple of it.
void FillRepeated(std::uint8_t* target, std::size_t count, const std::uint8_t* pixel, int bytes) {
  bool equalBytes = true;
  for (int i = 1; i < bytes; ++i) equalBytes = equalBytes && pixel[i] == pixel[0];
  if (equalBytes) {
    std::memset(target, pixel[0], count);
    return;
  }
  std::uint8_t pattern[16];
  for (int i = 0; i < 16; ++i) pattern[i] = pixel[i % bytes];
  const __m128i wide = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern));
  std::size_t done = 0;
  for (; done + 64 <= count; done += 64) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + done), wide);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + done + 16), wide);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + done + 32), wide);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + done + 48), wide);
  }
  for (; done + 16 <= count; done += 16) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + done), wide);
  }
  // 16 is a multiple of every pixel size here, so the pattern is still in phase.
  std::memcpy(target + done, pattern, count - done);
}

bool OneKeyKind(DWORD kind) {
  return kind == DDCKEY_SRCBLT || kind == DDCKEY_DESTBLT || kind == DDCKEY_SRCOVERLAY ||
         kind == DDCKEY_DESTOVERLAY;
}

}  // namespace

Surface::Surface(DirectDrawObject& owner, const SurfaceShape& shape, bool implicit)
    : owner_(owner),
      references_(implicit ? 0 : 1),
      implicit_(implicit),
      caps_(shape.caps),
      width_(shape.width),
      height_(shape.height),
      memoryWidth_(shape.physical ? shape.physical->width : shape.width),
      memoryHeight_(shape.physical ? shape.physical->height : shape.height),
      pitch_(PitchFor(memoryWidth_, *shape.format)),
      scale_(shape.physical ? shape.physical->scale : 1.0f),
      originX_(shape.physical ? shape.physical->originX : 0),
      format_(*shape.format),
      layout_(LayoutOf(*shape.format)),
      mipMapCount_(shape.mipMapCount),
      memory_(static_cast<std::size_t>(pitch_) * static_cast<std::size_t>(memoryHeight_)) {
  NoteObjectCreated(ObjectKind::Surface);
}

Surface::~Surface() {
  NoteObjectDestroyed(ObjectKind::Surface);
}

HRESULT Surface::QueryInterface(REFIID iid, LPVOID* object) {
  if (!object) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  if (iid == IID_IDirect3DTexture2) return QueryTexture(object);
  if (iid == IID_IUnknown || iid == IID_IDirectDrawSurface) {
    *object = static_cast<IDirectDrawSurface*>(this);
  } else if (iid == IID_IDirectDrawSurface3) {
    *object = static_cast<IDirectDrawSurface3*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return DD_OK;
}

HRESULT Surface::QueryTexture(LPVOID* object) {
  if (!(caps_ & DDSCAPS_TEXTURE)) return E_NOINTERFACE;
  if (!texture_) {
    const auto create = State().direct3D.createTexture;
    if (!create) return Fail(E_NOINTERFACE, kDirect3DNotInstalled);
    texture_ = create(this);
    if (!texture_) return E_NOINTERFACE;
  }
  AddRef();
  *object = static_cast<IDirect3DTexture2*>(texture_.get());
  return DD_OK;
}

ULONG Surface::AddRef() {
  return ++references_;
}

ULONG Surface::Release() {
  // An implicit surface lives as long as the top of its chain, whatever its own count says.
  if (references_ == 0) return 0;
  if (--references_ > 0 || implicit_) return references_;
  owner_.DestroySurface(this);
  return 0;
}

PixelBuffer Surface::Pixels() {
  return PixelBuffer{memory_.data(), memoryWidth_, memoryHeight_,
                     pitch_,         layout_,      palette_ ? palette_->Colours() : nullptr,
                     scale_,         originX_};
}

RECT Surface::PhysicalArea(const RECT& area) {
  if (memoryWidth_ == width_ && memoryHeight_ == height_) return area;
  const PixelBuffer pixels = Pixels();
  // The whole surface reaches the memory's edges, the wide view's side columns included.
  const bool whole =
      area.left == 0 && area.top == 0 && area.right == width_ && area.bottom == height_;
  if (whole) return RECT{0, 0, memoryWidth_, memoryHeight_};
  return RECT{PhysicalX(pixels, area.left), PhysicalY(pixels, area.top),
              PhysicalX(pixels, area.right), PhysicalY(pixels, area.bottom)};
}

void Surface::Detach(bool releasePalette) {
  FinishDrawingOn(memory_.data());
  if (const auto going = State().direct3D.surfaceGoing) going(this);
  if (dc_) gdi::DeleteSurfaceDC(dc_);
  dc_ = nullptr;
  texture_.reset();
  if (palette_ && releasePalette) palette_->Release();
  palette_ = nullptr;
}

void Surface::Describe(DDSURFACEDESC& description) const {
  std::memset(&description, 0, sizeof description);
  description.dwSize = DDSURFACEDESC_SIZE;
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
  description.dwWidth = static_cast<DWORD>(width_);
  description.dwHeight = static_cast<DWORD>(height_);
  description.lPitch = PitchFor(width_, format_);  // the memory's own only at scale 1
  description.ddpfPixelFormat = format_;
  description.ddsCaps.dwCaps = caps_;
  if (mipMapCount_ > 0) {
    description.dwFlags |= DDSD_MIPMAPCOUNT;
    description.dwMipMapCount = mipMapCount_;
  }
  if (caps_ & DDSCAPS_FRONTBUFFER) {
    description.dwFlags |= DDSD_BACKBUFFERCOUNT;
    description.dwBackBufferCount = 1;
  }
  if (sourceKey_) {
    description.dwFlags |= DDSD_CKSRCBLT;
    description.ddckCKSrcBlt = DDCOLORKEY{*sourceKey_, *sourceKey_};
  }
}

// ---- Memory ---------------------------------------------------------------------------------

HRESULT Surface::Blt(LPRECT destination, LPDIRECTDRAWSURFACE, LPRECT, DWORD flags, LPDDBLTFX fx) {
  return FillColour(destination, flags, fx);
}

HRESULT Surface::Blt(LPRECT destination, LPDIRECTDRAWSURFACE3, LPRECT, DWORD flags, LPDDBLTFX fx) {
  return FillColour(destination, flags, fx);
}

HRESULT Surface::FillColour(const RECT* rect, DWORD flags, const DDBLTFX* fx) {
  if (!(flags & DDBLT_COLORFILL) || (flags & ~(DDBLT_COLORFILL | DDBLT_WAIT))) {
    return Fail(DDERR_UNSUPPORTED, "Blt: only colour fills are offered");
  }
  if (!fx || fx->dwSize != DDBLTFX_SIZE) return Fail(DDERR_INVALIDPARAMS, "Blt: DDBLTFX size");
  if (Busy()) return DDERR_SURFACEBUSY;
  RECT asked;
  if (!AreaOf(rect, width_, height_, &asked)) return DDERR_INVALIDRECT;
  const RECT area = PhysicalArea(asked);
  FinishDrawingOn(memory_.data());
  // The fill value is a raw pixel of the surface's format: its low bytes, little-endian.
  const int bytes = static_cast<int>(format_.dwRGBBitCount / 8);
  std::uint8_t pixel[4];
  for (int i = 0; i < 4; ++i) pixel[i] = static_cast<std::uint8_t>(fx->dwFillColor >> (8 * i));
  const std::size_t rowBytes = static_cast<std::size_t>(area.right - area.left) * bytes;
  std::uint8_t* first =
      memory_.data() + static_cast<std::size_t>(area.top) * pitch_ + area.left * bytes;
  // The game clears the whole back buffer every frame, so this is worth being quick: rows that
  // follow one another without padding are filled in one go, and every row with wide stores
  // of the pixel repeated (a plain memset where the pixel's bytes are all equal).
  const bool contiguous = rowBytes == static_cast<std::size_t>(pitch_);
  const std::size_t rows = static_cast<std::size_t>(area.bottom - area.top);
  if (bytes == 0) return DD_OK;  // sub-byte pixels (4-bit palette indices) are not filled
  if (bytes == 3) {
    // Three-byte pixels do not repeat within a word: the first row pixel by pixel, the others
    // copies of it.
    for (int x = area.left; x < area.right; ++x) {
      std::memcpy(first + (x - area.left) * bytes, pixel, bytes);
    }
    for (std::size_t y = 1; y < rows; ++y) std::memcpy(first + y * pitch_, first, rowBytes);
    return DD_OK;
  }
  // A large fill (the back buffer cleared at a render scale) is shared out by rows among the
  // threads the 3-D devices lend.
  const int bands = rowBytes * rows >= kBytesWorthSharing
                        ? static_cast<int>(std::min<std::size_t>(ThreadsLent(), rows))
                        : 1;
  RunInBands(bands, [&](int band) {
    const std::size_t top = rows * band / bands, bottom = rows * (band + 1) / bands;
    const std::size_t runBytes = contiguous ? rowBytes * (bottom - top) : rowBytes;
    const std::size_t runs = contiguous ? 1 : bottom - top;
    for (std::size_t y = 0; y < runs; ++y) {
      FillRepeated(first + (top + y) * pitch_, runBytes, pixel, bytes);
    }
  });
  return DD_OK;
}

HRESULT Surface::Lock(LPRECT rect, LPDDSURFACEDESC description, DWORD, HANDLE) {
  if (!description || description->dwSize != DDSURFACEDESC_SIZE) {
    return Fail(DDERR_INVALIDPARAMS, "Lock: DDSURFACEDESC with a wrong dwSize");
  }
  if (Busy()) return DDERR_SURFACEBUSY;
  // The game draws on the display's surfaces only through Direct3D, GDI and colour fills; their
  // memory at a render scale is not the 640 × 480 a lock would describe.
  if (memoryWidth_ != width_ || memoryHeight_ != height_) {
    return Fail(DDERR_UNSUPPORTED, "Lock: the display's surfaces are drawn at a render scale");
  }
  RECT area;
  if (!AreaOf(rect, width_, height_, &area)) return DDERR_INVALIDRECT;
  FinishDrawingOn(memory_.data());
  Describe(*description);
  description->dwFlags |= DDSD_LPSURFACE;
  const int bytes = static_cast<int>(format_.dwRGBBitCount / 8);
  description->lpSurface =
      memory_.data() + static_cast<std::size_t>(area.top) * pitch_ + area.left * bytes;
  locked_ = true;
  return DD_OK;
}

HRESULT Surface::Unlock(LPVOID) {
  if (!locked_) return DDERR_NOTLOCKED;
  locked_ = false;
  return DD_OK;
}

HRESULT Surface::GetDC(HDC* dc) {
  if (!dc) return DDERR_INVALIDPARAMS;
  if (dc_) return DDERR_DCALREADYCREATED;
  if (locked_) return DDERR_SURFACEBUSY;
  FinishDrawingOn(memory_.data());
  HDC made = gdi::CreateSurfaceDC(Pixels());
  if (!made) return Fail(DDERR_CANTCREATEDC, "GetDC: " + LastErrorText());
  dc_ = made;
  *dc = made;
  return DD_OK;
}

HRESULT Surface::ReleaseDC(HDC dc) {
  if (!dc_) return DDERR_NODC;
  if (dc != dc_) return DDERR_INVALIDPARAMS;
  gdi::DeleteSurfaceDC(dc_);
  dc_ = nullptr;
  return DD_OK;
}

HRESULT Surface::Restore() {
  return DD_OK;
}

// ---- Chains ---------------------------------------------------------------------------------

HRESULT Surface::Flip(LPDIRECTDRAWSURFACE overrideSurface, DWORD flags) {
  return FlipWith(overrideSurface, flags);
}

HRESULT Surface::Flip(LPDIRECTDRAWSURFACE3 overrideSurface, DWORD flags) {
  return FlipWith(overrideSurface, flags);
}

HRESULT Surface::FlipWith(IDirectDrawSurface* overrideSurface, DWORD flags) {
  if (!(caps_ & DDSCAPS_FRONTBUFFER) || !attached_) {
    return Fail(DDERR_NOTFLIPPABLE, "Flip: not the front of a flip chain");
  }
  if ((overrideSurface && dynamic_cast<Surface*>(overrideSurface) != attached_) ||
      (flags & ~DDFLIP_WAIT)) {
    return Fail(DDERR_INVALIDPARAMS, "Flip: unknown override surface or flags");
  }
  if (Busy() || attached_->Busy()) return DDERR_SURFACEBUSY;
  FinishDrawingOn(memory_.data());
  FinishDrawingOn(attached_->memory_.data());
  memory_.swap(attached_->memory_);
  // The host takes 16-bit pixels; surface memory comes from operator new, aligned for them.
  host::Present(reinterpret_cast<const std::uint16_t*>(memory_.data()), memoryWidth_, memoryHeight_,
                pitch_);
  return DD_OK;
}

Surface* Surface::FindAttached(const DDSCAPS* caps, HRESULT* result) {
  *result = DDERR_INVALIDPARAMS;
  if (!caps) return nullptr;
  *result = DDERR_NOTFOUND;
  if (!attached_ || (attached_->caps_ & caps->dwCaps) != caps->dwCaps) return nullptr;
  *result = DD_OK;
  attached_->AddRef();
  return attached_;
}

HRESULT Surface::GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* attached) {
  if (!attached) return DDERR_INVALIDPARAMS;
  HRESULT result;
  *attached = FindAttached(caps, &result);
  return result;
}

HRESULT Surface::GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE3* attached) {
  if (!attached) return DDERR_INVALIDPARAMS;
  HRESULT result;
  *attached = FindAttached(caps, &result);
  return result;
}

// ---- Keys, palettes, descriptions -----------------------------------------------------------

HRESULT Surface::SetColorKey(DWORD flags, LPDDCOLORKEY key) {
  const DWORD kind = flags & ~DDCKEY_COLORSPACE;
  if (!OneKeyKind(kind)) return DDERR_INVALIDPARAMS;
  if (kind != DDCKEY_SRCBLT) return Fail(DDERR_UNSUPPORTED, "SetColorKey: source keys only");
  if (!key) {
    sourceKey_.reset();
    return DD_OK;
  }
  if ((flags & DDCKEY_COLORSPACE) && key->dwColorSpaceLowValue != key->dwColorSpaceHighValue) {
    return Fail(DDERR_UNSUPPORTED, "SetColorKey: a key is one value, not a range");
  }
  sourceKey_ = key->dwColorSpaceLowValue;
  return DD_OK;
}

HRESULT Surface::GetColorKey(DWORD flags, LPDDCOLORKEY key) {
  if (!OneKeyKind(flags) || !key) return DDERR_INVALIDPARAMS;
  if (flags != DDCKEY_SRCBLT || !sourceKey_) return DDERR_NOCOLORKEY;
  *key = DDCOLORKEY{*sourceKey_, *sourceKey_};
  return DD_OK;
}

HRESULT Surface::SetPalette(LPDIRECTDRAWPALETTE palette) {
  Palette* next = nullptr;
  if (palette) {
    next = dynamic_cast<Palette*>(palette);
    if (!next || &next->Owner() != &owner_) {
      return Fail(DDERR_INVALIDOBJECT, "SetPalette: not a palette of this DirectDraw object");
    }
    if (!layout_.paletteIndexed) {
      return Fail(DDERR_NOTPALETTIZED, "SetPalette: the surface is not palette-indexed");
    }
    next->AddRef();
  }
  if (palette_) palette_->Release();
  palette_ = next;
  return DD_OK;
}

HRESULT Surface::GetPalette(LPDIRECTDRAWPALETTE* palette) {
  if (!palette) return DDERR_INVALIDPARAMS;
  *palette = nullptr;
  if (!palette_) return DDERR_NOPALETTEATTACHED;
  palette_->AddRef();
  *palette = palette_;
  return DD_OK;
}

HRESULT Surface::GetPixelFormat(LPDDPIXELFORMAT pixelFormat) {
  if (!pixelFormat || pixelFormat->dwSize != DDPIXELFORMAT_SIZE) return DDERR_INVALIDPARAMS;
  *pixelFormat = format_;
  return DD_OK;
}

HRESULT Surface::GetSurfaceDesc(LPDDSURFACEDESC description) {
  if (!description || description->dwSize != DDSURFACEDESC_SIZE) {
    return Fail(DDERR_INVALIDPARAMS, "GetSurfaceDesc: DDSURFACEDESC with a wrong dwSize");
  }
  Describe(*description);
  return DD_OK;
}

}  // namespace platform::ddraw
