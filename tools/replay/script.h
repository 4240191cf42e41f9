// A replay script: what a player does, frame by frame, in a few plain lines.
//
//   frames N MS [KEY...]   N frames of MS milliseconds each, with the named keys (up, left,
//                          right, space, shift) down and the others up
//   message KEY            one press and release of KEY (z, escape, f12) before the next frame
//
// '#' starts a comment; blank lines are ignored.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace replay {

// The keys the game polls every frame, in the order the trace lists them.
enum class PolledKey { Up, Left, Right, Space, Shift };
inline constexpr int kPolledKeyCount = 5;
using PolledKeys = std::bitset<kPolledKeyCount>;  // indexed by PolledKey

// The keys the window procedure acts on.
enum class MessageKey { Z, Escape, F12 };

struct ScriptCommand {
  enum class Kind { Frames, Message };
  Kind kind = Kind::Frames;
  int line = 0;                        // 1-based line of the script it came from
  std::uint32_t frameCount = 0;        // frames: how many, at least 1
  std::uint32_t milliseconds = 0;      // frames: each frame's length
  PolledKeys keys;                     // frames: the keys down
  MessageKey message = MessageKey::Z;  // message: the key pressed and released
};

struct Script {
  std::vector<ScriptCommand> commands;

  // How many frames the whole script renders.
  std::uint64_t TotalFrames() const;
};

// Reads a script. On a mistake returns nothing and sets *error to one line that starts with the
// line number ("12: unknown key 'upp'").
std::optional<Script> ParseScript(std::string_view text, std::string* error);

// The names scripts use, for messages and for writing scripts.
const char* PolledKeyName(PolledKey key);
const char* MessageKeyName(MessageKey key);

}  // namespace replay
