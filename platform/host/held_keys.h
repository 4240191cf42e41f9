// The keys a host has reported down and not yet up, so that it can release them all when its
// window loses focus, and report a repeat only for a key it has reported down. Internal to hosts.
#pragma once

#include <bitset>
#include <vector>

#include "platform/host/host.h"

namespace platform::host {

class HeldKeys {
 public:
  // Whether the event should reach the platform, noting the key's new state. A release of a key
  // not reported down is dropped. A press is a repeat exactly when the key is held already: a
  // key still held when the window gets the focus back goes down afresh at its next repeat.
  bool Admit(Event& event) {
    if (event.type == Event::Type::Close) return true;
    if (event.virtualKey < 0 || event.virtualKey >= 256) return false;
    const bool held = held_[event.virtualKey];
    held_[event.virtualKey] = event.type == Event::Type::KeyDown;
    if (event.type == Event::Type::KeyUp) return held;
    event.repeat = held;
    return true;
  }

  // A release for every key held, lowest code first, forgetting them all.
  std::vector<Event> ReleaseAll() {
    std::vector<Event> releases;
    for (int key = 0; key < 256; ++key) {
      if (held_[key]) releases.push_back({Event::Type::KeyUp, key, false});
    }
    held_.reset();
    return releases;
  }

 private:
  std::bitset<256> held_;  // by virtual-key code
};

}  // namespace platform::host
