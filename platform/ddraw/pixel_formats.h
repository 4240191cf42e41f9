// The pixel formats surfaces can have. They are also the texture formats the software 3-D devices
// offer, so the Direct3D module enumerates this list.
#pragma once

#include <optional>
#include <span>

#include "platform/api/ddraw.h"
#include "platform/core/pixel_buffer.h"

namespace platform::ddraw {

// In the software devices' enumeration order: 8-bit palette-indexed, RGB 565, RGB 555,
// ARGB 1555, ARGB 4444, X8R8G8B8, A8R8G8B8.
std::span<const DDPIXELFORMAT> TextureFormats();

// The display's format, RGB 565.
const DDPIXELFORMAT& DisplayPixelFormat();

// The offered format a request names (flags, bit count and masks alike), or null when the
// platform offers no such format. The request's dwSize must be DDPIXELFORMAT_SIZE.
const DDPIXELFORMAT* FindOfferedFormat(const DDPIXELFORMAT& request);

// How pixels of an offered format are stored.
PixelLayout LayoutOf(const DDPIXELFORMAT& offered);

}  // namespace platform::ddraw
