// The DirectDraw object: one object answering IDirectDraw and IDirectDraw2, with one reference
// count. It owns every surface and palette it makes; its final Release reclaims them all, also
// those the caller never released, as the original does.
#pragma once

#include <memory>
#include <vector>

#include "platform/api/ddraw.h"
#include "platform/ddraw/counted_object.h"

namespace platform::ddraw {

class Palette;
class Surface;
struct SurfaceShape;

class DirectDrawObject final : public CountedObject<IDirectDraw, IDirectDraw2> {
 public:
  DirectDrawObject();

  // ---- IUnknown (AddRef and Release are the counted object's)
  HRESULT QueryInterface(REFIID iid, LPVOID* object) override;
  // ---- Both interfaces
  HRESULT CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                        IUnknown* outer) override;
  HRESULT CreateSurface(LPDDSURFACEDESC description, LPDIRECTDRAWSURFACE* surface,
                        IUnknown* outer) override;
  HRESULT GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) override;
  HRESULT GetDisplayMode(LPDDSURFACEDESC description) override;
  HRESULT GetMonitorFrequency(LPDWORD frequency) override;
  HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
  HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) override;
  HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                         DWORD flags) override;

  // ---- For surfaces and palettes
  // Destroys a surface at the top of its chain, with the implicit surfaces below it.
  void DestroySurface(Surface* top);
  void DestroyPalette(Palette* palette);

 private:
  ~DirectDrawObject() override;
  HRESULT CreatePrimary(const DDSURFACEDESC& description, DWORD caps, Surface** top);
  HRESULT CreateOffscreen(const DDSURFACEDESC& description, DWORD caps, Surface** top);
  HRESULT CreateChain(const SurfaceShape& topShape, const SurfaceShape& belowShape, int count,
                      Surface** top);
  bool HasPrimary() const;

  DWORD cooperativeFlags_ = 0;  // DDSCL_* last set; 0 until SetCooperativeLevel succeeds
  // Every surface made, implicit ones included, and every palette; destroyed at the last
  // Release of the object if not before.
  std::vector<std::unique_ptr<Surface>> surfaces_;
  std::vector<std::unique_ptr<Palette>> palettes_;
};

}  // namespace platform::ddraw
