// DirectDraw of DirectX 5, stood in for on Linux: the interfaces, records and constants the game
// uses. The interfaces are abstract classes with COM's reference counting.
#pragma once

#include "platform/win32.h"

struct IDirectDraw;
struct IDirectDraw2;
struct IDirectDrawSurface;
struct IDirectDrawSurface3;
struct IDirectDrawPalette;
