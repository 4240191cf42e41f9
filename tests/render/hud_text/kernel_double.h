// Counts of the kernel calls the text overlay makes (see kernel_double.cpp).
#pragma once

#include <cstddef>

#include "platform/api/win32.h"

namespace tirravel::test {

struct KernelLog {
  int allocations = 0;
  int frees = 0;
  UINT lastFlags = 0;
  std::size_t lastBytes = 0;
  bool failAllocation = false;  // GlobalAlloc answers null while set
};
extern KernelLog kernel;

}  // namespace tirravel::test
