#include "tools/bmp/bmp_writer.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace bmp {
namespace {

constexpr std::uint32_t kResolution = 2835;  // pixels per metre: 72 dots per inch

void Append(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void AppendRow(std::vector<std::uint8_t>& bytes, const BmpShape& shape, int row) {
  const std::size_t start = bytes.size();
  std::uint32_t bitBuffer = 0;
  int bitsHeld = 0;
  for (int x = 0; x < shape.width; ++x) {
    const std::uint32_t value =
        shape.pixels.at(static_cast<std::size_t>(row) * shape.width + static_cast<std::size_t>(x));
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

void AppendInfoHeader(std::vector<std::uint8_t>& bytes, const BmpShape& shape,
                      std::uint32_t imageSize) {
  Append(bytes, shape.headerSize, 4);
  if (shape.headerSize == 12) {  // BITMAPCOREHEADER
    Append(bytes, static_cast<std::uint32_t>(shape.width), 2);
    Append(bytes, static_cast<std::uint32_t>(shape.height), 2);
    Append(bytes, 1, 2);
    Append(bytes, static_cast<std::uint32_t>(shape.bitCount), 2);
    return;
  }
  Append(bytes, static_cast<std::uint32_t>(shape.width), 4);
  Append(bytes, static_cast<std::uint32_t>(shape.height), 4);
  Append(bytes, 1, 2);
  Append(bytes, static_cast<std::uint32_t>(shape.bitCount), 2);
  Append(bytes, shape.compression, 4);
  Append(bytes, imageSize, 4);
  Append(bytes, kResolution, 4);
  Append(bytes, kResolution, 4);
  Append(bytes, shape.coloursUsed, 4);
  Append(bytes, 0, 4);  // important colours: all
  for (std::uint32_t at = 40; at < shape.headerSize; at += 4) {
    const std::uint32_t index = (at - 40) / 4;
    Append(bytes, index < 4 ? shape.masks[index] : 0, 4);
  }
  if (shape.compression == 3 && shape.headerSize == 40) {  // the masks after the header
    for (int i = 0; i < 3; ++i) Append(bytes, shape.masks[i], 4);
  }
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const BmpShape& shape) {
  const bool core = shape.headerSize == 12;
  const bool masksAfterHeader = shape.compression == 3 && shape.headerSize == 40;
  const std::size_t tableBytes = shape.colours.size() * (core ? 3 : 4);
  // From the header size as written, which a malformed file may give wrong.
  const std::size_t pixelOffset = 14 + shape.headerSize + (masksAfterHeader ? 12 : 0) + tableBytes;
  const int rows = shape.height < 0 ? -shape.height : shape.height;
  std::vector<std::uint8_t> pixels;
  for (int i = 0; i < rows; ++i) AppendRow(pixels, shape, shape.height < 0 ? i : rows - 1 - i);

  std::vector<std::uint8_t> bytes{'B', 'M'};
  Append(bytes, 0, 4);  // file size, patched below
  Append(bytes, 0, 4);  // two reserved words
  Append(bytes, static_cast<std::uint32_t>(pixelOffset), 4);
  AppendInfoHeader(bytes, shape,
                   shape.imageSizeWritten ? static_cast<std::uint32_t>(pixels.size()) : 0);
  for (std::uint32_t colour : shape.colours) Append(bytes, colour, core ? 3 : 4);
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  Put32(bytes, kFileSizeField, static_cast<std::uint32_t>(bytes.size()));
  return bytes;
}

void Put16(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t value) {
  file.at(at) = static_cast<std::uint8_t>(value);
  file.at(at + 1) = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t value) {
  Put16(file, at, value & 0xFFFFu);
  Put16(file, at + 2, value >> 16);
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes,
                std::string& error) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace bmp
