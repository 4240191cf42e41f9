#include "platform/gdi/bmp_reader.h"

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace platform::gdi {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;

// Little-endian fields at offsets the parser has already checked against the file's size.
struct Bytes {
  std::span<const std::uint8_t> data;
  std::uint16_t U16(std::int64_t at) const {
    return static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
  }
  std::uint32_t U32(std::int64_t at) const {
    return static_cast<std::uint32_t>(data[at]) | (static_cast<std::uint32_t>(data[at + 1]) << 8) |
           (static_cast<std::uint32_t>(data[at + 2]) << 16) |
           (static_cast<std::uint32_t>(data[at + 3]) << 24);
  }
  std::int32_t I32(std::int64_t at) const { return static_cast<std::int32_t>(U32(at)); }
};

struct InfoHeader {
  std::uint32_t size = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative for top-down rows
  std::uint16_t planes = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t coloursUsed = 0;
};

std::string Truncated(const char* part, std::int64_t needed, std::int64_t present) {
  return "file is truncated (" + std::string(part) + " needs " + std::to_string(needed) +
         " bytes, " + std::to_string(present < 0 ? 0 : present) + " present)";
}

bool IsKnownHeaderSize(std::uint32_t size) {
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

InfoHeader ReadInfoHeader(const Bytes& bytes, std::uint32_t size) {
  const std::int64_t at = kFileHeaderSize;
  InfoHeader header;
  header.size = size;
  if (size == kCoreHeaderSize) {  // the old core header: 16-bit unsigned sizes, no compression
    header.width = bytes.U16(at + 4);
    header.height = bytes.U16(at + 6);
    header.planes = bytes.U16(at + 8);
    header.bitCount = bytes.U16(at + 10);
    return header;
  }
  header.width = bytes.I32(at + 4);
  header.height = bytes.I32(at + 8);
  header.planes = bytes.U16(at + 12);
  header.bitCount = bytes.U16(at + 14);
  header.compression = bytes.U32(at + 16);
  header.coloursUsed = bytes.U32(at + 32);
  return header;
}

std::string CompressionName(std::uint32_t compression) {
  switch (compression) {
    case 1:
      return " (RLE8)";
    case 2:
      return " (RLE4)";
    case 4:
      return " (JPEG)";
    case 5:
      return " (PNG)";
    case 6:
      return " (alpha bit fields)";
    default:
      return "";
  }
}

// Checks what the header says of the picture's shape; empty when it is usable.
std::string CheckShape(const InfoHeader& header) {
  const std::uint16_t bits = header.bitCount;
  if (header.planes != 1) return "plane count is " + std::to_string(header.planes) + ", not 1";
  const bool coreBits = bits == 1 || bits == 4 || bits == 8 || bits == 24;
  if (!(coreBits || ((bits == 16 || bits == 32) && header.size != kCoreHeaderSize))) {
    return "bit count " + std::to_string(bits) + " is not supported";
  }
  if (header.compression == kBiBitfields && bits != 16 && bits != 32) {
    return "bit-field compression needs 16 or 32 bits, not " + std::to_string(bits);
  }
  if (header.compression != kBiRgb && header.compression != kBiBitfields) {
    return "compression " + std::to_string(header.compression) +
           CompressionName(header.compression) + " is not supported";
  }
  if (header.width <= 0) return "width " + std::to_string(header.width) + " is not positive";
  if (header.height == 0) return "height is 0";
  const std::int64_t height = header.height < 0 ? -header.height : header.height;
  if (header.width > kMaxBmpSide || height > kMaxBmpSide) {
    return "dimensions " + std::to_string(header.width) + "x" + std::to_string(height) +
           " are too large (at most " + std::to_string(kMaxBmpSide) + " pixels a side)";
  }
  return {};
}

bool IsContiguous(std::uint32_t mask) {
  if (mask == 0) return true;
  const std::uint32_t shifted = mask >> std::countr_zero(mask);
  return (shifted & (shifted + 1)) == 0;
}

// Checks bit-field masks: contiguous runs, inside the pixel, not overlapping, some colour.
std::string CheckMasks(const PixelLayout& layout) {
  const std::uint32_t masks[4] = {layout.redMask, layout.greenMask, layout.blueMask,
                                  layout.alphaMask};
  const std::uint32_t room = layout.bitCount == 32 ? 0xFFFFFFFFu : (1u << layout.bitCount) - 1u;
  std::uint32_t seen = 0;
  for (std::uint32_t mask : masks) {
    if (!IsContiguous(mask) || (mask & ~room) != 0 || (mask & seen) != 0) {
      return "colour masks are not usable (each must be one run of bits inside the pixel, "
             "not overlapping)";
    }
    seen |= mask;
  }
  if ((layout.redMask | layout.greenMask | layout.blueMask) == 0) {
    return "colour masks are all zero";
  }
  return {};
}

PixelLayout DefaultLayout(std::uint16_t bits) {
  PixelLayout layout;
  layout.bitCount = bits;
  if (bits <= 8) {
    layout.paletteIndexed = true;
  } else if (bits == 16) {  // uncompressed 16-bit BMPs are 5-5-5
    layout.redMask = 0x7C00;
    layout.greenMask = 0x03E0;
    layout.blueMask = 0x001F;
  } else {  // 24 and 32 bits: blue in the lowest byte; the top byte of 32 is unused
    layout.redMask = 0xFF0000;
    layout.greenMask = 0x00FF00;
    layout.blueMask = 0x0000FF;
  }
  return layout;
}

}  // namespace

std::optional<BmpImage> ParseBmp(std::span<const std::uint8_t> file, std::string* reason) {
  auto fail = [reason](std::string text) -> std::optional<BmpImage> {
    if (reason) *reason = std::move(text);
    return std::nullopt;
  };
  const Bytes bytes{file};
  const auto size = static_cast<std::int64_t>(file.size());
  if (size == 0) return fail("file is empty");
  if (size < kFileHeaderSize + 4) return fail(Truncated("file header", kFileHeaderSize + 4, size));
  if (file[0] != 'B' || file[1] != 'M')
    return fail("not a BMP file (it does not start with \"BM\")");
  const std::uint32_t pixelOffset = bytes.U32(10);
  const std::uint32_t headerSize = bytes.U32(kFileHeaderSize);
  if (!IsKnownHeaderSize(headerSize)) {
    return fail("info header size " + std::to_string(headerSize) +
                " is not one of 12, 40, 52, 56, 108 or 124");
  }
  if (size < kFileHeaderSize + headerSize) {
    return fail(Truncated("info header", headerSize, size - kFileHeaderSize));
  }
  const InfoHeader header = ReadInfoHeader(bytes, headerSize);
  if (std::string problem = CheckShape(header); !problem.empty()) return fail(problem);

  BmpImage image;
  image.width = static_cast<int>(header.width);
  image.height = static_cast<int>(header.height < 0 ? -header.height : header.height);
  image.topDown = header.height < 0;
  image.layout = DefaultLayout(header.bitCount);
  std::int64_t tableStart = kFileHeaderSize + headerSize;
  if (header.compression == kBiBitfields) {
    // The masks follow the first 40 header bytes: inside the longer headers, and after the short
    // one, where a colour table would start.
    const std::int64_t at = kFileHeaderSize + 40;
    if (headerSize == 40) {
      if (size < tableStart + 12)
        return fail(Truncated("colour-mask block", 12, size - tableStart));
      tableStart += 12;
    }
    image.layout.redMask = bytes.U32(at);
    image.layout.greenMask = bytes.U32(at + 4);
    image.layout.blueMask = bytes.U32(at + 8);
    image.layout.alphaMask = headerSize >= 56 ? bytes.U32(at + 12) : 0;
    if (std::string problem = CheckMasks(image.layout); !problem.empty()) return fail(problem);
  }

  // The colour table: the indexed depths need it; deeper pictures may carry one we skip.
  const std::uint32_t allowed = header.bitCount <= 8 ? (1u << header.bitCount) : 256u;
  std::uint32_t entries = header.coloursUsed;
  if (entries == 0 && header.bitCount <= 8) entries = allowed;
  if (entries > allowed) {
    return fail("colour table of " + std::to_string(entries) + " entries is longer than the " +
                std::to_string(allowed) + " a " + std::to_string(header.bitCount) +
                "-bit bitmap allows");
  }
  const std::int64_t entrySize = headerSize == kCoreHeaderSize ? 3 : 4;
  const std::int64_t tableBytes = entries * entrySize;
  if (size < tableStart + tableBytes) {
    return fail(Truncated("colour table", tableBytes, size - tableStart));
  }
  if (header.bitCount <= 8) {
    for (std::uint32_t i = 0; i < entries; ++i) {
      const std::int64_t at = tableStart + i * entrySize;  // blue, green, red
      image.colourTable.push_back({file[at + 2], file[at + 1], file[at]});
    }
  }

  const std::int64_t stride = (header.width * header.bitCount + 31) / 32 * 4;
  const std::int64_t pixelBytes = stride * image.height;
  if (pixelBytes > kMaxBmpPixelBytes) {
    return fail("pixel data of " + std::to_string(pixelBytes) + " bytes is too large");
  }
  if (pixelOffset < tableStart + tableBytes) {
    return fail("pixel data offset " + std::to_string(pixelOffset) +
                " lies inside the headers and colour table (they end at " +
                std::to_string(tableStart + tableBytes) + ")");
  }
  if (pixelOffset > size) {
    return fail("pixel data offset " + std::to_string(pixelOffset) +
                " lies beyond the end of the file (" + std::to_string(size) + " bytes)");
  }
  if (size - pixelOffset < pixelBytes) {
    return fail(Truncated("pixel data", pixelBytes, size - pixelOffset));
  }
  image.stride = static_cast<int>(stride);
  image.rows.assign(file.begin() + pixelOffset, file.begin() + pixelOffset + pixelBytes);
  return image;
}

std::optional<BmpImage> ReadBmpFile(const std::string& path, std::string* reason) {
  auto fail = [&](const std::string& text) -> std::optional<BmpImage> {
    if (reason) *reason = path + ": " + text;
    return std::nullopt;
  };
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) return fail("file not found");
  if (!std::filesystem::is_regular_file(status)) return fail("not a regular file");
  const std::uintmax_t fileSize = std::filesystem::file_size(path, error);
  if (error) return fail("cannot be read (" + error.message() + ")");
  // A picture within the limits plus generous headers; anything bigger is not ours to read.
  if (fileSize > static_cast<std::uintmax_t>(kMaxBmpPixelBytes) + 65536) {
    return fail("file is too large (" + std::to_string(fileSize) + " bytes)");
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
  if (!stream) return fail(std::string("cannot be opened (") + std::strerror(errno) + ")");
  std::vector<std::uint8_t> contents(fileSize);
  const std::size_t got = std::fread(contents.data(), 1, contents.size(), stream.get());
  contents.resize(got);  // a file that shrank meanwhile is judged by what was read
  std::string why;
  std::optional<BmpImage> image = ParseBmp(contents, &why);
  if (!image) return fail(why);
  return image;
}

}  // namespace platform::gdi
