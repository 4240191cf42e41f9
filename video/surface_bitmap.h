// The steps the texture and the plain-surface utilities share: drawing a bitmap into a surface
// through GDI, and reading back the raw value GDI writes for a colour.
#pragma once

#include "platform/api/ddraw.h"
#include "platform/api/gdi.h"

// Copies the whole bitmap to (0, 0) of the surface with GDI's conversion into the surface's
// format. Returns 1 when the surface gave a device context (the copy was made), else 0.
int DrawBitmapIntoSurface(IDirectDrawSurface* surface, HBITMAP bitmap);

// The colour key for `colour` on this surface: the raw pixel value GDI writes for it at (0, 0)
// (the pixel is put back afterwards), or with CLR_INVALID the pixel at (0, 0) as it is. Below 32
// bits per pixel the value is masked to the pixel's bits; 0xFFFFFFFF when the surface cannot be
// locked. A lock that reports the surface still drawing is tried again.
DWORD ProbeKeyValue(IDirectDrawSurface* surface, COLORREF colour);
