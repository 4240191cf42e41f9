// DirectDraw's one state record: what is shared across DirectDraw objects.
#pragma once

#include <optional>
#include <string>

#include "platform/ddraw.h"
#include "platform/ddraw/driver_override.h"
#include "platform/ddraw/surface_access.h"

namespace platform::ddraw {

class DirectDrawObject;

struct DirectDrawState {
  // The object holding DDSCL_EXCLUSIVE; only one may hold it at a time. Cleared when it gives
  // the level up or goes.
  DirectDrawObject* exclusiveOwner = nullptr;
  // How QueryInterface reaches the Direct3D module; empty until the module installs itself.
  Direct3DHooks direct3D;
  // Tests only: drivers and creation to pretend, in place of the real ones.
  std::optional<DriverOverride> driverOverride;
};

// The module's state, made on first use.
DirectDrawState& State();

// Records why a call failed as the platform's last-error text ("SetDisplayMode: ...") and
// returns the result, so a failure reads `return Fail(DDERR_..., "...")`.
HRESULT Fail(HRESULT result, std::string reason);

}  // namespace platform::ddraw
