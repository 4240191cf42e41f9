// gmock doubles of the DirectDraw and Direct3D interfaces, for tests that set up answers and
// expectations call by call.
#pragma once

#include <gmock/gmock.h>

#include "platform/api/d3d.h"
#include "platform/api/ddraw.h"

namespace doubles {

// The reference counting and interface queries every COM interface has.
template <typename Interface>
class MockUnknown : public Interface {
 public:
  MOCK_METHOD(HRESULT, QueryInterface, (REFIID, LPVOID*), (override));
  MOCK_METHOD(ULONG, AddRef, (), (override));
  MOCK_METHOD(ULONG, Release, (), (override));
};

// What the two DirectDraw interfaces share; only SetDisplayMode differs between them.
template <typename Interface>
class MockDirectDrawOf : public MockUnknown<Interface> {
 public:
  MOCK_METHOD(HRESULT, CreatePalette, (DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE*, IUnknown*),
              (override));
  MOCK_METHOD(HRESULT, CreateSurface, (LPDDSURFACEDESC, LPDIRECTDRAWSURFACE*, IUnknown*),
              (override));
  MOCK_METHOD(HRESULT, GetCaps, (LPDDCAPS, LPDDCAPS), (override));
  MOCK_METHOD(HRESULT, GetDisplayMode, (LPDDSURFACEDESC), (override));
  MOCK_METHOD(HRESULT, GetMonitorFrequency, (LPDWORD), (override));
  MOCK_METHOD(HRESULT, SetCooperativeLevel, (HWND, DWORD), (override));
};

class MockDirectDraw : public MockDirectDrawOf<IDirectDraw> {
 public:
  MOCK_METHOD(HRESULT, SetDisplayMode, (DWORD, DWORD, DWORD), (override));
};

class MockDirectDraw2 : public MockDirectDrawOf<IDirectDraw2> {
 public:
  MOCK_METHOD(HRESULT, SetDisplayMode, (DWORD, DWORD, DWORD, DWORD, DWORD), (override));
};

// Answers both surface interfaces; a pointer to it serves as either.
class MockSurface : public MockUnknown<IDirectDrawSurface3> {
 public:
  MOCK_METHOD(HRESULT, Blt, (LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX), (override));
  MOCK_METHOD(HRESULT, Blt, (LPRECT, LPDIRECTDRAWSURFACE3, LPRECT, DWORD, LPDDBLTFX), (override));
  MOCK_METHOD(HRESULT, Flip, (LPDIRECTDRAWSURFACE, DWORD), (override));
  MOCK_METHOD(HRESULT, Flip, (LPDIRECTDRAWSURFACE3, DWORD), (override));
  MOCK_METHOD(HRESULT, GetAttachedSurface, (LPDDSCAPS, LPDIRECTDRAWSURFACE*), (override));
  MOCK_METHOD(HRESULT, GetAttachedSurface, (LPDDSCAPS, LPDIRECTDRAWSURFACE3*), (override));
  MOCK_METHOD(HRESULT, GetColorKey, (DWORD, LPDDCOLORKEY), (override));
  MOCK_METHOD(HRESULT, GetDC, (HDC*), (override));
  MOCK_METHOD(HRESULT, GetPalette, (LPDIRECTDRAWPALETTE*), (override));
  MOCK_METHOD(HRESULT, GetPixelFormat, (LPDDPIXELFORMAT), (override));
  MOCK_METHOD(HRESULT, GetSurfaceDesc, (LPDDSURFACEDESC), (override));
  MOCK_METHOD(HRESULT, Lock, (LPRECT, LPDDSURFACEDESC, DWORD, HANDLE), (override));
  MOCK_METHOD(HRESULT, ReleaseDC, (HDC), (override));
  MOCK_METHOD(HRESULT, Restore, (), (override));
  MOCK_METHOD(HRESULT, SetColorKey, (DWORD, LPDDCOLORKEY), (override));
  MOCK_METHOD(HRESULT, SetPalette, (LPDIRECTDRAWPALETTE), (override));
  MOCK_METHOD(HRESULT, Unlock, (LPVOID), (override));
};

class MockDevice : public MockUnknown<IDirect3DDevice2> {
 public:
  MOCK_METHOD(HRESULT, AddViewport, (LPDIRECT3DVIEWPORT2), (override));
  MOCK_METHOD(HRESULT, BeginScene, (), (override));
  MOCK_METHOD(HRESULT, DrawPrimitive, (D3DPRIMITIVETYPE, D3DVERTEXTYPE, LPVOID, DWORD, DWORD),
              (override));
  MOCK_METHOD(HRESULT, EndScene, (), (override));
  MOCK_METHOD(HRESULT, EnumTextureFormats, (LPD3DENUMTEXTUREFORMATSCALLBACK, LPVOID), (override));
  MOCK_METHOD(HRESULT, GetCaps, (LPD3DDEVICEDESC, LPD3DDEVICEDESC), (override));
  MOCK_METHOD(HRESULT, GetLightState, (D3DLIGHTSTATETYPE, LPDWORD), (override));
  MOCK_METHOD(HRESULT, GetRenderState, (D3DRENDERSTATETYPE, LPDWORD), (override));
  MOCK_METHOD(HRESULT, GetTransform, (D3DTRANSFORMSTATETYPE, LPD3DMATRIX), (override));
  MOCK_METHOD(HRESULT, SetCurrentViewport, (LPDIRECT3DVIEWPORT2), (override));
  MOCK_METHOD(HRESULT, SetLightState, (D3DLIGHTSTATETYPE, DWORD), (override));
  MOCK_METHOD(HRESULT, SetRenderState, (D3DRENDERSTATETYPE, DWORD), (override));
  MOCK_METHOD(HRESULT, SetTransform, (D3DTRANSFORMSTATETYPE, LPD3DMATRIX), (override));
};

class MockDirect3D : public MockUnknown<IDirect3D2> {
 public:
  MOCK_METHOD(HRESULT, CreateDevice, (REFCLSID, LPDIRECTDRAWSURFACE, LPDIRECT3DDEVICE2*),
              (override));
  MOCK_METHOD(HRESULT, CreateViewport, (LPDIRECT3DVIEWPORT2*, IUnknown*), (override));
};

class MockViewport : public MockUnknown<IDirect3DViewport2> {
 public:
  MOCK_METHOD(HRESULT, GetViewport2, (LPD3DVIEWPORT2), (override));
  MOCK_METHOD(HRESULT, SetViewport2, (LPD3DVIEWPORT2), (override));
};

class MockTexture : public MockUnknown<IDirect3DTexture2> {
 public:
  MOCK_METHOD(HRESULT, GetHandle, (LPDIRECT3DDEVICE2, LPD3DTEXTUREHANDLE), (override));
  MOCK_METHOD(HRESULT, Load, (LPDIRECT3DTEXTURE2), (override));
};

// Makes the device enumerate `formats` in order, as a real device calls its callback.
inline void OfferFormats(MockDevice& device, std::vector<DDPIXELFORMAT> formats) {
  ON_CALL(device, EnumTextureFormats)
      .WillByDefault([formats](LPD3DENUMTEXTUREFORMATSCALLBACK callback, LPVOID context) {
        for (const DDPIXELFORMAT& format : formats) {
          DDSURFACEDESC description{};
          description.dwSize = DDSURFACEDESC_SIZE;
          description.dwFlags = DDSD_CAPS | DDSD_PIXELFORMAT;
          description.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
          description.ddpfPixelFormat = format;
          if (callback(&description, context) == D3DENUMRET_CANCEL) break;
        }
        return D3D_OK;
      });
}

// Makes the device describe itself as software (hardware record empty) or hardware.
inline void DescribeDevice(MockDevice& device, bool hardware) {
  ON_CALL(device, GetCaps).WillByDefault([hardware](LPD3DDEVICEDESC hw, LPD3DDEVICEDESC hel) {
    (hardware ? hw : hel)->dcmColorModel = D3DCOLOR_RGB;
    return D3D_OK;
  });
}

inline DDPIXELFORMAT Format(DWORD flags, DWORD bits, DWORD r, DWORD g, DWORD b, DWORD a = 0) {
  return DDPIXELFORMAT{DDPIXELFORMAT_SIZE, flags, 0, bits, r, g, b, a};
}

}  // namespace doubles
