// The process's resident memory, as the kernel counts it.
#pragma once

#include <cstdint>

// Resident bytes now (from /proc/self/statm); 0 when the kernel does not say.
std::uint64_t ResidentBytes();
