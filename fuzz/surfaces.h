// DirectDraw surfaces in every texture format the devices offer, made once per fuzzing process
// and drawn into through GDI by the fuzz targets.
#pragma once

#include <vector>

#include "platform/api/ddraw.h"

struct FuzzSurface {
  const char* name;
  IDirectDrawSurface* surface;
};

// The seven texture formats, in the devices' order, each as one surface of an odd size (so rows
// are padded); the 8-bit one has a palette attached, so GDI can draw into it. Made on first use;
// aborts if the platform refuses, since then nothing could be fuzzed.
const std::vector<FuzzSurface>& TextureFormatSurfaces();

// A 640 × 480 RGB 565 surface, as the game's back buffer.
IDirectDrawSurface* ScreenSurface();
