// IDirectDrawPalette: 256 colours for 8-bit palette-indexed surfaces.
#pragma once

#include <array>

#include "platform/api/ddraw.h"
#include "platform/core/pixel_buffer.h"
#include "platform/ddraw/counted_object.h"

namespace platform::ddraw {

class DirectDrawObject;

class Palette final : public SingleInterfaceObject<IDirectDrawPalette, IID_IDirectDrawPalette> {
 public:
  Palette(DirectDrawObject& owner, DWORD caps, const PALETTEENTRY* entries);
  ~Palette() override;

  HRESULT GetCaps(LPDWORD caps) override;
  HRESULT GetEntries(DWORD flags, DWORD start, DWORD count, LPPALETTEENTRY entries) override;
  HRESULT SetEntries(DWORD flags, DWORD start, DWORD count, LPPALETTEENTRY entries) override;

  const DirectDrawObject& Owner() const { return owner_; }
  // The colours as the drawing code reads them: 256 entries.
  const PaletteColour* Colours() const { return colours_.data(); }

 private:
  // The last Release: the DirectDraw object that made the palette destroys it.
  void Destroy() override;

  DirectDrawObject& owner_;  // made the palette; destroys it at the last Release or its own end
  DWORD caps_;               // DDPCAPS_* given at creation
  std::array<PALETTEENTRY, 256> entries_;   // as set, peFlags included
  std::array<PaletteColour, 256> colours_;  // the same colours, for the drawing code
};

}  // namespace platform::ddraw
