// Decoding the game's text bytes as code page 932.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/gdi/cp932.h"

namespace {

using platform::gdi::Cp932Decoder;
using platform::gdi::kUndecodable;

// Decodes bytes from a heap block of exactly their size, so AddressSanitizer catches any read
// past the length.
std::u32string DecodeExactly(Cp932Decoder& decoder, const std::string& bytes) {
  auto block = std::make_unique<char[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), block.get());
  return decoder.Decode(block.get(), static_cast<int>(bytes.size()));
}

TEST(Cp932Test, DecodesTheGamesMixOfSingleAndDoubleByteCharacters) {
  Cp932Decoder decoder;
  ASSERT_TRUE(decoder.HasConverter()) << "glibc's CP932 converter is missing";
  EXPECT_EQ(DecodeExactly(decoder, "SPEED 12"), U"SPEED 12");
  // "SHIFTを押す": a double-byte character is two bytes of the length.
  EXPECT_EQ(DecodeExactly(decoder, "SHIFT\x82\xf0\x89\x9f\x82\xb7"), U"SHIFTを押す");
  // The arrows and the ideographic space of the control lines.
  EXPECT_EQ(DecodeExactly(decoder, "\x81\xaa\x81\xa9\x81\xa8\x81\x40"), U"↑←→\u3000");
  // Full-width Z, and half-width katakana: "ﾊﾞ" is two characters of one byte each.
  EXPECT_EQ(DecodeExactly(decoder, "\x82\x79\xca\xde"), U"Ｚﾊﾞ");
}

TEST(Cp932Test, FollowsCodePage932WhereShiftJisDiffers) {
  Cp932Decoder decoder;
  EXPECT_EQ(DecodeExactly(decoder, "\x5c\x7e"), U"\\~");  // not the yen sign and overline
  EXPECT_EQ(DecodeExactly(decoder, "\x87\x40"), U"①");    // NEC extension
  EXPECT_EQ(DecodeExactly(decoder, "\xfa\x40"), U"ⅰ");    // IBM extension
  EXPECT_EQ(DecodeExactly(decoder, "\x81\x60"), U"～");   // full-width tilde, not the wave dash
}

TEST(Cp932Test, BytesThatStartNoCharacterStandAloneAndNothingIsReadPastTheLength) {
  Cp932Decoder decoder;
  // A lead byte cut off by the length: the trail byte after it is never looked at.
  const std::string kanji = "A\x92\xbc";  // "A直"
  EXPECT_EQ(decoder.Decode(kanji.data(), 2), (std::u32string{U'A', kUndecodable}));
  EXPECT_EQ(DecodeExactly(decoder, "AB\x92"), (std::u32string{U'A', U'B', kUndecodable}));
  // A lead byte followed by a byte that cannot trail it: the lead stands alone, the next byte is
  // read afresh.
  EXPECT_EQ(DecodeExactly(decoder, "\x92 A"), (std::u32string{kUndecodable, U' ', U'A'}));
  // Bytes that lead nowhere, among good ones.
  EXPECT_EQ(DecodeExactly(decoder,
                          "\xfd"
                          "1\x82\xa0"),
            (std::u32string{kUndecodable, U'1', U'あ'}));
  EXPECT_EQ(decoder.Decode("anything", 0), U"");
  EXPECT_EQ(decoder.Decode(nullptr, 5), U"");
  EXPECT_EQ(decoder.Decode("abc", -1), U"");
}

}  // namespace
