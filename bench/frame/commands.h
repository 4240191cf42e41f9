// The bench commands: each takes its arguments (after the command's name), prints CSV rows (see
// statistics.h) and returns the process status.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace bench {

using Arguments = std::vector<std::string>;

// Prints the reason as the bench's one line on standard error; returns the failing status.
inline int Fail(const std::string& reason) {
  std::fprintf(stderr, "tirravel-bench: %s\n", reason.c_str());
  return 1;
}

// frames SCRIPT SCENARIO optimised|reference: per-frame processor time of the whole game.
int FramesCommand(const Arguments& arguments);
// capture SCRIPT SCENARIO FILE: the scenario's frames as device calls.
int CaptureCommand(const Arguments& arguments);
// playback FILE LABEL optimised|reference: per-frame time of a capture on our device.
int PlaybackCommand(const Arguments& arguments);
// compare FILE LABEL [PNG]: whether both devices draw every frame of a capture alike.
int CompareCommand(const Arguments& arguments);
// record-race FILE: writes the race scenario's script, flown by the autopilot.
int RecordRaceCommand(const Arguments& arguments);
// text: the cost of DrawHudText at the heights the game uses, first use and cached.
int TextCommand(const Arguments& arguments);
// startup SCRIPT: process start to the first flipped frame, over several fresh processes.
int StartupCommand(const Arguments& arguments);
// startup-child START and text-child: the fresh processes those two start.
int StartupChildCommand(const Arguments& arguments);
int TextChildCommand(const Arguments& arguments);
// memory SCRIPT: the peak resident memory of a whole replayed script, in a fresh process.
int MemoryCommand(const Arguments& arguments);

// table FILE.csv: the table of the rows gathered from the commands above (scripts/bench).
int TableCommand(const Arguments& arguments);
// fuzz-seeds CAPTURE FOLDER: the device fuzzer's seeds from a title screen capture
// (device_seeds.h), written into FOLDER.
int FuzzSeedsCommand(const Arguments& arguments);

// The usage line of every command.
std::string Usage();

}  // namespace bench
