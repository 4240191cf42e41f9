// The choice of a texture's pixel format among those the device offers.
#include <cstring>

#include "video/course_texture.h"
#include "video/sized_record.h"
#include "video/texture_format_choice.h"

HRESULT Texture::FindTextureFormat(IDirect3DDevice2* device, DWORD wantedBitCount,
                                   DDPIXELFORMAT* format) {
  TextureFormatSearch search;
  std::memset(&search, 0, sizeof search);
  DDSURFACEDESC mode = SizedRecord<DDSURFACEDESC>(DDSURFACEDESC_SIZE);
  if (owner) owner->GetDisplayMode(&mode);
  search.displayFormat = mode.ddpfPixelFormat;
  search.wantedBitCount = wantedBitCount;
  const HRESULT result = device->EnumTextureFormats(TextureFormatCallback, &search);
  *format = search.chosenFormat;
  return result;
}

// The first acceptable format is taken whatever its depth; a later one replaces it only when it
// reaches the wanted depth and comes closer to it from above. Of equal depths the first stays.
HRESULT TextureFormatCallback(LPDDSURFACEDESC description, LPVOID context) {
  if (!description || !context) return D3DENUMRET_OK;
  auto& search = *static_cast<TextureFormatSearch*>(context);
  const DDPIXELFORMAT& candidate = description->ddpfPixelFormat;
  const DWORD bits = candidate.dwRGBBitCount;
  const DWORD flags = candidate.dwFlags;
  if (flags & (DDPF_ALPHAPIXELS | DDPF_ALPHA)) return D3DENUMRET_OK;
  if (bits <= 8 && !(flags & (DDPF_PALETTEINDEXED4 | DDPF_PALETTEINDEXED8))) return D3DENUMRET_OK;
  if (bits > 8 && !(flags & DDPF_RGB)) return D3DENUMRET_OK;
  if (bits < 8) return D3DENUMRET_OK;
  const DWORD chosenBits = search.chosenFormat.dwRGBBitCount;
  if (chosenBits != 0) {
    if (bits < search.wantedBitCount) return D3DENUMRET_OK;
    // Unsigned differences: a choice below the wanted depth is as far away as can be.
    if (!(bits - search.wantedBitCount < chosenBits - search.wantedBitCount)) {
      return D3DENUMRET_OK;
    }
  }
  if (bits > 8) {
    // The channel in the lowest bits must be the display's.
    const DDPIXELFORMAT& display = search.displayFormat;
    const bool redLow = (display.dwRBitMask & 1) && (candidate.dwRBitMask & 1);
    const bool blueLow = (display.dwBBitMask & 1) && (candidate.dwBBitMask & 1);
    if (!redLow && !blueLow) return D3DENUMRET_OK;
  }
  search.chosenFormat = candidate;
  return D3DENUMRET_OK;
}
