// Counts of live platform objects by kind, so tests can prove that shutting the game down gives
// every surface, palette, device, context, font and bitmap back.
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

void NoteObjectCreated(ObjectKind kind);
void NoteObjectDestroyed(ObjectKind kind);
// Live objects of one kind, or of every kind together.
int LiveObjects(ObjectKind kind);
int LiveObjects();

}  // namespace platform
