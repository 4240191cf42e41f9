// BMP files for the reader's tests, built by the shared writer (any header size, depth, row
// order and colour table) and kept in the test's own temporary directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/bmp/bmp_writer.h"

namespace tirravel::test {

using bmp::BmpShape;
using bmp::EncodeBmp;
using bmp::Put16;
using bmp::Put32;

// Writes bytes to a fresh file in the process's own temporary folder, which goes when the tests
// are over; returns its path.
std::string WriteTempFile(const std::string& name, const std::vector<std::uint8_t>& bytes);

}  // namespace tirravel::test
