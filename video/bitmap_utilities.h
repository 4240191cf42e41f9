// Bitmaps as the game uses them: loaded from the resources or a file, turned into a palette or a
// plain surface, drawn into a surface, and a surface's colour key set from a colour.
#pragma once

#include "platform/api/ddraw.h"
#include "platform/api/gdi.h"

// Loads a bitmap as a DIB section: first from the program's resources, then as a file path.
// Null when neither has it; the caller deletes the bitmap.
HBITMAP LoadBitmapImage(LPCSTR name);
// A 256-entry palette from the bitmap's colour table (entries it lacks are black), or null.
IDirectDrawPalette* CreatePaletteFromBitmap(IDirectDraw2* directDraw, HBITMAP bitmap);
// A surface description of the bitmap's width and height (caps, height and width flagged), with
// the bitmap's record in *info.
DDSURFACEDESC BitmapSurfaceDescription(HBITMAP bitmap, BITMAP* info);
// A plain surface with the bitmap's size and picture, with the given caps; null on failure.
IDirectDrawSurface3* CreateSurfaceFromBitmap(IDirectDraw2* directDraw, LPCSTR bitmapName,
                                             DWORD caps);
// Draws the bitmap into the surface through GDI; 1 when the surface gave a device context.
int CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap);
// As Texture::SetKeyColor, on one surface.
int SetSurfaceKeyColor(IDirectDrawSurface* surface, COLORREF colour);
