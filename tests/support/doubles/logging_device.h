// Doubles of the back buffer, the primary surface and the 3-D device that write every call the
// scene makes into one shared log, so a test can assert the exact sequence a frame sends.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/api/d3d.h"
#include "platform/api/ddraw.h"

namespace doubles {

struct DeviceCall {
  explicit DeviceCall(std::string name, std::vector<DWORD> arguments = {})
      : what(std::move(name)), values(std::move(arguments)) {}

  std::string what;                  // "SetRenderState", "DrawPrimitive", "Blt", "Flip", ...
  std::vector<DWORD> values;         // the call's integer arguments, in order
  D3DMATRIX matrix{};                // SetTransform's matrix
  std::vector<D3DLVERTEX> vertices;  // DrawPrimitive's vertices
  DWORD bltFillColour = 0;
  DWORD bltFxSize = 0;
};

using CallLog = std::vector<DeviceCall>;

class LoggingDevice final : public IDirect3DDevice2 {
 public:
  explicit LoggingDevice(CallLog& log) : log_(log) {}
  HRESULT QueryInterface(REFIID, LPVOID*) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT AddViewport(LPDIRECT3DVIEWPORT2) override { return Log("AddViewport"); }
  HRESULT BeginScene() override { return Log("BeginScene"); }
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE primitive, D3DVERTEXTYPE type, LPVOID vertices,
                        DWORD count, DWORD flags) override;
  HRESULT EndScene() override { return Log("EndScene"); }
  HRESULT EnumTextureFormats(LPD3DENUMTEXTUREFORMATSCALLBACK, LPVOID) override { return D3D_OK; }
  HRESULT GetCaps(LPD3DDEVICEDESC, LPD3DDEVICEDESC) override { return D3D_OK; }
  HRESULT GetLightState(D3DLIGHTSTATETYPE, LPDWORD) override { return D3D_OK; }
  HRESULT GetRenderState(D3DRENDERSTATETYPE, LPDWORD) override { return D3D_OK; }
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE, LPD3DMATRIX) override { return D3D_OK; }
  HRESULT SetCurrentViewport(LPDIRECT3DVIEWPORT2) override { return Log("SetCurrentViewport"); }
  HRESULT SetLightState(D3DLIGHTSTATETYPE state, DWORD value) override {
    return Log("SetLightState", {state, value});
  }
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
    return Log("SetRenderState", {state, value});
  }
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) override;

 private:
  HRESULT Log(const char* what, std::vector<DWORD> values = {});
  CallLog& log_;
};

class LoggingSurface final : public IDirectDrawSurface3 {
 public:
  explicit LoggingSurface(CallLog& log) : log_(log) {}
  HRESULT getDcResult = DD_OK;  // what GetDC answers
  HDC dc = reinterpret_cast<HDC>(0x1234);

  HRESULT QueryInterface(REFIID, LPVOID*) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT Blt(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX) override {
    return DDERR_UNSUPPORTED;
  }
  HRESULT Flip(LPDIRECTDRAWSURFACE, DWORD) override { return DDERR_UNSUPPORTED; }
  HRESULT GetAttachedSurface(LPDDSCAPS, LPDIRECTDRAWSURFACE*) override { return DDERR_NOTFOUND; }
  HRESULT GetColorKey(DWORD, LPDDCOLORKEY) override { return DDERR_NOCOLORKEY; }
  HRESULT GetDC(HDC* out) override;
  HRESULT GetPalette(LPDIRECTDRAWPALETTE*) override { return DDERR_NOPALETTEATTACHED; }
  HRESULT GetPixelFormat(LPDDPIXELFORMAT) override { return DD_OK; }
  HRESULT GetSurfaceDesc(LPDDSURFACEDESC) override { return DD_OK; }
  HRESULT Lock(LPRECT, LPDDSURFACEDESC, DWORD, HANDLE) override { return DDERR_SURFACEBUSY; }
  HRESULT ReleaseDC(HDC released) override;
  HRESULT Restore() override { return DD_OK; }
  HRESULT SetColorKey(DWORD, LPDDCOLORKEY) override { return DD_OK; }
  HRESULT SetPalette(LPDIRECTDRAWPALETTE) override { return DD_OK; }
  HRESULT Unlock(LPVOID) override { return DD_OK; }
  HRESULT Blt(LPRECT destination, LPDIRECTDRAWSURFACE3 source, LPRECT sourceRect, DWORD flags,
              LPDDBLTFX fx) override;
  HRESULT Flip(LPDIRECTDRAWSURFACE3 overrideSurface, DWORD flags) override;
  HRESULT GetAttachedSurface(LPDDSCAPS, LPDIRECTDRAWSURFACE3*) override { return DDERR_NOTFOUND; }

 private:
  CallLog& log_;
};

// Names of the calls in the log, in order.
std::vector<std::string> CallNames(const CallLog& log);

}  // namespace doubles
