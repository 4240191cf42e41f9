// Plugging the software devices into DirectDraw. DirectDraw sits below Direct3D and cannot name
// it, so until this is called a DirectDraw object has no IID_IDirect3D2 and a texture surface no
// IID_IDirect3DTexture2 (the query fails with a last-error text saying why). The program's main
// calls it before WinMain; an entry point that uses 3-D without that main (a test, tool,
// benchmark or fuzz target) calls it through platform/testing.h. Calling it again is harmless.
#pragma once

namespace platform::d3d {

void InstallDirect3D();

}  // namespace platform::d3d
