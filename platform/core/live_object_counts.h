// Counts of live platform objects by kind, so tests can prove that shutting the game down gives
// every window, surface, palette, device, context, font and bitmap back. Reached from outside the
// platform through platform/testing.h; the modules note their objects in live_objects.h.
#pragma once

namespace platform {

enum class ObjectKind {
  Window,
  DirectDraw,
  Surface,
  Palette,
  Direct3D,
  Device,
  Viewport,
  Texture,
  DeviceContext,
  Font,
  Bitmap,
  Count,
};

// Live objects of one kind, or of every kind together.
int LiveObjects(ObjectKind kind);
int LiveObjects();

}  // namespace platform
