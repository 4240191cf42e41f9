#include "tools/replay/script_writer.h"

namespace replay {

void ScriptWriter::Add(const ReplayFrame& frame, std::uint32_t count) {
  if (count_ > 0 && frame.keys == last_.keys && frame.milliseconds == last_.milliseconds) {
    count_ += count;
    return;
  }
  Flush();
  last_ = frame;
  count_ = count;
}

void ScriptWriter::Comment(const std::string& text) {
  Flush();
  text_ += "# " + text + "\n";
}

std::string ScriptWriter::Finish() {
  Flush();
  return text_;
}

void ScriptWriter::Flush() {
  if (count_ == 0) return;
  text_ += "frames " + std::to_string(count_) + " " + std::to_string(last_.milliseconds);
  for (int key = 0; key < kPolledKeyCount; ++key) {
    if (last_.keys[key]) text_ += std::string(" ") + PolledKeyName(PolledKey(key));
  }
  text_ += "\n";
  count_ = 0;
}

}  // namespace replay
