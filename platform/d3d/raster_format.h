// Which of the rasterizer's texture formats a surface's pixel layout is, for sampling a texture
// surface.
#pragma once

#include <optional>

#include "platform/core/pixel_buffer.h"
#include "platform/raster/raster.h"

namespace platform::d3d {

// The rasterizer's name for a surface layout, or empty for layouts it cannot sample (24-bit,
// 4-bit indexed).
std::optional<raster::TextureFormat> RasterFormatOf(const PixelLayout& layout);

}  // namespace platform::d3d
