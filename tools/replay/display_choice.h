// The display a replay draws for: the render scale and view the game is drawn at, and the size
// of the display the headless host pretends to have (what `native` and `wide` are worked out
// from). Shared by tirravel-replay and tirravel-bench:
//   --scale N|native   the render scale k, a number from 1, or the display's height / 480
//   --view 4:3|wide    the game's shape, or the display's
//   --display WxH      the pretended display, 640x480 unless given
//   --rate HZ          its refresh, and a picture at each, as the game's --rate display shows
//                      them (60, the game's own rhythm, unless given)
//   --threads N        the threads the 3-D device draws on, as the game's --threads (the
//                      machine's cores unless given); the pictures are the same on any number
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ddraw/render_geometry.h"

namespace replay {

struct DisplayChoice {
  platform::ddraw::RenderRequest render;
  int displayWidth = 640;
  int displayHeight = 480;
  int picturesPerSecond = 60;  // 1 to 1000
  int drawingThreads = 0;      // 1 to 16; 0 for the machine's cores
};

// Whether `option` is one of the five; a tool hands them to TakeDisplayOption.
bool IsDisplayOption(std::string_view option);

// Reads the value of one of the options into *choice. False, with *error set to one line naming
// the option and what it accepts, for a bad value.
bool TakeDisplayOption(std::string_view option, std::string_view value, DisplayChoice* choice,
                       std::string* error);

// The usage text of the five options, for a tool's usage line.
inline constexpr const char* kDisplayOptionsUsage =
    "[--scale N|native] [--view 4:3|wide] [--display WxH] [--rate HZ] [--threads N]";

}  // namespace replay
