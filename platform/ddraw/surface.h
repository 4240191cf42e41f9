// A DirectDraw surface: one object answering both surface interfaces, with one reference count.
// A flip chain's back buffer and the lower levels of a mip-map chain are implicit: they belong to
// the surface at the top of their chain and go with it, whatever their own count says.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/api/ddraw.h"
#include "platform/core/pixel_buffer.h"
#include "platform/ddraw/render_geometry.h"
#include "platform/ddraw/surface_texture.h"

namespace platform::ddraw {

class DirectDrawObject;
class Palette;

// What a new surface is: everything but its memory, which the surface allocates.
struct SurfaceShape {
  DWORD caps = 0;  // DDSCAPS_* as the surface reports them
  int width = 0;
  int height = 0;
  const DDPIXELFORMAT* format = nullptr;  // one of the offered formats
  DWORD mipMapCount = 0;                  // levels from this one down, for a mip-map level
  // The memory's own size and where the game's coordinates land in it: the display's surfaces
  // at a render scale or in the wide view. Other surfaces' memory is width × height.
  std::optional<RenderGeometry> physical;
};

class Surface final : public IDirectDrawSurface3 {
 public:
  // Throws std::bad_alloc when the memory cannot be had.
  Surface(DirectDrawObject& owner, const SurfaceShape& shape, bool implicit);
  ~Surface() override;

  // ---- IUnknown
  HRESULT QueryInterface(REFIID iid, LPVOID* object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  // ---- Both interfaces
  HRESULT GetColorKey(DWORD flags, LPDDCOLORKEY key) override;
  HRESULT GetDC(HDC* dc) override;
  HRESULT GetPalette(LPDIRECTDRAWPALETTE* palette) override;
  HRESULT GetPixelFormat(LPDDPIXELFORMAT pixelFormat) override;
  HRESULT GetSurfaceDesc(LPDDSURFACEDESC description) override;
  HRESULT Lock(LPRECT rect, LPDDSURFACEDESC description, DWORD flags, HANDLE event) override;
  HRESULT ReleaseDC(HDC dc) override;
  HRESULT Restore() override;
  HRESULT SetColorKey(DWORD flags, LPDDCOLORKEY key) override;
  HRESULT SetPalette(LPDIRECTDRAWPALETTE palette) override;
  HRESULT Unlock(LPVOID memory) override;
  // ---- First interface
  HRESULT Blt(LPRECT destination, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags,
              LPDDBLTFX fx) override;
  HRESULT Flip(LPDIRECTDRAWSURFACE overrideSurface, DWORD flags) override;
  HRESULT GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* attached) override;
  // ---- Third interface
  HRESULT Blt(LPRECT destination, LPDIRECTDRAWSURFACE3 source, LPRECT sourceRect, DWORD flags,
              LPDDBLTFX fx) override;
  HRESULT Flip(LPDIRECTDRAWSURFACE3 overrideSurface, DWORD flags) override;
  HRESULT GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE3* attached) override;

  // ---- For the module
  // Chains `next` below this surface (back buffer of a front buffer, next mip level).
  void Attach(Surface* next) { attached_ = next; }
  Surface* Attached() const { return attached_; }
  bool Implicit() const { return implicit_; }
  DWORD Caps() const { return caps_; }
  bool Locked() const { return locked_; }
  PixelBuffer Pixels();
  // Lets go of the palette, device context and texture interface, and tells the Direct3D
  // module, before the surface is destroyed. `releasePalette` is false while the owner reclaims
  // everything at once.
  void Detach(bool releasePalette);

 private:
  HRESULT FillColour(const RECT* rect, DWORD flags, const DDBLTFX* fx);
  // The memory a rectangle of the game's coordinates covers.
  RECT PhysicalArea(const RECT& area);
  HRESULT FlipWith(IDirectDrawSurface* overrideSurface, DWORD flags);
  Surface* FindAttached(const DDSCAPS* caps, HRESULT* result);
  void Describe(DDSURFACEDESC& description) const;
  bool Busy() const { return locked_ || dc_ != nullptr; }
  HRESULT QueryTexture(LPVOID* object);

  DirectDrawObject& owner_;  // made the surface and destroys it
  ULONG references_;         // starts at 1 for a surface handed out, 0 for an implicit one
  const bool implicit_;      // belongs to the top of its chain
  const DWORD caps_;
  const int width_;   // as the game sees it
  const int height_;  // as the game sees it
  const int memoryWidth_;
  const int memoryHeight_;
  const int pitch_;  // of the memory; rows are padded to 4 bytes, as in a DIB
  const float scale_;
  const int originX_;
  const DDPIXELFORMAT format_;
  const PixelLayout layout_;
  const DWORD mipMapCount_;
  std::vector<std::uint8_t> memory_;  // pitch_ × memoryHeight_ bytes; a flip swaps it with the
                                      // back's
  Surface* attached_ = nullptr;       // back buffer, or next mip level; owned by owner_
  Palette* palette_ = nullptr;        // attached palette, with a reference held
  std::optional<DWORD> sourceKey_;    // DDCKEY_SRCBLT value
  bool locked_ = false;
  HDC dc_ = nullptr;                         // the GDI context lent out by GetDC
  std::unique_ptr<SurfaceTexture> texture_;  // made on the first texture query
};

}  // namespace platform::ddraw
