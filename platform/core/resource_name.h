// Names that Windows also accepts as resource numbers (MAKEINTRESOURCE puts a number below
// 0x10000 where a string pointer is expected): telling them apart, and showing either in a
// message.
#pragma once

#include <string>

namespace platform {

bool IsResourceNumber(const char* name);

// "#12" for a resource number, the name itself otherwise.
std::string ResourceNameText(const char* name);

}  // namespace platform
