// What the game's rules promise about its record after any frame, whatever the frame times: no
// NaN or infinity anywhere, every clamped value inside its clamp, the butterfly inside the
// course's path while it races. Long frames legitimately push a few values beyond their usual
// range (a bank of -0.5 + e after a frame of e seconds), so those bounds grow with the longest
// frame seen.
#pragma once

#include <string>
#include <vector>

struct GameGlobals;

struct FrameHistory {
  bool firstFrameDone = false;    // the first frame has set up the title screen
  float longestFrameSeconds = 0;  // the longest frame time seen so far
};

// One line for each promise the record breaks; empty when every one holds.
std::vector<std::string> CheckGameRecord(const GameGlobals& record, const FrameHistory& history);
