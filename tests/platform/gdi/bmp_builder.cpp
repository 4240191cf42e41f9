#include "tests/platform/gdi/bmp_builder.h"

#include <filesystem>

#include <gtest/gtest.h>
#include <unistd.h>

namespace tirravel::test {
namespace {

std::filesystem::path TempDirectory() {
  return std::filesystem::temp_directory_path() / ("tirravel_gdi_test_" + std::to_string(getpid()));
}

}  // namespace

std::string WriteTempFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path directory = TempDirectory();
  std::filesystem::create_directories(directory);
  const std::string path = (directory / name).string();
  std::string error;
  EXPECT_TRUE(bmp::WriteBytes(path, bytes, error)) << error;
  return path;
}

void RemoveTempFiles() {
  std::error_code ignored;
  std::filesystem::remove_all(TempDirectory(), ignored);
}

}  // namespace tirravel::test
