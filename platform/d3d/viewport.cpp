#include "platform/d3d/viewport.h"

#include "platform/core/last_error.h"
#include "platform/core/live_objects.h"

namespace platform::d3d {

Viewport::Viewport() {
  NoteObjectCreated(ObjectKind::Viewport);
}

Viewport::~Viewport() {
  NoteObjectDestroyed(ObjectKind::Viewport);
}

HRESULT Viewport::GetViewport2(LPD3DVIEWPORT2 data) {
  if (!data || data->dwSize != D3DVIEWPORT2_SIZE) return DDERR_INVALIDPARAMS;
  if (!values_) return D3DERR_VIEWPORTDATANOTSET;
  *data = *values_;
  return D3D_OK;
}

HRESULT Viewport::SetViewport2(LPD3DVIEWPORT2 data) {
  if (!data || data->dwSize != D3DVIEWPORT2_SIZE) {
    return Fail(DDERR_INVALIDPARAMS, "SetViewport2: the record's size is not that of D3DVIEWPORT2");
  }
  // An empty rectangle or clip volume would divide by zero when vertices are mapped.
  if (data->dwWidth == 0 || data->dwHeight == 0 || !(data->dvClipWidth > 0.0f) ||
      !(data->dvClipHeight > 0.0f)) {
    return Fail(DDERR_INVALIDPARAMS, "SetViewport2: empty viewport rectangle or clip volume");
  }
  values_ = *data;
  return D3D_OK;
}

}  // namespace platform::d3d
