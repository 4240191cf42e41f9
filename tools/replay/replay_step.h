// What reaches the game between two frames, one step at a time: the source of a replay is a
// script (ScriptCursor) or anything else that decides frame by frame, such as an autopilot.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "tools/replay/script.h"

namespace replay {

struct ReplayFrame {
  PolledKeys keys;                 // down during the frame; the others up
  std::uint32_t milliseconds = 0;  // the frame's length, as the frame clock will measure it
};

// The messages handled before the next frame, in order, then that frame. A step without a frame
// ends the replay: its messages are handled, then Escape unless one of them ended the game.
struct ReplayStep {
  std::vector<MessageKey> messages;
  std::optional<ReplayFrame> frame;
};

// Walks a script step by step.
class ScriptCursor {
 public:
  explicit ScriptCursor(Script script) : script_(std::move(script)) {}

  // The step before the next frame; once the frames are used up, a step without a frame that
  // carries the script's last messages.
  ReplayStep Next();

 private:
  Script script_;
  std::size_t command_ = 0;       // the next command to read
  std::uint32_t framesLeft_ = 0;  // frames still to come from the command before command_
  ReplayFrame current_;           // the frame those frames repeat
};

}  // namespace replay
