// Decoding the game's text bytes: Shift-JIS as Windows code page 932 has it (glibc's "CP932":
// 0x5C is the backslash, 0x7E the tilde, and the NEC and IBM extensions are there).
#pragma once

#include <string>

namespace platform::gdi {

// Stands for a byte that starts no character: a stray trail byte, an unassigned code, or a lead
// byte whose trail byte lies beyond the given length. It draws as the face's missing-glyph box.
inline constexpr char32_t kUndecodable = 0xFFFFFFFFu;

class Cp932Decoder {
 public:
  Cp932Decoder();
  ~Cp932Decoder();
  Cp932Decoder(const Cp932Decoder&) = delete;
  Cp932Decoder& operator=(const Cp932Decoder&) = delete;

  // Decodes exactly length bytes (never reading past them) into characters: one per single-byte
  // character, one per two-byte character, kUndecodable per byte that starts none. Without
  // glibc's CP932 converter, ASCII decodes as itself and every other byte is kUndecodable.
  std::u32string Decode(const char* bytes, int length);

  // Whether glibc's CP932 converter could be opened.
  bool HasConverter() const;

 private:
  void* converter_;  // glibc iconv handle, or null when CP932 is unavailable
};

}  // namespace platform::gdi
