// Writes what a driver did as a replay script: frames collected into one `frames` line per run
// of equal frames, with comments in between.
#pragma once

#include <cstdint>
#include <string>

#include "tools/replay/replay_step.h"

namespace replay {

class ScriptWriter {
 public:
  // `count` more frames like `frame`.
  void Add(const ReplayFrame& frame, std::uint32_t count = 1);
  // A comment line before the frames that follow.
  void Comment(const std::string& text);
  // The script so far, the last run of frames included.
  std::string Finish();

 private:
  void Flush();

  std::string text_;
  ReplayFrame last_;
  std::uint32_t count_ = 0;
};

}  // namespace replay
