// Any bytes as 3-D drawing: a texture of any of the seven formats, size and colour key; every
// render and light state with any value; world, view and projection matrices and viewports,
// degenerate and huge ones too; and triangle and line lists of vertices anywhere (NaN,
// infinities, denormals, w near zero, on and across the clip planes). Both software devices draw
// them through DirectDraw and Direct3D as the game does, each into its own back buffer, and the
// two pictures must agree in every pixel. Nothing may read or write out of bounds, and every
// object made is given back. The input's layout is described in device_input.h.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/device_input.h"
#include "fuzz/device_pair.h"
#include "platform/testing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  device_fuzz::MakeScreens();  // made before counting, so they are not taken for leaks
  const int liveBefore = platform::testing::LiveObjects();
  device_fuzz::DrawOnBothDevices(device_fuzz::DecodeDeviceInput(data, size));
  if (platform::testing::LiveObjects() != liveBefore) {
    std::fprintf(stderr, "platform objects were left: %d before, %d after\n", liveBefore,
                 platform::testing::LiveObjects());
    std::abort();
  }
  device_fuzz::CompareBackBuffers();
  return 0;
}
