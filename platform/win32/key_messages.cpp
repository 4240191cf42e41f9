#include "platform/win32/key_messages.h"

#include <cstdint>

#include "platform/win32/win32_state.h"

namespace platform::win32 {
namespace {

constexpr unsigned kExtended = 0x100;

struct ScanPair {
  int virtualKey;
  unsigned scanCode;
};

// Keys whose scan codes do not follow their virtual keys in runs (those are handled below).
// The keypad digits are given as Num Lock on types them; the grey cursor keys send the prefix.
constexpr ScanPair kScanCodes[] = {
    {VK_ESCAPE, 0x01},
    {'0', 0x0B},
    {VK_OEM_MINUS, 0x0C},
    {VK_OEM_PLUS, 0x0D},
    {VK_BACK, 0x0E},
    {VK_TAB, 0x0F},
    {VK_OEM_4, 0x1A},
    {VK_OEM_6, 0x1B},
    {VK_RETURN, 0x1C},
    {VK_LCONTROL, 0x1D},
    {VK_OEM_1, 0x27},
    {VK_OEM_7, 0x28},
    {VK_OEM_3, 0x29},
    {VK_LSHIFT, 0x2A},
    {VK_OEM_5, 0x2B},
    {VK_OEM_COMMA, 0x33},
    {VK_OEM_PERIOD, 0x34},
    {VK_OEM_2, 0x35},
    {VK_RSHIFT, 0x36},
    {VK_MULTIPLY, 0x37},
    {VK_LMENU, 0x38},
    {VK_SPACE, 0x39},
    {VK_CAPITAL, 0x3A},
    {VK_PAUSE, 0x45},
    {VK_NUMLOCK, 0x45 | kExtended},
    {VK_SCROLL, 0x46},
    {VK_NUMPAD0 + 7, 0x47},
    {VK_NUMPAD0 + 8, 0x48},
    {VK_NUMPAD0 + 9, 0x49},
    {VK_SUBTRACT, 0x4A},
    {VK_NUMPAD0 + 4, 0x4B},
    {VK_NUMPAD0 + 5, 0x4C},
    {VK_NUMPAD0 + 6, 0x4D},
    {VK_ADD, 0x4E},
    {VK_NUMPAD0 + 1, 0x4F},
    {VK_NUMPAD0 + 2, 0x50},
    {VK_NUMPAD0 + 3, 0x51},
    {VK_NUMPAD0, 0x52},
    {VK_DECIMAL, 0x53},
    {VK_OEM_102, 0x56},
    {VK_F1 + 10, 0x57},
    {VK_F12, 0x58},
    {VK_RCONTROL, 0x1D | kExtended},
    {VK_RMENU, 0x38 | kExtended},
    {VK_DIVIDE, 0x35 | kExtended},
    {VK_SNAPSHOT, 0x37 | kExtended},
    {VK_HOME, 0x47 | kExtended},
    {VK_UP, 0x48 | kExtended},
    {VK_PRIOR, 0x49 | kExtended},
    {VK_LEFT, 0x4B | kExtended},
    {VK_RIGHT, 0x4D | kExtended},
    {VK_END, 0x4F | kExtended},
    {VK_DOWN, 0x50 | kExtended},
    {VK_NEXT, 0x51 | kExtended},
    {VK_INSERT, 0x52 | kExtended},
    {VK_DELETE, 0x53 | kExtended},
    {VK_LWIN, 0x5B | kExtended},
    {VK_RWIN, 0x5C | kExtended},
    {VK_APPS, 0x5D | kExtended},
};

// The letters in the order of their scan codes, row by row, from the row's first code.
struct LetterRow {
  const char* letters;
  unsigned firstCode;
};
constexpr LetterRow kLetterRows[] = {{"QWERTYUIOP", 0x10}, {"ASDFGHJKL", 0x1E}, {"ZXCVBNM", 0x2C}};

bool AltDown(const std::bitset<256>& hostDown) {
  return hostDown[VK_LMENU] || hostDown[VK_RMENU];
}

}  // namespace

unsigned ScanCodeFor(int hostKey) {
  if (hostKey >= '1' && hostKey <= '9') return 0x02 + static_cast<unsigned>(hostKey - '1');
  if (hostKey >= VK_F1 && hostKey <= VK_F1 + 9)
    return 0x3B + static_cast<unsigned>(hostKey - VK_F1);
  for (const LetterRow& row : kLetterRows) {
    for (unsigned i = 0; row.letters[i] != '\0'; ++i) {
      if (row.letters[i] == hostKey) return row.firstCode + i;
    }
  }
  for (const ScanPair& pair : kScanCodes) {
    if (pair.virtualKey == hostKey) return pair.scanCode;
  }
  return 0;
}

KeyMessage KeyMessageFor(const host::Event& event, std::bitset<256>& hostDown) {
  const bool down = event.type == host::Event::Type::KeyDown;
  const int hostKey = event.virtualKey;
  if (hostKey >= 0 && hostKey < 256) hostDown[hostKey] = down;
  const int plainKey = MessageKey(hostKey);
  // Alt and F10 are system keys themselves; any other key is one while Alt is down, judged at
  // its own press or release (a key released after Alt gives WM_KEYUP).
  const bool altDown = AltDown(hostDown);
  const bool system = altDown || plainKey == VK_MENU || plainKey == VK_F10;

  // Repeat count 1 (bits 0-15), the scan code (16-23) and the extended bit (24), the context
  // bit (29: Alt is down), the previous state (30: the key was down) and the transition (31: it
  // is being released).
  std::uint32_t bits = 1;
  bits |= (ScanCodeFor(hostKey) & 0x1FFu) << 16;
  if (altDown) bits |= 1u << 29;
  if (!down || event.repeat) bits |= 1u << 30;
  if (!down) bits |= 1u << 31;

  KeyMessage message;
  if (system) {
    message.message = down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
  } else {
    message.message = down ? WM_KEYDOWN : WM_KEYUP;
  }
  message.wParam = static_cast<WPARAM>(plainKey);
  message.lParam = static_cast<LPARAM>(bits);
  return message;
}

}  // namespace platform::win32
