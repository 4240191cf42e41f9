#include "platform/d3d/physical_viewport.h"

#include <cmath>

namespace platform::d3d {
namespace {

// Beyond this no display surface reaches; such a viewport is passed on as the game gave it, for
// the rasterizer to judge against the target.
constexpr std::uint32_t kMaxSide = 8192;

}  // namespace

raster::Viewport PhysicalViewport(const D3DVIEWPORT2& v, const PixelBuffer& target) {
  raster::Viewport out{v.dwX,     v.dwY,         v.dwWidth,      v.dwHeight, v.dvClipX,
                       v.dvClipY, v.dvClipWidth, v.dvClipHeight, v.dvMinZ,   v.dvMaxZ};
  const bool asDesigned = target.scale == 1.0f && target.originX == 0;
  if (asDesigned || v.dwX > kMaxSide || v.dwY > kMaxSide || v.dwWidth > kMaxSide ||
      v.dwHeight > kMaxSide) {
    return out;
  }
  const int x0 = PhysicalX(target, static_cast<int>(v.dwX));
  const int x1 = PhysicalX(target, static_cast<int>(v.dwX + v.dwWidth));
  const int y0 = PhysicalY(target, static_cast<int>(v.dwY));
  const int y1 = PhysicalY(target, static_cast<int>(v.dwY + v.dwHeight));
  out.dwY = static_cast<std::uint32_t>(y0);
  out.dwHeight = static_cast<std::uint32_t>(y1 - y0);
  // The side columns of the wide view belong to a viewport that reaches the game's edge.
  const int left = target.originX > 0 && v.dwX == 0 ? 0 : x0;
  const int right = target.originX > 0 && x1 == target.width - target.originX ? target.width : x1;
  out.dwX = static_cast<std::uint32_t>(left);
  out.dwWidth = static_cast<std::uint32_t>(right - left);
  if (left != x0 || right != x1) {
    const float clipPerPixel = v.dvClipWidth / static_cast<float>(x1 - x0);
    out.dvClipX = v.dvClipX - static_cast<float>(x0 - left) * clipPerPixel;
    out.dvClipWidth = static_cast<float>(right - left) * clipPerPixel;
  }
  return out;
}

int LineWidthFor(const PixelBuffer& target) {
  const long width = std::lround(target.scale);
  return width > 1 ? static_cast<int>(width) : 1;
}

}  // namespace platform::d3d
