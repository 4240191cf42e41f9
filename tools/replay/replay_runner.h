// Runs the real game (WinMain and everything below it) on the headless host, one step at a time.
//
// Frame times. The message loop reads the clock twice at the top of every turn (the frame time,
// then the mark the next turn measures from) and then handles one message or, when none waits,
// renders a frame. So that every frame sees exactly its milliseconds and every turn that handles
// a message sees none, the clock moves only between the last message turn before a frame and
// that frame's turn:
//   - no message before the frame: right after the previous frame's picture is presented (the
//     first frame: right after the loop's starting mark);
//   - messages before the frame: when the game's queue has drained after the last of them,
//     including the characters TranslateMessage adds for keys such as Z, space and Escape.
// Key changes reach the game as key-down and key-up input, so GetKeyState sees them as it would.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "tools/replay/display_choice.h"
#include "tools/replay/options.h"
#include "tools/replay/replay_step.h"

namespace replay {

struct ReplayOutputs {
  std::FILE* trace = nullptr;  // the header, then a row after every frame, when set
  std::string pngFolder;       // where the chosen pictures go, when not empty
  PictureSelection pictures;
  // Whether the headless host keeps a copy of the latest picture for LastFrame() during and
  // after the run (the pictures written to pngFolder need it); false spares every frame a copy.
  bool keepLastPicture = true;
  DisplayChoice display;  // the render scale and view, and the display the host pretends
};

struct ReplayResult {
  int status = 0;            // what WinMain returned
  std::uint64_t frames = 0;  // frames rendered
  std::string error;         // the first thing that went wrong outside the game, or empty
};

// Asked after every frame (and once before the first) for what comes next.
using StepSource = std::function<ReplayStep()>;

// Starts the program afresh (game record, window side, headless host) in the current folder and
// runs it until it ends; when the source has no more frames, Escape ends it. A frame rendered
// after that is an error, and the window is closed.
ReplayResult RunReplay(const StepSource& nextStep, const ReplayOutputs& outputs);

}  // namespace replay
