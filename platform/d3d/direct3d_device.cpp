#include "platform/d3d/direct3d_device.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/core/last_error.h"
#include "platform/core/lent_threads.h"
#include "platform/core/live_objects.h"
#include "platform/core/pending_drawing.h"
#include "platform/d3d/d3d_state.h"
#include "platform/d3d/device_caps.h"
#include "platform/d3d/direct3d_texture.h"
#include "platform/d3d/draw_listener.h"
#include "platform/d3d/drawing_threads.h"
#include "platform/d3d/physical_viewport.h"
#include "platform/d3d/viewport.h"
#include "platform/ddraw/pixel_formats.h"
#include "platform/ddraw/surface_access.h"

namespace platform::d3d {
namespace {

// More kept than this and the scene's work is drawn before the next list is kept, so a scene
// of many lists takes bounded memory (a set-up triangle is a few hundred bytes).
constexpr std::size_t kMaxKeptPrimitives = 1 << 16;

// The render states Direct3D names: 1 to D3DRENDERSTATE_ANISOTROPY but for 42, which it skips.
bool KnownRenderState(D3DRENDERSTATETYPE state) {
  return state >= D3DRENDERSTATE_TEXTUREHANDLE && state <= D3DRENDERSTATE_ANISOTROPY &&
         state != D3DRENDERSTATE_COLORKEYENABLE + 1;
}

// The door every other user of surface memory calls first (pending_drawing.h).
void FinishDrawingOnAll(const void* memory) {
  for (Device* device : State().liveDevices) device->FinishDrawingOn(memory);
}

// The first device with threads lends them (lent_threads.h).
raster::BandPool* LentPool() {
  for (Device* device : State().liveDevices) {
    if (device->Pool()) return device->Pool();
  }
  return nullptr;
}

int LentCount() {
  raster::BandPool* pool = LentPool();
  return pool ? pool->Threads() : 1;
}

void LentRun(int bands, const std::function<void(int)>& work) {
  LentPool()->Run(bands, work);
}

}  // namespace

Device::Device(IDirectDrawSurface* target, raster::RasterPath path) : target_(target) {
  target_->AddRef();
  context_.path = path;
  if (const int threads = DrawingThreads(); threads > 1) {
    pool_ = std::make_unique<raster::BandPool>(threads);
  }
  State().liveDevices.push_back(this);
  SetDrawingFinisher(&FinishDrawingOnAll);  // answered from the first device on
  LendThreads({&LentCount, &LentRun});
  NoteObjectCreated(ObjectKind::Device);
}

Device::~Device() {
  FinishDrawing();
  std::erase(State().liveDevices, this);
  for (Viewport* viewport : viewports_) viewport->Release();
  if (target_) target_->Release();
  NoteObjectDestroyed(ObjectKind::Device);
}

void Device::TargetGoing(IDirectDrawSurface* surface) {
  if (surface != target_) return;
  FinishDrawing();  // its memory is still there
  target_ = nullptr;
}

void Device::FinishDrawingOn(const void* memory) {
  if (std::find(keptMemory_.begin(), keptMemory_.end(), memory) != keptMemory_.end()) {
    FinishDrawing();
  }
}

void Device::FinishDrawing() {
  if (!kept_.Empty()) kept_.Draw(pool_.get());
  keptMemory_.clear();
}

HRESULT Device::AddViewport(LPDIRECT3DVIEWPORT2 viewport) {
  auto* ours = dynamic_cast<Viewport*>(viewport);
  if (!ours) return DDERR_INVALIDPARAMS;
  if (std::find(viewports_.begin(), viewports_.end(), ours) != viewports_.end()) {
    return DDERR_INVALIDPARAMS;
  }
  ours->AddRef();
  viewports_.push_back(ours);
  return D3D_OK;
}

HRESULT Device::SetCurrentViewport(LPDIRECT3DVIEWPORT2 viewport) {
  auto* ours = dynamic_cast<Viewport*>(viewport);
  if (!ours || std::find(viewports_.begin(), viewports_.end(), ours) == viewports_.end()) {
    return DDERR_INVALIDPARAMS;
  }
  currentViewport_ = ours;
  return D3D_OK;
}

HRESULT Device::BeginScene() {
  if (inScene_) return D3DERR_SCENE_IN_SCENE;
  if (!target_) return Fail(DDERR_SURFACELOST, "BeginScene: the render target is gone");
  inScene_ = true;
  PixelBuffer target{};
  if (DrawListener* listener = State().drawListener;
      listener && ddraw::GetSurfacePixels(target_, &target)) {
    listener->SceneBegun(raster::RenderTarget{reinterpret_cast<std::uint16_t*>(target.bits),
                                              target.width, target.height, target.pitch / 2});
  }
  return D3D_OK;
}

HRESULT Device::EndScene() {
  if (!inScene_) return D3DERR_SCENE_NOT_IN_SCENE;
  inScene_ = false;
  FinishDrawing();
  return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (!KnownRenderState(state)) return DDERR_INVALIDPARAMS;
  states_.render[state] = value;
  return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, LPDWORD value) {
  if (!value || !KnownRenderState(state)) return DDERR_INVALIDPARAMS;
  *value = states_.render[state];
  return D3D_OK;
}

HRESULT Device::SetLightState(D3DLIGHTSTATETYPE state, DWORD value) {
  if (state == 0 || state >= states_.light.size()) return DDERR_INVALIDPARAMS;
  states_.light[state] = value;
  return D3D_OK;
}

HRESULT Device::GetLightState(D3DLIGHTSTATETYPE state, LPDWORD value) {
  if (!value || state == 0 || state >= states_.light.size()) return DDERR_INVALIDPARAMS;
  *value = states_.light[state];
  return D3D_OK;
}

raster::Matrix* Device::TransformSlot(D3DTRANSFORMSTATETYPE state) {
  switch (state) {
    case D3DTRANSFORMSTATE_WORLD:
      return &world_;
    case D3DTRANSFORMSTATE_VIEW:
      return &view_;
    case D3DTRANSFORMSTATE_PROJECTION:
      return &projection_;
    default:
      return nullptr;
  }
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) {
  raster::Matrix* slot = TransformSlot(state);
  if (!slot || !matrix) return DDERR_INVALIDPARAMS;
  *slot = std::bit_cast<raster::Matrix>(*matrix);
  return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) {
  raster::Matrix* slot = TransformSlot(state);
  if (!slot || !matrix) return DDERR_INVALIDPARAMS;
  *matrix = std::bit_cast<D3DMATRIX>(*slot);
  return D3D_OK;
}

HRESULT Device::EnumTextureFormats(LPD3DENUMTEXTUREFORMATSCALLBACK callback, LPVOID context) {
  if (!callback) return DDERR_INVALIDPARAMS;
  for (const DDPIXELFORMAT& format : ddraw::TextureFormats()) {
    DDSURFACEDESC description;
    std::memset(&description, 0, sizeof description);
    description.dwSize = DDSURFACEDESC_SIZE;
    description.dwFlags = DDSD_PIXELFORMAT;
    description.ddpfPixelFormat = format;
    if (callback(&description, context) == D3DENUMRET_CANCEL) break;
  }
  return D3D_OK;
}

HRESULT Device::GetCaps(LPD3DDEVICEDESC hardwareDesc, LPD3DDEVICEDESC emulationDesc) {
  if (!hardwareDesc || !emulationDesc || hardwareDesc->dwSize != D3DDEVICEDESC_SIZE ||
      emulationDesc->dwSize != D3DDEVICEDESC_SIZE) {
    return DDERR_INVALIDPARAMS;
  }
  // No hardware: the hardware record stays empty (colour model 0).
  std::memset(hardwareDesc, 0, sizeof *hardwareDesc);
  hardwareDesc->dwSize = D3DDEVICEDESC_SIZE;
  *emulationDesc = SoftwareDeviceDescription();
  return D3D_OK;
}

bool Device::PrepareContext(std::uint32_t (&palette)[256]) {
  PixelBuffer target{};
  if (!ddraw::GetSurfacePixels(target_, &target)) return false;
  if (!currentViewport_ || !currentViewport_->Values()) return false;
  const D3DVIEWPORT2& v = *currentViewport_->Values();

  ApplyStates(states_, context_);
  context_.world = world_;
  context_.view = view_;
  context_.projection = projection_;
  context_.viewport = PhysicalViewport(v, target);
  context_.lineWidth = LineWidthFor(target);
  // The target was checked to be RGB 565 when the device was made; its memory is 2-byte aligned.
  context_.target = raster::RenderTarget{reinterpret_cast<std::uint16_t*>(target.bits),
                                         target.width, target.height, target.pitch / 2};
  context_.texture.reset();
  textureMemory_ = nullptr;
  textureLocked_ = false;
  if (Direct3DTexture* texture = TextureForHandle(states_.render[D3DRENDERSTATE_TEXTUREHANDLE])) {
    context_.texture = texture->View(palette);
    if (context_.texture) {
      textureMemory_ = texture->Memory();
      textureLocked_ = texture->Locked();
    }
  }
  return true;
}

bool Device::Draw(D3DPRIMITIVETYPE primitive) {
  const bool triangles = primitive == D3DPT_TRIANGLELIST;
  const void* target = context_.target.pixels;
  const void* texture = textureMemory_;
  // A texture drawn into its own target would be read by one band while another writes it; a
  // locked surface may be written by its holder before the kept work would be drawn.
  if (!pool_ || texture == target || textureLocked_ || ddraw::SurfaceLocked(target_)) {
    FinishDrawing();
    return triangles ? raster::DrawTriangleList(context_, vertices_)
                     : raster::DrawLineList(context_, vertices_);
  }
  // Another device's kept work on these surfaces comes first.
  for (Device* other : State().liveDevices) {
    if (other == this) continue;
    other->FinishDrawingOn(target);
    if (texture) other->FinishDrawingOn(texture);
  }
  if (kept_.Primitives() > kMaxKeptPrimitives) FinishDrawing();
  if (!(triangles ? kept_.AddTriangleList(context_, vertices_)
                  : kept_.AddLineList(context_, vertices_))) {
    return false;
  }
  for (const void* memory : {target, texture}) {
    if (memory && std::find(keptMemory_.begin(), keptMemory_.end(), memory) == keptMemory_.end()) {
      keptMemory_.push_back(memory);
    }
  }
  return true;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE primitive, D3DVERTEXTYPE vertexType, LPVOID vertices,
                              DWORD count, DWORD /*flags*/) {
  if (!inScene_) return Fail(D3DERR_SCENE_NOT_IN_SCENE, "DrawPrimitive: outside a scene");
  if (!target_) return Fail(DDERR_SURFACELOST, "DrawPrimitive: the render target is gone");
  if (count > D3DMAXNUMVERTICES) {
    return Fail(DDERR_INVALIDPARAMS, "DrawPrimitive: more than D3DMAXNUMVERTICES vertices");
  }
  if (vertexType != D3DVT_LVERTEX || (!vertices && count > 0)) {
    return Fail(DDERR_INVALIDPARAMS, "DrawPrimitive: only lit vertices are drawn");
  }
  if (primitive != D3DPT_TRIANGLELIST && primitive != D3DPT_LINELIST) {
    return Fail(DDERR_UNSUPPORTED, "DrawPrimitive: only triangle and line lists are drawn");
  }
  std::uint32_t palette[256];
  if (!PrepareContext(palette)) {
    return Fail(D3DERR_NOCURRENTVIEWPORT, "DrawPrimitive: no current viewport with values");
  }
  // D3DLVERTEX and LitVertex share their layout; copying keeps the types apart.
  static_assert(sizeof(D3DLVERTEX) == sizeof(raster::LitVertex));
  vertices_.resize(count);
  // An empty list leaves the buffer without storage: nothing to copy, and no pointer to copy to.
  if (count > 0) std::memcpy(vertices_.data(), vertices, count * sizeof(D3DLVERTEX));
  if (DrawListener* listener = State().drawListener) {
    listener->Drawing(DrawCall{states_,
                               world_,
                               view_,
                               projection_,
                               *currentViewport_->Values(),
                               context_.texture ? &*context_.texture : nullptr,
                               primitive,
                               {static_cast<const D3DLVERTEX*>(vertices), count}});
  }
  return Draw(primitive) ? D3D_OK
                         : Fail(DDERR_INVALIDPARAMS,
                                "DrawPrimitive: the viewport or texture "
                                "cannot be drawn with");
}

}  // namespace platform::d3d
