// The kernel calls: the tick counter over the host's clock, fixed global memory and the
// program's module handle.
#include <cstdlib>

#include "platform/api/win32.h"
#include "platform/core/last_error.h"
#include "platform/host/host.h"
#include "platform/win32/win32_state.h"

namespace platform::win32 {
namespace {

// Only the address matters: the module handle of the one program that runs.
constexpr char kProgramModule = 0;

}  // namespace
}  // namespace platform::win32

using platform::Fail;

DWORD GetTickCount() {
  return platform::host::TickMilliseconds();
}

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes) {
  if ((flags & ~GPTR) != 0) {
    return Fail(nullptr, "GlobalAlloc: only fixed memory is available");
  }
  // A zero-byte block still gets its own address, as the real call gives.
  const std::size_t size = bytes == 0 ? 1 : bytes;
  void* block = (flags & GMEM_ZEROINIT) ? std::calloc(1, size) : std::malloc(size);
  if (!block) {
    return Fail(nullptr, "GlobalAlloc: out of memory");
  }
  platform::win32::State().liveBlocks.insert(block);
  return block;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  if (!memory) return nullptr;
  if (platform::win32::State().liveBlocks.erase(memory) == 0) {
    return Fail(memory, "GlobalFree: not a block from GlobalAlloc");
  }
  std::free(memory);
  return nullptr;
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  if (moduleName == nullptr) {
    return reinterpret_cast<HMODULE>(const_cast<char*>(&platform::win32::kProgramModule));
  }
  return Fail(nullptr, std::string("GetModuleHandleA: no module \"") + moduleName + "\"");
}
