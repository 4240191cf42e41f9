#include "tools/replay/replay_step.h"

namespace replay {

ReplayStep ScriptCursor::Next() {
  ReplayStep step;
  if (framesLeft_ > 0) {
    --framesLeft_;
    step.frame = current_;
    return step;
  }
  while (command_ < script_.commands.size()) {
    const ScriptCommand& command = script_.commands[command_++];
    if (command.kind == ScriptCommand::Kind::Message) {
      step.messages.push_back(command.message);
      continue;
    }
    current_ = {command.keys, command.milliseconds};
    framesLeft_ = command.frameCount - 1;
    step.frame = current_;
    return step;
  }
  return step;
}

}  // namespace replay
