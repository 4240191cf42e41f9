// The size the display's pictures are drawn at. The game always sees a 640 × 480 display; at a
// render scale k the primary surface and its back buffer hold k times as many pixels on each
// side, and with the wide view they widen to the display's shape. Chosen by the program's options
// before the game starts; k = 1 and the 4:3 view, the default, is the game as designed.
#pragma once

#include <optional>
#include <string>

namespace platform::ddraw {

enum class ViewShape {
  Classic,  // the game's own 4:3
  Wide,     // the display's shape: the picture widens, its height stays
};

struct RenderRequest {
  float scale = 1.0f;   // k, from 1; ignored when `native`
  bool native = false;  // k = the display's height / 480
  ViewShape view = ViewShape::Classic;
};

// Takes effect for the display surfaces made after it.
void RequestRender(const RenderRequest& request);
const RenderRequest& RequestedRender();

// The display surfaces' memory for a request: physical size, and where the game's 640 × 480
// lands in it (physical x = logical x × scale + originX, y = logical y × scale). The game's area
// is centred: as many columns lie right of it as left of it, so it spans originX to
// width − originX.
struct RenderGeometry {
  int width = 640;
  int height = 480;
  float scale = 1.0f;
  int originX = 0;
};

// The largest side of a display surface, the rasterizer's limit.
inline constexpr int kMaxDisplaySide = 8192;

// The geometry of `request` on a display of displayWidth × displayHeight pixels (used by
// `native` and the wide view only). Height round(480 k), width round(640 k); the wide view widens
// it to the display's shape, never narrows it, by the same number of columns on each side. Empty,
// with *error set to one line, for a scale below 1 or a side beyond kMaxDisplaySide.
std::optional<RenderGeometry> GeometryFor(const RenderRequest& request, int displayWidth,
                                          int displayHeight, std::string* error);

}  // namespace platform::ddraw
