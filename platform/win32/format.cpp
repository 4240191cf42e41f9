// wsprintfA and lstrcpyA. wsprintfA knows the conversions of the real one that the game can use
// (no floating point), and never writes more than its 1024-byte limit.
#include <cstring>
#include <string>
#include <string_view>

#include "platform/api/win32.h"

namespace platform::win32 {
namespace {

constexpr std::size_t kFormatLimit =
    1024;  // bytes the real call writes at most, terminator included

// Writes into the caller's buffer, keeping room for the terminator and dropping the rest.
class BoundedOutput {
 public:
  explicit BoundedOutput(char* buffer) : buffer_(buffer) {}
  void Put(std::string_view text) {
    const std::size_t room = kFormatLimit - 1 - length_;
    const std::size_t count = text.size() < room ? text.size() : room;
    std::memcpy(buffer_ + length_, text.data(), count);
    length_ += count;
  }
  int Finish() {
    buffer_[length_] = '\0';
    return static_cast<int>(length_);
  }

 private:
  char* buffer_;
  std::size_t length_ = 0;
};

struct Conversion {
  bool leftAlign = false;  // '-'
  bool zeroPad = false;    // '0'
  bool prefix = false;     // '#': 0x or 0X before hexadecimal numbers
  int width = 0;
  int precision = -1;  // -1 when none was given
  char size = 0;       // 'h' for short arguments, 'l' (32-bit, as LONG) or 0
  char type = 0;
};

int ReadNumber(const char*& cursor) {
  int value = 0;
  while (*cursor >= '0' && *cursor <= '9') {
    // Widths beyond the output limit mean nothing more; cap them rather than overflow.
    if (value < static_cast<int>(kFormatLimit)) value = value * 10 + (*cursor - '0');
    ++cursor;
  }
  return value;
}

// Reads the conversion after a '%'; leaves cursor after its type character.
Conversion ReadConversion(const char*& cursor) {
  Conversion conversion;
  for (;; ++cursor) {
    if (*cursor == '-')
      conversion.leftAlign = true;
    else if (*cursor == '0')
      conversion.zeroPad = true;
    else if (*cursor == '#')
      conversion.prefix = true;
    else
      break;
  }
  conversion.width = ReadNumber(cursor);
  if (*cursor == '.') {
    ++cursor;
    conversion.precision = ReadNumber(cursor);
  }
  if (*cursor == 'l' || *cursor == 'h') conversion.size = *cursor++;
  conversion.type = *cursor;
  if (*cursor) ++cursor;
  return conversion;
}

void PutPadded(BoundedOutput& out, const Conversion& conversion, std::string_view text) {
  const std::size_t width = static_cast<std::size_t>(conversion.width);
  const std::string padding(text.size() < width ? width - text.size() : 0, ' ');
  if (!conversion.leftAlign) out.Put(padding);
  out.Put(text);
  if (conversion.leftAlign) out.Put(padding);
}

std::string Digits(std::uint32_t value, unsigned base, bool upper) {
  const char* digitSet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string digits;
  do {
    digits.insert(digits.begin(), digitSet[value % base]);
    value /= base;
  } while (value != 0);
  return digits;
}

// Sign or prefix, then zeros up to the precision (or, with '0', up to the width), then digits.
void PutNumber(BoundedOutput& out, const Conversion& conversion, std::string_view lead,
               std::string digits) {
  if (conversion.precision >= 0 && digits.size() < static_cast<std::size_t>(conversion.precision)) {
    digits.insert(0, static_cast<std::size_t>(conversion.precision) - digits.size(), '0');
  }
  std::string text(lead);
  const std::size_t width = static_cast<std::size_t>(conversion.width);
  if (conversion.zeroPad && !conversion.leftAlign && lead.size() + digits.size() < width) {
    text.append(width - lead.size() - digits.size(), '0');
  }
  text += digits;
  PutPadded(out, conversion, text);
}

void PutSigned(BoundedOutput& out, const Conversion& conversion, std::int32_t value) {
  if (conversion.size == 'h') value = static_cast<std::int16_t>(value);
  const bool negative = value < 0;
  // Negating in unsigned arithmetic keeps the most negative value exact.
  const std::uint32_t magnitude =
      negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  PutNumber(out, conversion, negative ? "-" : "", Digits(magnitude, 10, false));
}

void PutUnsigned(BoundedOutput& out, const Conversion& conversion, std::uint32_t value) {
  if (conversion.size == 'h') value = static_cast<std::uint16_t>(value);
  if (conversion.type == 'u') {
    PutNumber(out, conversion, "", Digits(value, 10, false));
    return;
  }
  const bool upper = conversion.type == 'X';
  PutNumber(out, conversion, conversion.prefix ? (upper ? "0X" : "0x") : "",
            Digits(value, 16, upper));
}

void PutString(BoundedOutput& out, const Conversion& conversion, const char* text) {
  std::string_view view = text ? text : "(null)";
  if (conversion.precision >= 0 && view.size() > static_cast<std::size_t>(conversion.precision)) {
    view = view.substr(0, static_cast<std::size_t>(conversion.precision));
  }
  PutPadded(out, conversion, view);
}

}  // namespace
}  // namespace platform::win32

int wvsprintfA(LPSTR buffer, LPCSTR format, std::va_list arguments) {
  using namespace platform::win32;
  if (!buffer) return 0;
  BoundedOutput out(buffer);
  if (!format) return out.Finish();
  const char* cursor = format;
  while (*cursor) {
    if (*cursor != '%') {
      const char* plainEnd = std::strchr(cursor, '%');
      const std::size_t count =
          plainEnd ? static_cast<std::size_t>(plainEnd - cursor) : std::strlen(cursor);
      out.Put(std::string_view(cursor, count));
      cursor += count;
      continue;
    }
    ++cursor;
    const Conversion conversion = ReadConversion(cursor);
    switch (conversion.type) {
      case 'd':
      case 'i':
        PutSigned(out, conversion, va_arg(arguments, std::int32_t));
        break;
      case 'u':
      case 'x':
      case 'X':
        PutUnsigned(out, conversion, va_arg(arguments, std::uint32_t));
        break;
      case 'c': {
        const char character = static_cast<char>(va_arg(arguments, int));
        PutPadded(out, conversion, std::string_view(&character, 1));
        break;
      }
      case 's':
        PutString(out, conversion, va_arg(arguments, const char*));
        break;
      case '\0':
        break;  // a lone '%' at the end prints nothing
      default:
        // '%%' and unknown types print the type character itself, as the real call does.
        out.Put(std::string_view(&conversion.type, 1));
        break;
    }
  }
  return out.Finish();
}

int wsprintfA(LPSTR buffer, LPCSTR format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  const int written = wvsprintfA(buffer, format, arguments);
  va_end(arguments);
  return written;
}

LPSTR lstrcpyA(LPSTR destination, LPCSTR source) {
  if (!destination || !source) return nullptr;
  return std::strcpy(destination, source);
}
