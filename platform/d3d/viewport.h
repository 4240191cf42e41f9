// IDirect3DViewport2: the rectangle of the render target a device draws into, and the clip volume
// mapped onto it.
#pragma once

#include <optional>

#include "platform/api/d3d.h"
#include "platform/ddraw/counted_object.h"

namespace platform::d3d {

class Viewport final
    : public ddraw::SingleInterfaceObject<IDirect3DViewport2, IID_IDirect3DViewport2> {
 public:
  Viewport();
  ~Viewport() override;

  HRESULT GetViewport2(LPD3DVIEWPORT2 data) override;
  HRESULT SetViewport2(LPD3DVIEWPORT2 data) override;

  // The values of the last SetViewport2, or empty before the first.
  const std::optional<D3DVIEWPORT2>& Values() const { return values_; }

 private:
  std::optional<D3DVIEWPORT2> values_;
};

}  // namespace platform::d3d
