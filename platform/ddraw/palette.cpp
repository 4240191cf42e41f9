#include "platform/ddraw/palette.h"

#include "platform/core/live_objects.h"
#include "platform/ddraw/direct_draw_object.h"

namespace platform::ddraw {

Palette::Palette(DirectDrawObject& owner, DWORD caps, const PALETTEENTRY* entries)
    : owner_(owner), caps_(caps) {
  for (int i = 0; i < 256; ++i) {
    entries_[i] = entries[i];
    colours_[i] = {entries[i].peRed, entries[i].peGreen, entries[i].peBlue};
  }
  NoteObjectCreated(ObjectKind::Palette);
}

Palette::~Palette() {
  NoteObjectDestroyed(ObjectKind::Palette);
}

void Palette::Destroy() {
  owner_.DestroyPalette(this);
}

HRESULT Palette::GetCaps(LPDWORD caps) {
  if (!caps) return DDERR_INVALIDPARAMS;
  *caps = caps_;
  return DD_OK;
}

HRESULT Palette::GetEntries(DWORD flags, DWORD start, DWORD count, LPPALETTEENTRY entries) {
  if (flags != 0 || !entries || start > 256 || count > 256 - start) return DDERR_INVALIDPARAMS;
  for (DWORD i = 0; i < count; ++i) entries[i] = entries_[start + i];
  return DD_OK;
}

HRESULT Palette::SetEntries(DWORD flags, DWORD start, DWORD count, LPPALETTEENTRY entries) {
  if (flags != 0 || !entries || start > 256 || count > 256 - start) return DDERR_INVALIDPARAMS;
  for (DWORD i = 0; i < count; ++i) {
    entries_[start + i] = entries[i];
    colours_[start + i] = {entries[i].peRed, entries[i].peGreen, entries[i].peBlue};
  }
  return DD_OK;
}

}  // namespace platform::ddraw
