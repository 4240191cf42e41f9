#include "tools/soak/resident_memory.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <system_error>
#include <thread>

std::uint64_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::uint64_t totalPages = 0;
  std::uint64_t residentPages = 0;
  if (!(statm >> totalPages >> residentPages)) return 0;
  return residentPages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

int ThreadCount() {
  std::error_code error;
  int threads = 0;
  for (std::filesystem::directory_iterator task("/proc/self/task", error), end;
       !error && task != end; task.increment(error)) {
    ++threads;
  }
  return error ? 0 : threads;
}

int BaselineThreadCount() {
  std::thread([] {}).join();
  return ThreadCount();
}
