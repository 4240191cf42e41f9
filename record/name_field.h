// The record's display and device names live in fixed 128-byte fields; driver descriptions can
// be longer, so every copy into one is cut to fit and always ends in a terminator.
#pragma once

#include <cstddef>
#include <cstring>

inline constexpr std::size_t kNameFieldSize = 128;

// Copies text into a name field, cut to its 127 characters; a null text leaves it empty.
inline void CopyName(char (&field)[kNameFieldSize], const char* text) {
  std::size_t length = text ? std::strlen(text) : 0;
  if (length > kNameFieldSize - 1) length = kNameFieldSize - 1;
  if (length > 0) std::memcpy(field, text, length);
  field[length] = '\0';
}
