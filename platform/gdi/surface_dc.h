// The door through which DirectDraw lends a surface's memory to GDI: IDirectDrawSurface::GetDC
// creates a device context that draws straight into the surface's pixels, and ReleaseDC deletes
// it. Internal to the platform; the game never includes this header.
#pragma once

#include "platform/api/win32.h"
#include "platform/core/pixel_buffer.h"

namespace platform::gdi {

// Creates a device context drawing into target (every layout of pixel_buffer.h: 4- and 8-bit
// palette-indexed, 16-bit RGB and ARGB, 24-bit, 32-bit). It starts with the defaults of any
// context: system font, OPAQUE mode, white background, black text. The memory (and palette) must
// stay in place until DeleteSurfaceDC. Returns null, with the reason in the platform's last-error
// text, for an unusable buffer (no memory, a size of 0, an unknown layout, an indexed layout
// without its palette).
HDC CreateSurfaceDC(const PixelBuffer& target);

// Deletes a context made by CreateSurfaceDC. False for any other handle (nothing is touched).
bool DeleteSurfaceDC(HDC dc);

}  // namespace platform::gdi
