#include "platform/host/sdl/surface_rows.h"

#include "platform/pixel/lane_choice.h"
#include "platform/pixel/rgb565.h"

#include "platform/host/sdl/surface_rows_lanes.h"

namespace platform::host::sdl {

void WidenRowPlain(const std::uint16_t* source, std::uint32_t* target, int count,
                   const WidePlacement& placement) {
  for (int x = 0; x < count; ++x) {
    const std::uint32_t colour = source[x];
    target[x] = pixel::Widen5(colour >> 11) << placement.redShift |
                pixel::Widen6((colour >> 5) & 0x3Fu) << placement.greenShift |
                pixel::Widen5(colour & 0x1Fu) << placement.blueShift | placement.alwaysSet;
  }
}

typedef std::uint16_t Narrow4 __attribute__((vector_size(8)));
typedef std::uint32_t Wide4 __attribute__((vector_size(16)));

void WidenRowSse2(const std::uint16_t* source, std::uint32_t* target, int count,
                  const WidePlacement& placement) {
  WidenRowIn<Narrow4, Wide4>(source, target, count, placement);
}

void SpreadRowPlain(const std::uint32_t* line, const int* columns, std::uint32_t* target,
                    int count) {
  for (int x = 0; x < count; ++x) target[x] = line[columns[x]];
}

WidenRow ChosenWidenRow() {
  if (pixel::LanesAreAvx512()) return WidenRowAvx512;
  if (pixel::LanesAreAvx2()) return WidenRowAvx2;
  return WidenRowSse2;
}

SpreadRow ChosenSpreadRow() {
  if (pixel::LanesAreAvx512()) return SpreadRowAvx512;
  if (pixel::LanesAreAvx2()) return SpreadRowAvx2;
  return SpreadRowPlain;
}

}  // namespace platform::host::sdl
