#include "tests/platform/gdi/bmp_builder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace tirravel::test {
namespace {

void Append(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void AppendRow(std::vector<std::uint8_t>& bytes, const BmpShape& shape, int row) {
  const std::size_t start = bytes.size();
  std::uint32_t bitBuffer = 0;
  int bitsHeld = 0;
  for (int x = 0; x < shape.width; ++x) {
    const std::uint32_t value = shape.pixels[static_cast<std::size_t>(row) * shape.width + x];
    if (shape.bitCount < 8) {
      bitBuffer = (bitBuffer << shape.bitCount) | value;
      bitsHeld += shape.bitCount;
      if (bitsHeld == 8) {
        bytes.push_back(static_cast<std::uint8_t>(bitBuffer));
        bitBuffer = 0;
        bitsHeld = 0;
      }
    } else {
      Append(bytes, value, shape.bitCount / 8);
    }
  }
  if (bitsHeld > 0) bytes.push_back(static_cast<std::uint8_t>(bitBuffer << (8 - bitsHeld)));
  while ((bytes.size() - start) % 4 != 0) bytes.push_back(0);
}

}  // namespace

void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  bytes[at] = static_cast<std::uint8_t>(value);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<std::uint8_t> BuildBmp(const BmpShape& shape) {
  const bool core = shape.headerSize == 12;
  const bool masksAfterHeader = shape.compression == 3 && shape.headerSize == 40;
  const std::size_t tableBytes = shape.colours.size() * (core ? 3 : 4);
  const std::size_t pixelOffset = 14 + shape.headerSize + (masksAfterHeader ? 12 : 0) + tableBytes;

  std::vector<std::uint8_t> bytes{'B', 'M'};
  Append(bytes, 0, 4);  // file size, patched below
  Append(bytes, 0, 4);
  Append(bytes, static_cast<std::uint32_t>(pixelOffset), 4);
  Append(bytes, shape.headerSize, 4);
  if (core) {
    Append(bytes, static_cast<std::uint32_t>(shape.width), 2);
    Append(bytes, static_cast<std::uint32_t>(shape.height), 2);
    Append(bytes, 1, 2);
    Append(bytes, static_cast<std::uint32_t>(shape.bitCount), 2);
  } else {
    Append(bytes, static_cast<std::uint32_t>(shape.width), 4);
    Append(bytes, static_cast<std::uint32_t>(shape.height), 4);
    Append(bytes, 1, 2);
    Append(bytes, static_cast<std::uint32_t>(shape.bitCount), 2);
    Append(bytes, shape.compression, 4);
    Append(bytes, 0, 4);     // image size: may be 0 for uncompressed pictures
    Append(bytes, 2835, 4);  // 72 dpi
    Append(bytes, 2835, 4);
    Append(bytes, shape.coloursUsed, 4);
    Append(bytes, 0, 4);
    for (std::uint32_t at = 40; at < shape.headerSize; at += 4) {
      const std::uint32_t index = (at - 40) / 4;
      Append(bytes, index < 4 ? shape.masks[index] : 0, 4);
    }
    if (masksAfterHeader) {
      for (int i = 0; i < 3; ++i) Append(bytes, shape.masks[i], 4);
    }
  }
  for (std::uint32_t colour : shape.colours) Append(bytes, colour, core ? 3 : 4);
  const int rows = shape.height < 0 ? -shape.height : shape.height;
  for (int i = 0; i < rows; ++i) AppendRow(bytes, shape, shape.height < 0 ? i : rows - 1 - i);
  Put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
  return bytes;
}

namespace {
std::filesystem::path TempDirectory() {
  return std::filesystem::temp_directory_path() / ("tirravel_gdi_test_" + std::to_string(getpid()));
}
}  // namespace

std::string WriteTempFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path directory = TempDirectory();
  std::filesystem::create_directories(directory);
  const std::filesystem::path path = directory / name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

void RemoveTempFiles() {
  std::error_code ignored;
  std::filesystem::remove_all(TempDirectory(), ignored);
}

}  // namespace tirravel::test
