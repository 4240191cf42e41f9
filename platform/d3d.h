// Direct3D Immediate Mode of DirectX 5, stood in for on Linux: the interfaces, records and
// constants the game uses.
#pragma once

#include "platform/ddraw.h"

using D3DTEXTUREHANDLE = DWORD;

struct IDirect3D2;
struct IDirect3DDevice2;
struct IDirect3DViewport2;
struct IDirect3DTexture2;
