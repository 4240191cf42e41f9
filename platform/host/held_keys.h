// The keys a host has reported down and not yet up, so that it can release them all when its
// window loses focus, and report a repeat only for a key it has reported down. A key may be held
// by several sources at once (the keyboard, and each game controller): it goes down with its
// first holder and up only when its last holder lets go. Internal to hosts.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/host/host.h"

namespace platform::host {

class HeldKeys {
 public:
  static constexpr int kKeyboard = 0;
  static constexpr int kSources = 32;  // the keyboard and up to 31 controllers

  // Whether the event should reach the platform, noting the key's new state for its source. A
  // release by a source not holding the key is dropped, and so is one while another source still
  // holds it. A press is a repeat exactly when the key is held already: a key still held when the
  // window gets the focus back goes down afresh at its next repeat.
  bool Admit(Event& event, int source = kKeyboard) {
    if (event.type == Event::Type::Close) return true;
    if (event.virtualKey < 0 || event.virtualKey >= 256) return false;
    if (source < 0 || source >= kSources) return false;
    std::uint32_t& holders = holders_[static_cast<std::size_t>(event.virtualKey)];
    const std::uint32_t bit = std::uint32_t{1} << source;
    if (event.type == Event::Type::KeyUp) {
      if ((holders & bit) == 0) return false;
      holders &= ~bit;
      return holders == 0;
    }
    event.repeat = holders != 0;
    holders |= bit;
    return true;
  }

  // A release for every key held, lowest code first, forgetting them all.
  std::vector<Event> ReleaseAll() {
    std::vector<Event> releases;
    for (int key = 0; key < 256; ++key) {
      if (holders_[static_cast<std::size_t>(key)] != 0) {
        releases.push_back({Event::Type::KeyUp, key, false});
      }
    }
    holders_.fill(0);
    return releases;
  }

  // Lets go of every key the source holds (a controller unplugged): a release, lowest code
  // first, for each key no other source holds.
  std::vector<Event> ReleaseSource(int source) {
    std::vector<Event> releases;
    if (source < 0 || source >= kSources) return releases;
    for (int key = 0; key < 256; ++key) {
      Event release{Event::Type::KeyUp, key, false};
      if (Admit(release, source)) releases.push_back(release);
    }
    return releases;
  }

 private:
  std::array<std::uint32_t, 256> holders_{};  // by virtual-key code: a bit for each source
};

}  // namespace platform::host
