// Drawing kept to be done later: the 3-D devices keep a scene's work and draw it when the scene
// ends (platform/d3d/direct3d_device.h). Whoever else is about to read or write a surface's
// memory (a lock, a device context's drawing, a colour fill, a flip, the surface going, a texture
// load) first calls FinishDrawingOn with the start of that memory, so the work kept for it is
// drawn before, as if it had been drawn at once. Internal to the platform.
#pragma once

namespace platform {

// Draws the work kept for the memory that starts at `memory`.
using DrawingFinisher = void (*)(const void* memory);

// Installs the finisher (the Direct3D module's, with its first device); null takes it out.
void SetDrawingFinisher(DrawingFinisher finisher);

// Has the work kept for the memory drawn; nothing without a finisher.
void FinishDrawingOn(const void* memory);

}  // namespace platform
