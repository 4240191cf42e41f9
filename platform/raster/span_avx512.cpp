// The span drawers in AVX-512, for processors that have it (SelectKernelDrawers asks at run
// time). Everything this file defines is compiled for AVX-512; the headers it shares with other
// files are included first, so their code stays plain x86-64.
#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "platform/raster/pixel_math.h"
#include "platform/raster/pixel_state.h"
#include "platform/raster/setup.h"
#include "platform/raster/span.h"

#include "platform/pixel/avx512_begin.h"

#include "platform/pixel/lanes_avx512.h"
#include "platform/raster/span_table.h"

namespace platform::raster {

KernelDrawers SelectKernelDrawersAvx512(TextureFormat format, bool fog) {
  return SpanTable<pixel::LanesAvx512>::Select(format, fog);
}

}  // namespace platform::raster
#include "platform/pixel/target_end.h"
