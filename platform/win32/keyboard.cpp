// GetKeyState answers from the key messages already taken from the queue, never from the
// keyboard itself: a key pressed and released between two polls is never seen down, exactly as
// the game's key tracker expects.
#include "platform/win32/win32_state.h"

namespace platform::win32 {
namespace {

// The sided pair behind each plain modifier code.
struct SidedPair {
  int plain;
  int left;
  int right;
};
constexpr SidedPair kSidedPairs[] = {
    {VK_SHIFT, VK_LSHIFT, VK_RSHIFT},
    {VK_CONTROL, VK_LCONTROL, VK_RCONTROL},
    {VK_MENU, VK_LMENU, VK_RMENU},
};

bool InRange(int virtualKey) {
  return virtualKey >= 0 && virtualKey < 256;
}

bool IsDown(const KeyTable& keys, int virtualKey) {
  for (const SidedPair& pair : kSidedPairs) {
    if (virtualKey == pair.plain) {
      return keys.down[pair.plain] || keys.down[pair.left] || keys.down[pair.right];
    }
  }
  return keys.down[virtualKey];
}

}  // namespace

int MessageKey(int hostKey) {
  for (const SidedPair& pair : kSidedPairs) {
    if (hostKey == pair.left || hostKey == pair.right) return pair.plain;
  }
  return hostKey;
}

void NoteKeyTaken(KeyTable& keys, int hostKey, bool down, bool repeat) {
  if (!InRange(hostKey)) return;
  const int plainKey = MessageKey(hostKey);
  const bool freshPress = down && !repeat && !IsDown(keys, hostKey);
  const bool plainWasDown = IsDown(keys, plainKey);
  keys.down[hostKey] = down;
  if (freshPress) keys.toggled.flip(hostKey);
  // The plain code toggles when the pair as a whole goes down, not when its second key joins.
  if (plainKey != hostKey && freshPress && !plainWasDown) keys.toggled.flip(plainKey);
}

}  // namespace platform::win32

SHORT GetKeyState(int virtualKey) {
  using namespace platform::win32;
  if (!InRange(virtualKey)) return 0;
  const KeyTable& keys = User().keys;
  const unsigned bits =
      (IsDown(keys, virtualKey) ? 0xFF80u : 0u) | (keys.toggled[virtualKey] ? 1u : 0u);
  return static_cast<SHORT>(static_cast<WORD>(bits));
}
