#include "tests/render/hud_text/back_buffer.h"

#include <algorithm>

#include "platform/gdi/surface_dc.h"

namespace tirravel::test {

BackBuffer::BackBuffer() : memory_(static_cast<std::size_t>(kWidth) * (kHeight + 2), kGuard) {
  Fill(0);
}

BackBuffer::~BackBuffer() {
  if (dc_) platform::gdi::DeleteSurfaceDC(dc_);
}

void BackBuffer::Fill(std::uint16_t value) {
  std::fill(memory_.begin() + kWidth, memory_.end() - kWidth, value);
}

bool BackBuffer::GuardsIntact() const {
  auto guard = [](std::uint16_t p) { return p == kGuard; };
  return std::all_of(memory_.begin(), memory_.begin() + kWidth, guard) &&
         std::all_of(memory_.end() - kWidth, memory_.end(), guard);
}

HRESULT BackBuffer::GetDC(HDC* dc) {
  ++getDcCalls;
  if (getDcResult != DD_OK) return getDcResult;
  if (dc_) return DDERR_DCALREADYCREATED;
  const platform::PixelBuffer picture{reinterpret_cast<std::uint8_t*>(&At(0, 0)),
                                      kWidth,
                                      kHeight,
                                      kWidth * 2,
                                      platform::kRgb565Layout,
                                      nullptr};
  dc_ = platform::gdi::CreateSurfaceDC(picture);
  *dc = dc_;
  return dc_ ? DD_OK : DDERR_GENERIC;
}

HRESULT BackBuffer::ReleaseDC(HDC dc) {
  ++releaseDcCalls;
  if (!dc_ || dc != dc_) return DDERR_NODC;
  platform::gdi::DeleteSurfaceDC(dc_);
  dc_ = nullptr;
  return DD_OK;
}

HRESULT BackBuffer::QueryInterface(REFIID, LPVOID* object) {
  *object = nullptr;
  return E_NOINTERFACE;
}
HRESULT BackBuffer::Blt(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX) {
  return DDERR_UNSUPPORTED;
}
HRESULT BackBuffer::Blt(LPRECT, LPDIRECTDRAWSURFACE3, LPRECT, DWORD, LPDDBLTFX) {
  return DDERR_UNSUPPORTED;
}
HRESULT BackBuffer::Flip(LPDIRECTDRAWSURFACE, DWORD) {
  return DDERR_UNSUPPORTED;
}
HRESULT BackBuffer::Flip(LPDIRECTDRAWSURFACE3, DWORD) {
  return DDERR_UNSUPPORTED;
}
HRESULT BackBuffer::GetAttachedSurface(LPDDSCAPS, LPDIRECTDRAWSURFACE*) {
  return DDERR_UNSUPPORTED;
}
HRESULT BackBuffer::GetAttachedSurface(LPDDSCAPS, LPDIRECTDRAWSURFACE3*) {
  return DDERR_UNSUPPORTED;
}
HRESULT BackBuffer::GetColorKey(DWORD, LPDDCOLORKEY) {
  return DDERR_UNSUPPORTED;
}
HRESULT BackBuffer::GetPalette(LPDIRECTDRAWPALETTE*) {
  return DDERR_UNSUPPORTED;
}
HRESULT BackBuffer::GetPixelFormat(LPDDPIXELFORMAT) {
  return DDERR_UNSUPPORTED;
}
HRESULT BackBuffer::GetSurfaceDesc(LPDDSURFACEDESC) {
  return DDERR_UNSUPPORTED;
}
HRESULT BackBuffer::Lock(LPRECT, LPDDSURFACEDESC, DWORD, HANDLE) {
  return DDERR_UNSUPPORTED;
}
HRESULT BackBuffer::Restore() {
  return DDERR_UNSUPPORTED;
}
HRESULT BackBuffer::SetColorKey(DWORD, LPDDCOLORKEY) {
  return DDERR_UNSUPPORTED;
}
HRESULT BackBuffer::SetPalette(LPDIRECTDRAWPALETTE) {
  return DDERR_UNSUPPORTED;
}
HRESULT BackBuffer::Unlock(LPVOID) {
  return DDERR_UNSUPPORTED;
}

}  // namespace tirravel::test
