#include "platform/d3d/d3d_state.h"

#include <algorithm>
#include <thread>

#include "platform/d3d/draw_listener.h"
#include "platform/d3d/drawing_threads.h"
#include "platform/raster/band_pool.h"

namespace platform::d3d {

Direct3DState& State() {
  static Direct3DState state;
  return state;
}

Direct3DTexture* TextureForHandle(D3DTEXTUREHANDLE handle) {
  if (handle == 0) return nullptr;
  for (const TextureHandleEntry& entry : State().handles) {
    if (entry.handle == handle) return entry.texture;
  }
  return nullptr;
}

void SetDeviceAvailability(const DeviceAvailability& availability) {
  State().devices = availability;
}

void SetDrawListener(DrawListener* listener) {
  State().drawListener = listener;
}

void RequestDrawingThreads(int threads) {
  State().drawingThreads = std::clamp(threads, 0, raster::kMaxDrawingThreads);
}

int DrawingThreads() {
  if (const int requested = State().drawingThreads; requested > 0) return requested;
  // hardware_concurrency may not know (0): one thread then.
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(cores, 1, raster::kMaxDrawingThreads);
}

}  // namespace platform::d3d
