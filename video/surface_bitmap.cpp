#include "video/surface_bitmap.h"

#include <algorithm>
#include <cstring>

#include "video/sized_record.h"

int DrawBitmapIntoSurface(IDirectDrawSurface* surface, HBITMAP bitmap) {
  if (!surface) return 0;
  BITMAP info;
  std::memset(&info, 0, sizeof info);
  GetObjectA(bitmap, sizeof info, &info);
  HDC bitmapDc = CreateCompatibleDC(nullptr);
  SelectObject(bitmapDc, bitmap);
  HDC surfaceDc = nullptr;
  int copied = 0;
  if (surface->GetDC(&surfaceDc) == DD_OK) {
    BitBlt(surfaceDc, 0, 0, info.bmWidth, info.bmHeight, bitmapDc, 0, 0, SRCCOPY);
    surface->ReleaseDC(surfaceDc);
    copied = 1;
  }
  DeleteDC(bitmapDc);  // the bitmap is free again for the caller to delete
  return copied;
}

namespace {

// The first 32-bit word of the surface's memory, masked to the pixel's bits; 0xFFFFFFFF when the
// surface cannot be locked. The game waits out a busy surface, however long that takes.
DWORD FirstPixelValue(IDirectDrawSurface* surface) {
  DDSURFACEDESC locked = SizedRecord<DDSURFACEDESC>(DDSURFACEDESC_SIZE);
  HRESULT result;
  do {
    result = surface->Lock(nullptr, &locked, 0, nullptr);
  } while (result == DDERR_WASSTILLDRAWING);
  if (result != DD_OK) return 0xFFFFFFFFu;
  // Never read past the first row, even of a surface narrower than one word.
  DWORD key = 0;
  const auto bytes = static_cast<std::size_t>(std::clamp<LONG>(locked.lPitch, 0, 4));
  if (locked.lpSurface) std::memcpy(&key, locked.lpSurface, bytes);
  const DWORD bits = locked.ddpfPixelFormat.dwRGBBitCount;
  if (bits < 32) key &= (DWORD{1} << bits) - 1;
  surface->Unlock(nullptr);
  return key;
}

}  // namespace

DWORD ProbeKeyValue(IDirectDrawSurface* surface, COLORREF colour) {
  if (!surface) return 0xFFFFFFFFu;
  COLORREF saved = CLR_INVALID;
  bool written = false;
  HDC dc = nullptr;
  if (colour != CLR_INVALID && surface->GetDC(&dc) == DD_OK) {
    saved = GetPixel(dc, 0, 0);
    SetPixel(dc, 0, 0, colour);
    surface->ReleaseDC(dc);
    written = true;
  }
  const DWORD key = FirstPixelValue(surface);
  // Only a pixel that was overwritten is put back.
  if (written && surface->GetDC(&dc) == DD_OK) {
    SetPixel(dc, 0, 0, saved);
    surface->ReleaseDC(dc);
  }
  return key;
}
