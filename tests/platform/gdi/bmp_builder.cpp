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

void AppendRow(std::vector<std::uint8_t>& bytes, const BmpSpec& spec, int row) {
  const std::size_t start = bytes.size();
  std::uint32_t bitBuffer = 0;
  int bitsHeld = 0;
  for (int x = 0; x < spec.width; ++x) {
    const std::uint32_t value = spec.pixels[static_cast<std::size_t>(row) * spec.width + x];
    if (spec.bitCount < 8) {
      bitBuffer = (bitBuffer << spec.bitCount) | value;
      bitsHeld += spec.bitCount;
      if (bitsHeld == 8) {
        bytes.push_back(static_cast<std::uint8_t>(bitBuffer));
        bitBuffer = 0;
        bitsHeld = 0;
      }
    } else {
      Append(bytes, value, spec.bitCount / 8);
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

std::vector<std::uint8_t> BuildBmp(const BmpSpec& spec) {
  const bool core = spec.headerSize == 12;
  const bool masksAfterHeader = spec.compression == 3 && spec.headerSize == 40;
  const std::size_t tableBytes = spec.colours.size() * (core ? 3 : 4);
  const std::size_t pixelOffset = 14 + spec.headerSize + (masksAfterHeader ? 12 : 0) + tableBytes;

  std::vector<std::uint8_t> bytes{'B', 'M'};
  Append(bytes, 0, 4);  // file size, patched below
  Append(bytes, 0, 4);
  Append(bytes, static_cast<std::uint32_t>(pixelOffset), 4);
  Append(bytes, spec.headerSize, 4);
  if (core) {
    Append(bytes, static_cast<std::uint32_t>(spec.width), 2);
    Append(bytes, static_cast<std::uint32_t>(spec.height), 2);
    Append(bytes, 1, 2);
    Append(bytes, static_cast<std::uint32_t>(spec.bitCount), 2);
  } else {
    Append(bytes, static_cast<std::uint32_t>(spec.width), 4);
    Append(bytes, static_cast<std::uint32_t>(spec.height), 4);
    Append(bytes, 1, 2);
    Append(bytes, static_cast<std::uint32_t>(spec.bitCount), 2);
    Append(bytes, spec.compression, 4);
    Append(bytes, 0, 4);     // image size: may be 0 for uncompressed pictures
    Append(bytes, 2835, 4);  // 72 dpi
    Append(bytes, 2835, 4);
    Append(bytes, spec.coloursUsed, 4);
    Append(bytes, 0, 4);
    for (std::uint32_t at = 40; at < spec.headerSize; at += 4) {
      const std::uint32_t index = (at - 40) / 4;
      Append(bytes, index < 4 ? spec.masks[index] : 0, 4);
    }
    if (masksAfterHeader) {
      for (int i = 0; i < 3; ++i) Append(bytes, spec.masks[i], 4);
    }
  }
  for (std::uint32_t colour : spec.colours) Append(bytes, colour, core ? 3 : 4);
  const int rows = spec.height < 0 ? -spec.height : spec.height;
  for (int i = 0; i < rows; ++i) AppendRow(bytes, spec, spec.height < 0 ? i : rows - 1 - i);
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
