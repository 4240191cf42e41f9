#include "tools/replay/options.h"

#include <charconv>
#include <string_view>

namespace replay {
namespace {

std::optional<std::uint64_t> FrameNumber(std::string_view word) {
  std::uint64_t value = 0;
  const char* end = word.data() + word.size();
  if (word.empty() || word[0] < '0' || word[0] > '9') return std::nullopt;
  const auto [stop, failure] = std::from_chars(word.data(), end, value);
  if (failure != std::errc{} || stop != end || value == 0) return std::nullopt;
  return value;
}

}  // namespace

std::optional<PictureSelection> ParsePictureSelection(const std::string& list) {
  PictureSelection selection;
  if (list == "all") {
    selection.mode = PictureSelection::Mode::All;
    return selection;
  }
  selection.mode = PictureSelection::Mode::Listed;
  std::string_view rest = list;
  for (;;) {
    const std::size_t comma = rest.find(',');
    const auto frame = FrameNumber(rest.substr(0, comma));
    if (!frame) return std::nullopt;
    selection.frames.insert(*frame);
    if (comma == std::string_view::npos) return selection;
    rest = rest.substr(comma + 1);
  }
}

std::optional<ReplayOptions> ParseOptions(int argc, const char* const* argv, std::string* error) {
  ReplayOptions options;
  std::optional<std::string> frameList;
  auto fail = [error](const std::string& reason) {
    if (error) *error = reason;
    return std::nullopt;
  };
  for (int i = 0; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const bool takesValue = argument == "--trace" || argument == "--png" ||
                            argument == "--frames" || IsDisplayOption(argument);
    if (takesValue) {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') {
        return fail(std::string(argument) + " needs a value");
      }
      const std::string value = argv[++i];
      if (argument == "--trace") options.trace = value;
      if (argument == "--png") options.pngFolder = value;
      if (argument == "--frames") frameList = value;
      if (IsDisplayOption(argument) &&
          !TakeDisplayOption(argument, value, &options.display, error)) {
        return std::nullopt;
      }
    } else if (argument.starts_with("--")) {
      return fail("unknown option " + std::string(argument));
    } else if (options.script.empty()) {
      options.script = argument;
    } else {
      return fail("more than one script given: " + std::string(argument));
    }
  }
  if (options.script.empty()) return fail("no script given");
  if (frameList) {
    if (options.pngFolder.empty()) return fail("--frames needs --png");
    const auto selection = ParsePictureSelection(*frameList);
    if (!selection) {
      return fail("bad --frames '" + *frameList + "' (frame numbers from 1 with commas, or all)");
    }
    options.pictures = *selection;
  }
  return options;
}

}  // namespace replay
