// What the process holds, as the kernel counts it: resident memory and threads.
#pragma once

#include <cstdint>

// Resident bytes now (from /proc/self/statm); 0 when the kernel does not say.
std::uint64_t ResidentBytes();

// The process's threads now, its main thread included (the entries of /proc/self/task); 0 when
// the kernel does not say.
int ThreadCount();

// ThreadCount() before a run that starts threads: ThreadSanitizer starts a thread of its own with
// the process's second thread, so one is started and joined first, and the sanitizer's counted.
int BaselineThreadCount();
