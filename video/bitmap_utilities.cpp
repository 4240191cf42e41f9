// Loading bitmaps, palettes from their colour tables, and the plain-surface utilities.
#include <algorithm>
#include <cstring>

#include "video/bitmap_utilities.h"
#include "video/sized_record.h"
#include "video/surface_bitmap.h"

HBITMAP LoadBitmapImage(LPCSTR name) {
  HANDLE image =
      LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (!image) {
    image = LoadImageA(nullptr, name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  }
  return static_cast<HBITMAP>(image);
}

IDirectDrawPalette* CreatePaletteFromBitmap(IDirectDraw2* directDraw, HBITMAP bitmap) {
  RGBQUAD table[256];
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  const UINT count = std::min<UINT>(GetDIBColorTable(dc, 0, 256, table), 256);
  SelectObject(dc, previous);
  DeleteDC(dc);
  // Entries the colour table does not supply stay black.
  PALETTEENTRY entries[256];
  std::memset(entries, 0, sizeof entries);
  for (UINT i = 0; i < count; ++i) {
    entries[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
  }
  IDirectDrawPalette* palette = nullptr;
  if (directDraw->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr) != DD_OK) return nullptr;
  return palette;
}

DDSURFACEDESC BitmapSurfaceDescription(HBITMAP bitmap, BITMAP* info) {
  std::memset(info, 0, sizeof *info);
  GetObjectA(bitmap, sizeof *info, info);
  DDSURFACEDESC description = SizedRecord<DDSURFACEDESC>(DDSURFACEDESC_SIZE);
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  description.dwWidth = static_cast<DWORD>(info->bmWidth);
  description.dwHeight = static_cast<DWORD>(info->bmHeight);
  return description;
}

IDirectDrawSurface3* CreateSurfaceFromBitmap(IDirectDraw2* directDraw, LPCSTR bitmapName,
                                             DWORD caps) {
  HBITMAP bitmap = LoadBitmapImage(bitmapName);
  if (!bitmap) return nullptr;
  BITMAP info;
  DDSURFACEDESC description = BitmapSurfaceDescription(bitmap, &info);
  description.ddsCaps.dwCaps = caps;
  IDirectDrawSurface* first = nullptr;
  IDirectDrawSurface3* surface = nullptr;
  if (directDraw->CreateSurface(&description, &first, nullptr) == DD_OK && first) {
    first->QueryInterface(IID_IDirectDrawSurface3, reinterpret_cast<LPVOID*>(&surface));
    first->Release();
  }
  if (!surface) {
    DeleteObject(bitmap);
    return nullptr;
  }
  if (info.bmBitsPixel == 8) {
    IDirectDrawPalette* palette = CreatePaletteFromBitmap(directDraw, bitmap);
    if (palette) {
      surface->SetPalette(palette);
      palette->Release();  // the surface holds the palette from here on
    }
  }
  CopyBitmapToSurface(surface, bitmap);
  DeleteObject(bitmap);
  return surface;
}

int CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap) {
  return DrawBitmapIntoSurface(surface, bitmap);
}

int SetSurfaceKeyColor(IDirectDrawSurface* surface, COLORREF colour) {
  if (!surface) return 0;
  const DWORD key = ProbeKeyValue(surface, colour);
  DDCOLORKEY colourKey{key, key};
  return surface->SetColorKey(DDCKEY_SRCBLT, &colourKey) == DD_OK ? 1 : 0;
}
