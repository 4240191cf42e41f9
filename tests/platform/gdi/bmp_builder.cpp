#include "tests/platform/gdi/bmp_builder.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace tirravel::test {

std::string WriteTempFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  static const TempFolder folder;
  const std::string path = folder.File(name);
  std::string error;
  EXPECT_TRUE(bmp::WriteBytes(path, bytes, error)) << error;
  return path;
}

}  // namespace tirravel::test
