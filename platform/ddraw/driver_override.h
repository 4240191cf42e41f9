// For tests: make DirectDrawEnumerateA and DirectDrawCreate answer as a case needs (drivers that
// qualify, drivers whose object cannot be made, doubles of the DirectDraw interfaces). Reached
// from outside the platform through platform/testing.h.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/ddraw.h"

namespace platform::ddraw {

struct FakeDriver {
  std::optional<GUID> guid;  // nothing: the primary display, reported with a null GUID
  std::string description;
  std::string name;
};

struct DriverOverride {
  // What DirectDrawEnumerateA reports in place of the one real driver; nothing: the real one.
  std::optional<std::vector<FakeDriver>> drivers;
  // Called by DirectDrawCreate, after its own argument checks, with the GUID asked for (null for
  // the primary display); its result and *directDraw are the call's. Empty: the real creation.
  std::function<HRESULT(GUID* guid, IDirectDraw** directDraw)> create;
};

// Replaces the drivers and the creation until ClearDriverOverride.
void SetDriverOverride(DriverOverride driverOverride);
void ClearDriverOverride();

}  // namespace platform::ddraw
