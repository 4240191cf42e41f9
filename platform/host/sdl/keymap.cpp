#include "platform/host/sdl/keymap.h"

#include "platform/api/virtual_keys.h"

namespace platform::host::sdl {
namespace {

struct KeyPair {
  SDL_Scancode scancode;
  int virtualKey;
};

// Letters, digits, F1–F12 and the keypad digits run in order in both codes; they are handled
// by ranges below.
constexpr KeyPair kKeys[] = {
    {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5},
    {SDL_SCANCODE_NONUSHASH, VK_OEM_5},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
    {SDL_SCANCODE_GRAVE, VK_OEM_3},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, VK_OEM_2},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL},
    {SDL_SCANCODE_PAUSE, VK_PAUSE},
    {SDL_SCANCODE_INSERT, VK_INSERT},
    {SDL_SCANCODE_HOME, VK_HOME},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR},
    {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_END, VK_END},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},
    {SDL_SCANCODE_KP_PLUS, VK_ADD},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_KP_0, VK_NUMPAD0},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},
    {SDL_SCANCODE_APPLICATION, VK_APPS},
    {SDL_SCANCODE_LCTRL, VK_LCONTROL},
    {SDL_SCANCODE_LSHIFT, VK_LSHIFT},
    {SDL_SCANCODE_LALT, VK_LMENU},
    {SDL_SCANCODE_LGUI, VK_LWIN},
    {SDL_SCANCODE_RCTRL, VK_RCONTROL},
    {SDL_SCANCODE_RSHIFT, VK_RSHIFT},
    {SDL_SCANCODE_RALT, VK_RMENU},
    {SDL_SCANCODE_RGUI, VK_RWIN},
};

// A run of scancodes that maps onto a run of virtual keys.
bool InRun(SDL_Scancode scancode, SDL_Scancode first, SDL_Scancode last, int firstKey,
           int& virtualKey) {
  if (scancode < first || scancode > last) return false;
  virtualKey = firstKey + (scancode - first);
  return true;
}

}  // namespace

int VirtualKeyForScancode(SDL_Scancode scancode) {
  int virtualKey = 0;
  if (InRun(scancode, SDL_SCANCODE_A, SDL_SCANCODE_Z, 'A', virtualKey) ||
      InRun(scancode, SDL_SCANCODE_1, SDL_SCANCODE_9, '1', virtualKey) ||
      InRun(scancode, SDL_SCANCODE_F1, SDL_SCANCODE_F12, VK_F1, virtualKey) ||
      InRun(scancode, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_9, VK_NUMPAD0 + 1, virtualKey)) {
    return virtualKey;
  }
  if (scancode == SDL_SCANCODE_0) return '0';
  for (const KeyPair& pair : kKeys) {
    if (pair.scancode == scancode) return pair.virtualKey;
  }
  return 0;
}

}  // namespace platform::host::sdl
