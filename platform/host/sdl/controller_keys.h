// Which keys a game controller holds: its buttons and left stick turned into the keys the game
// already reads, so the game plays with a pad without knowing of one. Plain C++, without SDL, so
// that the mapping and the stick's dead zone are tested alone.
//   D-pad and left stick: Up, Left, Right · south (A): Space · east (B) and Start: Shift ·
//   north (Y): Z · Back: Escape
#pragma once

#include <bitset>
#include <vector>

namespace platform::host::sdl {

enum class PadButton {
  South,
  East,
  West,
  North,
  Back,
  Guide,
  Start,
  LeftStickPress,
  RightStickPress,
  LeftShoulder,
  RightShoulder,
  DpadUp,
  DpadDown,
  DpadLeft,
  DpadRight,
  Count,
};

enum class PadAxis { LeftX, LeftY };

// A stick direction counts once the stick is pushed beyond a third of its travel, and stops only
// once it is back within a quarter, so a stick resting near the edge does not chatter.
inline constexpr int kStickEngage = 32768 / 3;   // 10922
inline constexpr int kStickRelease = 32768 / 4;  // 8192

struct KeyChange {
  int virtualKey;
  bool down;
  bool operator==(const KeyChange&) const = default;
};

class ControllerKeys {
 public:
  // The keys that went down or up with this change of a button or an axis (-32768 to 32767;
  // the y axis grows downwards), lowest code first.
  std::vector<KeyChange> SetButton(PadButton button, bool down);
  std::vector<KeyChange> SetAxis(PadAxis axis, int value);
  // Forgets every input, without reporting changes (the keys were released otherwise).
  void Forget();

  // The key a button gives, or 0 for a button the game has no use for.
  static int KeyForButton(PadButton button);

 private:
  std::bitset<256> Held() const;
  std::vector<KeyChange> Changes(const std::bitset<256>& before) const;

  std::bitset<static_cast<int>(PadButton::Count)> buttons_;
  bool stickLeft_ = false;
  bool stickRight_ = false;
  bool stickUp_ = false;
};

}  // namespace platform::host::sdl
