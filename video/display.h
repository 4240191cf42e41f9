// Bringing the display and the 3-D device up at start and taking them down at the end. Each
// returns non-zero for success and 0 for failure.
#pragma once

#include "platform/api/ddraw.h"

// Chooses a DirectDraw driver, takes the screen at 640×480×16 and creates the flip chain.
int InitDirectDraw();
// Creates the 3-D device on the back buffer (hardware, then MMX, then RGB) and its viewport.
int InitDirect3D();
// Loads the course texture from "Texture.bmp" (the current folder's, else the installed game's)
// and computes the camera and projection.
int InitScene();
// Gives back every graphics object; may be called in any state; always returns 1.
int ReleaseAll();
// The callback handed to DirectDrawEnumerateA; context points to the caller's IDirectDraw*.
BOOL DriverEnumCallback(GUID* guid, LPSTR description, LPSTR name, LPVOID context);
