#include "platform/gdi/cp932.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <vector>

namespace platform::gdi {
namespace {

constexpr const char* kNativeUtf32 =
    std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

}  // namespace

Cp932Decoder::Cp932Decoder() {
  iconv_t handle = iconv_open(kNativeUtf32, "CP932");
  converter_ = handle == kNoConverter ? nullptr : handle;
}

Cp932Decoder::~Cp932Decoder() {
  if (converter_) iconv_close(static_cast<iconv_t>(converter_));
}

bool Cp932Decoder::HasConverter() const {
  return converter_ != nullptr;
}

std::u32string Cp932Decoder::Decode(const char* bytes, int length) {
  std::u32string characters;
  if (!bytes || length <= 0) return characters;
  if (!converter_) {
    for (int i = 0; i < length; ++i) {
      const auto byte = static_cast<unsigned char>(bytes[i]);
      characters.push_back(byte < 0x80 ? char32_t{byte} : kUndecodable);
    }
    return characters;
  }
  const auto converter = static_cast<iconv_t>(converter_);
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  // Each character takes at least one byte, so length characters are room enough.
  std::vector<char32_t> decoded(static_cast<std::size_t>(length));
  char* in = const_cast<char*>(bytes);
  std::size_t inLeft = static_cast<std::size_t>(length);
  char* out = reinterpret_cast<char*>(decoded.data());
  std::size_t outLeft = decoded.size() * sizeof(char32_t);
  while (inLeft > 0) {
    if (iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) break;
    if (errno != EILSEQ && errno != EINVAL) break;
    // EILSEQ: this byte starts no character; EINVAL: a lead byte whose trail byte lies past the
    // length. Either way the byte stands alone and decoding goes on after it.
    char32_t marker = kUndecodable;
    std::memcpy(out, &marker, sizeof marker);
    out += sizeof marker;
    outLeft -= sizeof marker;
    ++in;
    --inLeft;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
  }
  const std::size_t count = (decoded.size() * sizeof(char32_t) - outLeft) / sizeof(char32_t);
  characters.assign(decoded.data(), count);
  return characters;
}

}  // namespace platform::gdi
