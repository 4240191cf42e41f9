// A kept line's runs in SSE2, which every x86-64 processor has.
#include "platform/gdi/text_runs_lanes.h"
#include "platform/pixel/lanes_sse2.h"

namespace platform::gdi {

TextDrawers TextDrawersSse2() {
  return DrawersWith<pixel::LanesSse2>();
}

}  // namespace platform::gdi
