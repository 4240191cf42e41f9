// The size the display's pictures are drawn at. The game always sees a 640 × 480 display; at a
// render scale k the primary surface and its back buffer hold k times as many pixels on each
// side, and with the wide view they widen to the display's shape. Chosen by the program's options
// before the game starts; k = 1 and the 4:3 view, the default, is the game as designed.
#pragma once

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

}  // namespace platform::ddraw
