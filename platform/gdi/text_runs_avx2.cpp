// A kept line's runs in AVX2, for processors that have it (DrawLineRgb565 asks). Everything this
// file defines is compiled for AVX2; the headers it shares with other files are included first,
// so their code stays plain x86-64.
#include <immintrin.h>

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "platform/gdi/rgb565_blend.h"
#include "platform/gdi/text_runs.h"

#include "platform/pixel/avx2_begin.h"

#include "platform/gdi/text_runs_lanes.h"
#include "platform/pixel/lanes_avx2.h"

namespace platform::gdi {

TextDrawers TextDrawersAvx2() {
  return DrawersWith<pixel::LanesAvx2>();
}

}  // namespace platform::gdi
#include "platform/pixel/target_end.h"
