// A kept line's runs in AVX-512, for processors that have it (DrawLineRgb565 asks), with AVX2 for
// the ends of blended runs, which come in blocks narrower than its registers. Everything this file
// defines is compiled for AVX-512; the headers it shares with other files are included first, so
// their code stays plain x86-64.
#include <immintrin.h>

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "platform/gdi/rgb565_blend.h"
#include "platform/gdi/text_runs.h"

#include "platform/pixel/avx512_begin.h"

#include "platform/gdi/text_runs_lanes.h"
#include "platform/pixel/lanes_avx2.h"
#include "platform/pixel/lanes_avx512.h"

namespace platform::gdi {

TextDrawers TextDrawersAvx512() {
  return DrawersWith<pixel::LanesAvx512, pixel::LanesAvx2>();
}

}  // namespace platform::gdi
#include "platform/pixel/target_end.h"
