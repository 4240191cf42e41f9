#include "platform/ddraw/render_geometry.h"

#include <cmath>

namespace platform::ddraw {

std::optional<RenderGeometry> GeometryFor(const RenderRequest& request, int displayWidth,
                                          int displayHeight, std::string* error) {
  const bool displayKnown = displayWidth > 0 && displayHeight > 0;
  RenderGeometry geometry;
  geometry.scale =
      request.native && displayKnown ? static_cast<float>(displayHeight) / 480.0f : request.scale;
  // Written so that a NaN fails too.
  if (!(geometry.scale >= 1.0f && geometry.scale * 480.0f <= kMaxDisplaySide)) {
    if (error) *error = "the render scale must make a display of 480 to 8192 rows";
    return std::nullopt;
  }
  // Rounded as every mapping of the game's coordinates rounds (PhysicalX, PhysicalY): for a
  // native scale this gives back the display's height exactly.
  geometry.height = static_cast<int>(std::lround(480.0f * geometry.scale));
  const int gameWidth = static_cast<int>(std::lround(640.0f * geometry.scale));
  geometry.width = gameWidth;
  if (request.view == ViewShape::Wide && displayKnown) {
    const long long shaped =
        (static_cast<long long>(geometry.height) * displayWidth + displayHeight / 2) /
        displayHeight;
    const long long margin = shaped > gameWidth ? (shaped - gameWidth) / 2 : 0;
    geometry.originX = static_cast<int>(margin < kMaxDisplaySide ? margin : kMaxDisplaySide);
    geometry.width = gameWidth + 2 * geometry.originX;
  }
  if (geometry.width > kMaxDisplaySide) {
    if (error) *error = "the wide view would make a display wider than 8192 columns";
    return std::nullopt;
  }
  return geometry;
}

}  // namespace platform::ddraw
