// The screen texts are stored as Shift-JIS bytes; decoding each with the CP932 code page must give
// back exactly the text the player is meant to read.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "record/screen_texts.h"

namespace {

std::string DecodeCp932(const std::string& bytes) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1));
  std::string input = bytes;
  std::string output(bytes.size() * 4 + 4, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size(), outLeft = output.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  EXPECT_NE(result, static_cast<std::size_t>(-1)) << "not valid CP932";
  output.resize(output.size() - outLeft);
  return output;
}

TEST(ScreenTexts, EveryTextDecodesToWhatThePlayerReads) {
  const std::pair<const char*, const char*> texts[] = {
      {kTextGiveUpHint, "SHIFTを押すとギブれます"},
      {kTextControlsUp, "↑　　直進します"},
      {kTextControlsTurn, "←→　方向を変更します"},
      {kTextControlsSpace, "SPACE 高度を上げます"},
      {kTextFilterOn, "[Ｚキーで変更できます]　ﾊﾞｲﾘﾆｱ・ﾌｨﾙﾀ有効"},
      {kTextFilterOff, "[Ｚキーで変更できます]　ﾊﾞｲﾘﾆｱ・ﾌｨﾙﾀ無効"},
      {kTextFaceName, "標準明朝"},
      {kTextTitle, "Tirravel"},
      {kTextSpeedFormat, "SPEED %d"},
      {kTextCountdownTime, "TIME  0"},
      {kTextRaceTimeFormat, "TIME  %d"},
      {kTextCount3, "  3"},
      {kTextCount2, "  2"},
      {kTextCount1, "  1"},
      {kTextCountStart, "START"},
      {kTextResultTimeFormat, "TIME      %d"},
      {kTextResultGiveUp, "TIME   GIVE UP"},
      {kTextBestTimeFormat, "BEST      %d"},
      {kTextPushShift, "PUSH SHIFT!"},
      {kTextDeviceInfoFormat, "[%s], [%s]"},
  };
  for (const auto& [bytes, unicode] : texts) EXPECT_EQ(DecodeCp932(bytes), unicode);
}

TEST(ScreenTexts, DoubleByteCharactersCountTwoBytesAndHalfWidthKanaOne) {
  // "SHIFT" and 9 double-byte characters.
  EXPECT_EQ(std::string(kTextGiveUpHint).size(), 5u + 2u * 9u);
  // "[", 10 full-width, "]", an ideographic space, 6 half-width kana ("ﾊﾞ" is two), "・",
  // 4 half-width kana and 2 kanji.
  EXPECT_EQ(std::string(kTextFilterOn).size(), 1u + 20u + 1u + 2u + 6u + 2u + 4u + 4u);
}

}  // namespace
