// The span drawers in AVX2, for processors that have it (SelectKernelDrawers asks at run time).
// Everything this file defines is compiled for AVX2; the headers it shares with other files are
// included first, so their code stays plain x86-64.
#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "platform/raster/pixel_math.h"
#include "platform/raster/pixel_state.h"
#include "platform/raster/setup.h"
#include "platform/raster/span.h"

#include "platform/pixel/avx2_begin.h"

#include "platform/pixel/lanes_avx2.h"
#include "platform/raster/span_table.h"

namespace platform::raster {

KernelDrawers SelectKernelDrawersAvx2(TextureFormat format, bool fog) {
  return SpanTable<pixel::LanesAvx2>::Select(format, fog);
}

}  // namespace platform::raster
#include "platform/pixel/target_end.h"
