// The span drawers in SSE2, which every x86-64 processor has.
#include "platform/pixel/lanes_sse2.h"
#include "platform/raster/span_table.h"

namespace platform::raster {

KernelDrawers SelectKernelDrawersSse2(TextureFormat format, bool fog) {
  return SpanTable<pixel::LanesSse2>::Select(format, fog);
}

}  // namespace platform::raster
