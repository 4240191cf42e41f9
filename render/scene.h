// The rendering frame around the game's drawing: what the back buffer and the 3-D device go
// through before the course and the butterfly are drawn, and after.
#pragma once

// Clears the back buffer to black, sets the fixed render and fog states, begins the scene.
void BeginSceneFrame();
// Sets the minification filter, places the camera, installs the view and projection, ends the
// scene. The transforms installed here serve the drawing of the next frame.
void FinishSceneFrame();
// Rebuilds viewMatrix: 8 units behind the anchor, 3 above it, looking 2 above it.
void UpdateCamera();
// Title screen only: the device and driver line and the filter line, in the system font.
void DrawDeviceInfo();
// Flips the finished back buffer to the screen.
void PresentFrame();
