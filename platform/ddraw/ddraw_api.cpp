// The two free functions of DirectDraw: the driver list and the making of a DirectDraw object.
#include <new>
#include <string>
#include <vector>

#include "platform/api/ddraw.h"
#include "platform/core/last_error.h"
#include "platform/ddraw/ddraw_state.h"
#include "platform/ddraw/direct_draw_object.h"

using platform::Fail;
using platform::ddraw::DirectDrawObject;
using platform::ddraw::FakeDriver;
using platform::ddraw::State;

namespace {

// The one real driver: the primary display, which the host shows.
const FakeDriver kPrimaryDisplay{std::nullopt, "Primary Display Driver", "display"};

}  // namespace

HRESULT DirectDrawEnumerateA(LPDDENUMCALLBACKA callback, LPVOID context) {
  if (!callback) return DDERR_INVALIDPARAMS;
  const auto& driverOverride = State().driverOverride;
  // Copies, since the callback receives writable texts and GUIDs and may change the override.
  std::vector<FakeDriver> drivers{kPrimaryDisplay};
  if (driverOverride && driverOverride->drivers) drivers = *driverOverride->drivers;
  for (FakeDriver& driver : drivers) {
    GUID* guid = driver.guid ? &*driver.guid : nullptr;
    if (callback(guid, driver.description.data(), driver.name.data(), context) ==
        DDENUMRET_CANCEL) {
      break;
    }
  }
  return DD_OK;
}

HRESULT DirectDrawCreate(GUID* guid, LPDIRECTDRAW* directDraw, IUnknown* outer) {
  if (!directDraw) return Fail(DDERR_INVALIDPARAMS, "DirectDrawCreate: no destination");
  *directDraw = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  const auto& driverOverride = State().driverOverride;
  if (driverOverride && driverOverride->create) return driverOverride->create(guid, directDraw);
  if (guid) {
    return Fail(DDERR_INVALIDDIRECTDRAWGUID, "DirectDrawCreate: no driver has that GUID");
  }
  try {
    *directDraw = new DirectDrawObject;
  } catch (const std::bad_alloc&) {
    return Fail(DDERR_OUTOFMEMORY, "DirectDrawCreate: out of memory");
  }
  return DD_OK;
}
