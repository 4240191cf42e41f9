#include "platform/core/resource_name.h"

#include <cstdint>

namespace platform {

bool IsResourceNumber(const char* name) {
  return reinterpret_cast<std::uintptr_t>(name) < 0x10000;
}

std::string ResourceNameText(const char* name) {
  if (!IsResourceNumber(name)) return name;
  return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name));
}

}  // namespace platform
