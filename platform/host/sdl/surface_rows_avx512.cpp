// Rows widened and spread sixteen pixels at a time with AVX-512, for processors that have it
// (ChosenWidenRow and ChosenSpreadRow ask). Everything this file defines after the begin
// header is compiled for AVX-512; the headers it shares with other files are included first,
// so their code stays plain x86-64.
#include <cstdint>
#include <cstring>

#include "platform/host/sdl/surface_rows.h"

#include "platform/pixel/avx512_begin.h"

#include "platform/host/sdl/surface_rows_lanes.h"

namespace platform::host::sdl {

typedef std::uint16_t Narrow16 __attribute__((vector_size(32)));
typedef std::uint32_t Wide16 __attribute__((vector_size(64)));

void WidenRowAvx512(const std::uint16_t* source, std::uint32_t* target, int count,
                    const WidePlacement& placement) {
  WidenRowIn<Narrow16, Wide16>(source, target, count, placement);
}

void SpreadRowAvx512(const std::uint32_t* line, const int* columns, std::uint32_t* target,
                     int count) {
  SpreadRowIn<Wide16>(line, columns, target, count);
}

}  // namespace platform::host::sdl

#include "platform/pixel/target_end.h"
