// TranslateMessage: the characters key-downs type, on a US keyboard layout (the host reports
// keys by position, so this is the layout the virtual keys describe).
#include <cctype>
#include <optional>

#include "platform/win32/win32_state.h"

namespace platform::win32 {
namespace {

struct TypedPair {
  int virtualKey;
  char plain;
  char shifted;
};

constexpr TypedPair kTypedKeys[] = {
    {'0', '0', ')'},          {'1', '1', '!'},           {'2', '2', '@'},
    {'3', '3', '#'},          {'4', '4', '$'},           {'5', '5', '%'},
    {'6', '6', '^'},          {'7', '7', '&'},           {'8', '8', '*'},
    {'9', '9', '('},          {VK_SPACE, ' ', ' '},      {VK_RETURN, '\r', '\r'},
    {VK_ESCAPE, 0x1B, 0x1B},  {VK_BACK, 0x08, 0x08},     {VK_TAB, '\t', '\t'},
    {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'},
    {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},      {VK_OEM_5, '\\', '|'},
    {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'},     {VK_MULTIPLY, '*', '*'},
    {VK_ADD, '+', '+'},       {VK_SUBTRACT, '-', '-'},   {VK_DECIMAL, '.', '.'},
    {VK_DIVIDE, '/', '/'},
};

bool KeyDown(int virtualKey) {
  return (GetKeyState(virtualKey) & 0x80) != 0;
}

std::optional<char> TypedCharacter(int virtualKey) {
  const bool shift = KeyDown(VK_SHIFT);
  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    // Control with a letter types the control character (Ctrl+A is 1).
    if (KeyDown(VK_CONTROL)) return static_cast<char>(virtualKey - 'A' + 1);
    const bool capsLock = (GetKeyState(VK_CAPITAL) & 1) != 0;
    const char upper = static_cast<char>(virtualKey);
    return shift != capsLock ? upper : static_cast<char>(std::tolower(upper));
  }
  if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD0 + 9) {
    return static_cast<char>('0' + virtualKey - VK_NUMPAD0);
  }
  for (const TypedPair& pair : kTypedKeys) {
    if (pair.virtualKey == virtualKey) return shift ? pair.shifted : pair.plain;
  }
  return std::nullopt;
}

}  // namespace
}  // namespace platform::win32

BOOL TranslateMessage(const MSG* message) {
  using namespace platform::win32;
  if (!message) return FALSE;
  const UINT kind = message->message;
  if (kind == WM_KEYUP || kind == WM_SYSKEYUP) return TRUE;
  if (kind != WM_KEYDOWN && kind != WM_SYSKEYDOWN) return FALSE;
  if (!FindWindow(message->hwnd)) return TRUE;
  if (const auto typed = TypedCharacter(static_cast<int>(message->wParam))) {
    QueuedMessage character;
    character.message = *message;
    // A key typed with Alt down is a system character (Alt+Z types WM_SYSCHAR 'z').
    character.message.message = kind == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    character.message.wParam = static_cast<WPARAM>(static_cast<unsigned char>(*typed));
    // A posted character comes before any input still waiting, as on Windows.
    User().queue.push_front(character);
  }
  return TRUE;
}
