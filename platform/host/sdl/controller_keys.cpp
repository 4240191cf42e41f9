#include "platform/host/sdl/controller_keys.h"

#include "platform/api/virtual_keys.h"

namespace platform::host::sdl {
namespace {

// Whether one direction of the stick counts, from its distance along that direction (negative:
// pushed the other way) and whether it counted before.
bool StickDirection(int distance, bool before) {
  return before ? distance > kStickRelease : distance > kStickEngage;
}

}  // namespace

int ControllerKeys::KeyForButton(PadButton button) {
  switch (button) {
    case PadButton::South:
      return VK_SPACE;
    case PadButton::East:
    case PadButton::Start:
      return VK_LSHIFT;
    case PadButton::North:
      return 'Z';
    case PadButton::Back:
      return VK_ESCAPE;
    case PadButton::DpadUp:
      return VK_UP;
    case PadButton::DpadLeft:
      return VK_LEFT;
    case PadButton::DpadRight:
      return VK_RIGHT;
    default:
      return 0;
  }
}

std::vector<KeyChange> ControllerKeys::SetButton(PadButton button, bool down) {
  const int index = static_cast<int>(button);
  if (index < 0 || index >= static_cast<int>(PadButton::Count)) return {};
  const std::bitset<256> before = Held();
  buttons_[static_cast<std::size_t>(index)] = down;
  return Changes(before);
}

std::vector<KeyChange> ControllerKeys::SetAxis(PadAxis axis, int value) {
  const std::bitset<256> before = Held();
  if (axis == PadAxis::LeftX) {
    stickLeft_ = StickDirection(-value, stickLeft_);
    stickRight_ = StickDirection(value, stickRight_);
  } else {
    stickUp_ = StickDirection(-value, stickUp_);
  }
  return Changes(before);
}

void ControllerKeys::Forget() {
  *this = ControllerKeys{};
}

std::bitset<256> ControllerKeys::Held() const {
  std::bitset<256> held;
  for (int index = 0; index < static_cast<int>(PadButton::Count); ++index) {
    const int key = KeyForButton(static_cast<PadButton>(index));
    if (key != 0 && buttons_[static_cast<std::size_t>(index)]) held[key] = true;
  }
  if (stickLeft_) held[VK_LEFT] = true;
  if (stickRight_) held[VK_RIGHT] = true;
  if (stickUp_) held[VK_UP] = true;
  return held;
}

std::vector<KeyChange> ControllerKeys::Changes(const std::bitset<256>& before) const {
  const std::bitset<256> after = Held();
  std::vector<KeyChange> changes;
  for (int key = 0; key < 256; ++key) {
    if (before[key] != after[key]) changes.push_back({key, after[key]});
  }
  return changes;
}

}  // namespace platform::host::sdl
