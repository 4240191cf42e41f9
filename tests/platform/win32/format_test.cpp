#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "platform/api/win32.h"

namespace {

std::string Format(const char* format, auto... arguments) {
  char buffer[1100];
  const int written = wsprintfA(buffer, format, arguments...);
  EXPECT_EQ(written, static_cast<int>(std::strlen(buffer)));
  return buffer;
}

TEST(Wsprintf, FormatsTheGameTexts) {
  EXPECT_EQ(Format("SPEED %d", 37), "SPEED 37");
  EXPECT_EQ(Format("TIME      %d", 0), "TIME      0");
  EXPECT_EQ(Format("[%s], [%s]", "RGB Emulation", "default"), "[RGB Emulation], [default]");
}

TEST(Wsprintf, IntegerConversionsWithFlagsWidthAndPrecision) {
  EXPECT_EQ(Format("%d|%i|%u", -5, 42, 4000000000u), "-5|42|4000000000");
  EXPECT_EQ(Format("%d", INT_MIN), "-2147483648");
  EXPECT_EQ(Format("%5d|%-5d|%05d|%-05d", 42, 42, -42, 42), "   42|42   |-0042|42   ");
  EXPECT_EQ(Format("%.3d|%6.3d|%x|%X|%#x|%08X", 7, -7, 0xBEEFu, 0xBEEFu, 255u, 0xABu),
            "007|  -007|beef|BEEF|0xff|000000AB");
  EXPECT_EQ(Format("%ld|%lu|%hd|%hu", -1, 7u, 70000, 70000u), "-1|7|4464|4464");
}

TEST(Wsprintf, CharactersStringsAndPercent) {
  EXPECT_EQ(Format("%c%c|%3c|%-3c|", 'o', 'k', 'x', 'y'), "ok|  x|y  |");
  EXPECT_EQ(Format("%s|%8s|%-8s|%.3s|", "abc", "abc", "abc", "abcdef"),
            "abc|     abc|abc     |abc|");
  EXPECT_EQ(Format("100%%"), "100%");
  EXPECT_EQ(Format("%s", static_cast<const char*>(nullptr)), "(null)");
  // Shift-JIS bytes pass through untouched.
  EXPECT_EQ(Format("%s", "\x83\x6f\x83\x5e"), "\x83\x6f\x83\x5e");
  EXPECT_EQ(Format("%q%"), "q");
}

TEST(Wsprintf, NeverWritesMoreThan1024BytesWithTheTerminator) {
  const std::string longText(3000, 'a');
  std::vector<char> buffer(2048, '#');
  EXPECT_EQ(wsprintfA(buffer.data(), "%s%s", longText.c_str(), "tail"), 1023);
  EXPECT_EQ(std::strlen(buffer.data()), 1023u);
  EXPECT_EQ(buffer[1024], '#');
  EXPECT_EQ(wsprintfA(buffer.data(), "%2000d", 1), 1023);
  EXPECT_EQ(buffer[1022], ' ');
  EXPECT_EQ(buffer[1024], '#');
  EXPECT_EQ(wsprintfA(buffer.data(), "%99999999999s", "x"), 1023);
}

TEST(Lstrcpy, CopiesAndReturnsTheDestination) {
  char destination[16] = "xxxxxxxxxxxxxxx";
  EXPECT_EQ(lstrcpyA(destination, "\x95\x57\x8f\x80"), destination);
  EXPECT_STREQ(destination, "\x95\x57\x8f\x80");
  EXPECT_EQ(lstrcpyA(nullptr, "a"), nullptr);
  EXPECT_EQ(lstrcpyA(destination, nullptr), nullptr);
}

}  // namespace
