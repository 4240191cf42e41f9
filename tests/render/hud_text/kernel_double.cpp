// The three kernel calls the text overlay makes, counted, with an allocation that can be made to
// fail. They take the place of the platform's own in this test program.
#include "tests/render/hud_text/kernel_double.h"

#include <cstdlib>
#include <cstring>

namespace tirravel::test {
KernelLog kernel;
}  // namespace tirravel::test

using tirravel::test::kernel;

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes) {
  ++kernel.allocations;
  kernel.lastFlags = flags;
  kernel.lastBytes = bytes;
  if (kernel.failAllocation) return nullptr;
  return std::calloc(1, bytes);
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  ++kernel.frees;
  std::free(memory);
  return nullptr;
}

LPSTR lstrcpyA(LPSTR destination, LPCSTR source) {
  return std::strcpy(destination, source);
}
