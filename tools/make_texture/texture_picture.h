// The game's one texture, 256 by 256: the upper half is the floor of a course cell, the lower
// half a butterfly wing on black, the colour key.
#pragma once

#include "tools/make_texture/rgb_image.h"

constexpr int kTextureSize = 256;

// Paints the whole texture. Deterministic: every call, on every build, gives the same texels.
RgbImage PaintTexture();
