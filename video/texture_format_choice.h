// The rule that picks the course texture's format from the device's enumeration: the nearest bit
// count at or above the bitmap's that keeps the display's channel order.
#pragma once

#include "platform/api/d3d.h"
#include "platform/api/ddraw.h"

// What the format search hands to the enumeration callback; cleared to zero before use.
struct TextureFormatSearch {
  DWORD wantedBitCount;         // bits per pixel of the source bitmap
  DDPIXELFORMAT displayFormat;  // the current display mode's format
  DDPIXELFORMAT chosenFormat;   // the choice so far; bit count 0 while nothing is chosen
};

// Applies the choice rule to one format of the device's enumeration; always D3DENUMRET_OK.
HRESULT TextureFormatCallback(LPDDSURFACEDESC description, LPVOID context);
