#include "tests/support/doubles/logging_device.h"

namespace doubles {

HRESULT LoggingDevice::Log(const char* what, std::vector<DWORD> values) {
  log_.push_back(DeviceCall{what, std::move(values)});
  return D3D_OK;
}

HRESULT LoggingDevice::DrawPrimitive(D3DPRIMITIVETYPE primitive, D3DVERTEXTYPE type,
                                     LPVOID vertices, DWORD count, DWORD flags) {
  DeviceCall call{"DrawPrimitive", {primitive, type, count, flags}};
  const auto* first = static_cast<const D3DLVERTEX*>(vertices);
  call.vertices.assign(first, first + count);
  log_.push_back(call);
  return D3D_OK;
}

HRESULT LoggingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) {
  DeviceCall call{"SetTransform", {state}};
  call.matrix = *matrix;
  log_.push_back(call);
  return D3D_OK;
}

HRESULT LoggingSurface::GetDC(HDC* out) {
  log_.push_back(DeviceCall{"GetDC", {}});
  if (getDcResult != DD_OK) return getDcResult;
  *out = dc;
  return DD_OK;
}

HRESULT LoggingSurface::ReleaseDC(HDC released) {
  log_.push_back(DeviceCall{"ReleaseDC", {released == dc ? 1u : 0u}});
  return DD_OK;
}

HRESULT LoggingSurface::Blt(LPRECT destination, LPDIRECTDRAWSURFACE3 source, LPRECT sourceRect,
                            DWORD flags, LPDDBLTFX fx) {
  DeviceCall call{"Blt", {destination == nullptr, source == nullptr, sourceRect == nullptr, flags}};
  call.bltFillColour = fx->dwFillColor;
  call.bltFxSize = fx->dwSize;
  log_.push_back(call);
  return DD_OK;
}

HRESULT LoggingSurface::Flip(LPDIRECTDRAWSURFACE3 overrideSurface, DWORD flags) {
  log_.push_back(DeviceCall{"Flip", {overrideSurface == nullptr, flags}});
  return DD_OK;
}

std::vector<std::string> CallNames(const CallLog& log) {
  std::vector<std::string> names;
  for (const DeviceCall& call : log) names.push_back(call.what);
  return names;
}

}  // namespace doubles
