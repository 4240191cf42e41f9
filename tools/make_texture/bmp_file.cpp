#include "tools/make_texture/bmp_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kResolution = 2835;  // pixels per metre: 72 dots per inch

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFFu);
  Put16(out, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp24(const RgbImage& image) {
  const std::uint32_t width = static_cast<std::uint32_t>(image.width);
  const std::uint32_t height = static_cast<std::uint32_t>(image.height);
  const std::uint32_t rowBytes = (width * 3 + 3) & ~3u;
  const std::uint32_t pixelBytes = rowBytes * height;
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

  std::vector<std::uint8_t> out;
  out.reserve(offset + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + pixelBytes);  // file size
  Put32(out, 0);                    // two reserved words
  Put32(out, offset);               // where the pixels start
  Put32(out, kInfoHeaderSize);
  Put32(out, width);
  Put32(out, height);  // positive: bottom-up
  Put16(out, 1);       // planes
  Put16(out, 24);      // bits per pixel
  Put32(out, 0);       // BI_RGB
  Put32(out, pixelBytes);
  Put32(out, kResolution);
  Put32(out, kResolution);
  Put32(out, 0);  // colours used: none, there is no colour table
  Put32(out, 0);  // important colours: all
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb& texel = image.At(x, y);
      out.push_back(texel.b);
      out.push_back(texel.g);
      out.push_back(texel.r);
    }
    for (std::uint32_t pad = width * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
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
