// IDirect3DDevice2 of the software devices: states, transforms and viewports kept as Direct3D
// keeps them, and DrawPrimitive handed to the rasterizer on one of its two paths. On one drawing
// thread each DrawPrimitive is drawn at once; on more (drawing_threads.h) it is set up at once
// and kept, and the scene's kept work is drawn in bands on the device's pool when the scene ends,
// or before anything else touches the memory it draws into or reads from (FinishDrawingOn).
#pragma once

#include <memory>
#include <vector>

#include "platform/api/d3d.h"
#include "platform/d3d/device_states.h"
#include "platform/ddraw/counted_object.h"
#include "platform/raster/band_pool.h"
#include "platform/raster/draw_queue.h"
#include "platform/raster/raster.h"

namespace platform::d3d {

class Viewport;

class Device final : public ddraw::SingleInterfaceObject<IDirect3DDevice2, IID_IDirect3DDevice2> {
 public:
  // Draws into `target` (a reference is held) on the given path.
  Device(IDirectDrawSurface* target, raster::RasterPath path);
  ~Device() override;

  HRESULT AddViewport(LPDIRECT3DVIEWPORT2 viewport) override;
  HRESULT BeginScene() override;
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE primitive, D3DVERTEXTYPE vertexType, LPVOID vertices,
                        DWORD count, DWORD flags) override;
  HRESULT EndScene() override;
  HRESULT EnumTextureFormats(LPD3DENUMTEXTUREFORMATSCALLBACK callback, LPVOID context) override;
  HRESULT GetCaps(LPD3DDEVICEDESC hardwareDesc, LPD3DDEVICEDESC emulationDesc) override;
  HRESULT GetLightState(D3DLIGHTSTATETYPE state, LPDWORD value) override;
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, LPDWORD value) override;
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) override;
  HRESULT SetCurrentViewport(LPDIRECT3DVIEWPORT2 viewport) override;
  HRESULT SetLightState(D3DLIGHTSTATETYPE state, DWORD value) override;
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) override;

  // The surface is being destroyed: if it is the target, the device lets go of it unreleased
  // and draws nothing from then on.
  void TargetGoing(IDirectDrawSurface* surface);

  // Someone else is about to read or write the memory starting at `memory`: if the kept work
  // draws into it or reads from it, it is drawn now.
  void FinishDrawingOn(const void* memory);

  // The device's drawing threads, if it has more than one.
  raster::BandPool* Pool() { return pool_.get(); }

 private:
  // Draws the kept work, if any, and forgets it.
  void FinishDrawing();
  // Draws or keeps the list of the prepared context.
  bool Draw(D3DPRIMITIVETYPE primitive);
  raster::Matrix* TransformSlot(D3DTRANSFORMSTATETYPE state);
  // The context for one draw: states, transforms, viewport, target and texture. False when the
  // target's memory or the current viewport cannot be had.
  bool PrepareContext(std::uint32_t (&palette)[256]);

  IDirectDrawSurface* target_;  // held; null once it is gone
  DeviceStates states_;
  raster::Matrix world_ = raster::IdentityMatrix();
  raster::Matrix view_ = raster::IdentityMatrix();
  raster::Matrix projection_ = raster::IdentityMatrix();
  std::vector<Viewport*> viewports_;  // held, in the order added
  Viewport* currentViewport_ = nullptr;
  bool inScene_ = false;
  raster::RasterContext context_;            // rebuilt for every draw
  const void* textureMemory_ = nullptr;      // the memory of context_'s texture's surface
  bool textureLocked_ = false;               // that surface is locked
  std::vector<raster::LitVertex> vertices_;  // the draw's vertices, reused between draws
  std::unique_ptr<raster::BandPool> pool_;   // none when drawing on one thread
  raster::DrawQueue kept_;                   // the scene's work not drawn yet (with a pool)
  std::vector<const void*> keptMemory_;      // the surface memory kept_ draws into or reads
};

}  // namespace platform::d3d
