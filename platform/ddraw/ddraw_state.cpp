#include "platform/ddraw/ddraw_state.h"

#include <utility>

#include "platform/ddraw/surface.h"
#include "platform/ddraw/surface_access.h"

namespace platform::ddraw {

DirectDrawState& State() {
  static DirectDrawState state;
  return state;
}

void InstallDirect3DHooks(const Direct3DHooks& hooks) {
  State().direct3D = hooks;
}

void RequestRender(const RenderRequest& request) {
  State().render = request;
}

const RenderRequest& RequestedRender() {
  return State().render;
}

void SetDriverOverride(DriverOverride driverOverride) {
  State().driverOverride = std::move(driverOverride);
}

void ClearDriverOverride() {
  State().driverOverride.reset();
}

bool GetSurfacePixels(IDirectDrawSurface* surface, PixelBuffer* pixels) {
  auto* ours = dynamic_cast<Surface*>(surface);
  if (!ours || !pixels) return false;
  *pixels = ours->Pixels();
  return true;
}

bool SurfaceLocked(IDirectDrawSurface* surface) {
  auto* ours = dynamic_cast<Surface*>(surface);
  return ours && ours->Locked();
}

}  // namespace platform::ddraw
