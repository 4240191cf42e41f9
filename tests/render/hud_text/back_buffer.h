// A stand-in back buffer for the text overlay's tests: a 640×480 RGB 565 picture (with guard rows
// above and below it) whose GetDC hands out a real GDI context over its memory. Every other
// surface operation is unsupported.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/api/ddraw.h"

namespace tirravel::test {

class BackBuffer final : public IDirectDrawSurface3 {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  static constexpr std::uint16_t kGuard = 0x5A5A;

  BackBuffer();
  ~BackBuffer();

  std::uint16_t& At(int x, int y) { return memory_[(y + 1) * kWidth + x]; }
  const std::uint16_t* Pixels() const { return memory_.data() + kWidth; }
  void Fill(std::uint16_t value);
  bool GuardsIntact() const;

  HRESULT getDcResult = DD_OK;  // what GetDC answers
  int getDcCalls = 0;
  int releaseDcCalls = 0;

  HRESULT GetDC(HDC* dc) override;
  HRESULT ReleaseDC(HDC dc) override;

  HRESULT QueryInterface(REFIID, LPVOID* object) override;
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT Blt(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX) override;
  HRESULT Blt(LPRECT, LPDIRECTDRAWSURFACE3, LPRECT, DWORD, LPDDBLTFX) override;
  HRESULT Flip(LPDIRECTDRAWSURFACE, DWORD) override;
  HRESULT Flip(LPDIRECTDRAWSURFACE3, DWORD) override;
  HRESULT GetAttachedSurface(LPDDSCAPS, LPDIRECTDRAWSURFACE*) override;
  HRESULT GetAttachedSurface(LPDDSCAPS, LPDIRECTDRAWSURFACE3*) override;
  HRESULT GetColorKey(DWORD, LPDDCOLORKEY) override;
  HRESULT GetPalette(LPDIRECTDRAWPALETTE*) override;
  HRESULT GetPixelFormat(LPDDPIXELFORMAT) override;
  HRESULT GetSurfaceDesc(LPDDSURFACEDESC) override;
  HRESULT Lock(LPRECT, LPDDSURFACEDESC, DWORD, HANDLE) override;
  HRESULT Restore() override;
  HRESULT SetColorKey(DWORD, LPDDCOLORKEY) override;
  HRESULT SetPalette(LPDIRECTDRAWPALETTE) override;
  HRESULT Unlock(LPVOID) override;

 private:
  std::vector<std::uint16_t> memory_;  // a guard row, the picture, a guard row
  HDC dc_ = nullptr;                   // the context handed out, if any
};

}  // namespace tirravel::test
