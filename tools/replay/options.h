// The replay tool's command line:
//   tirravel-replay SCRIPT [--trace FILE] [--png DIR] [--frames LIST]
//                   [--scale N|native] [--view 4:3|wide] [--display WxH]
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "tools/replay/display_choice.h"

namespace replay {

// Which frames' pictures are written.
struct PictureSelection {
  enum class Mode { Last, All, Listed };
  Mode mode = Mode::Last;
  std::set<std::uint64_t> frames;  // Listed: frame numbers, from 1

  bool Wants(std::uint64_t frame) const {
    return mode == Mode::All || (mode == Mode::Listed && frames.count(frame) != 0);
  }
};

struct ReplayOptions {
  std::string script;     // the script's path
  std::string trace;      // the trace's path, or empty for none
  std::string pngFolder;  // where pictures go, or empty for none
  PictureSelection pictures;
  DisplayChoice display;
};

// Reads the arguments after the program's name. On a mistake returns nothing and sets *error to
// one line saying what is wrong.
std::optional<ReplayOptions> ParseOptions(int argc, const char* const* argv, std::string* error);

// "1,50,200" or "all"; nothing for anything else.
std::optional<PictureSelection> ParsePictureSelection(const std::string& list);

}  // namespace replay
