#include "tools/replay/display_choice.h"

#include <charconv>

#include "platform/d3d/drawing_threads.h"

namespace replay {
namespace {

using platform::ddraw::kMaxDisplaySide;

std::optional<int> Side(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, value);
  if (text.empty() || failure != std::errc{} || stop != end || value < 1 || value > 65535) {
    return std::nullopt;
  }
  return value;
}

bool TakeScale(std::string_view value, DisplayChoice* choice) {
  if (value == "native") {
    choice->render.native = true;
    return true;
  }
  float scale = 0.0f;
  const char* end = value.data() + value.size();
  const auto [stop, failure] = std::from_chars(value.data(), end, scale);
  // As many rows as the rasterizer draws at most; a NaN fails the comparison.
  if (value.empty() || failure != std::errc{} || stop != end ||
      !(scale >= 1.0f && scale * 480.0f <= kMaxDisplaySide)) {
    return false;
  }
  choice->render.native = false;
  choice->render.scale = scale;
  return true;
}

bool TakeRate(std::string_view value, DisplayChoice* choice) {
  int rate = 0;
  const char* end = value.data() + value.size();
  const auto [stop, failure] = std::from_chars(value.data(), end, rate);
  if (value.empty() || failure != std::errc{} || stop != end || rate < 1 || rate > 1000) {
    return false;
  }
  choice->picturesPerSecond = rate;
  return true;
}

bool TakeThreads(std::string_view value, DisplayChoice* choice) {
  const std::optional<int> threads = platform::d3d::DrawingThreadsNamed(value);
  if (threads) choice->drawingThreads = *threads;
  return threads.has_value();
}

bool TakeDisplaySize(std::string_view value, DisplayChoice* choice) {
  const std::size_t cross = value.find('x');
  if (cross == std::string_view::npos) return false;
  const auto width = Side(value.substr(0, cross));
  const auto height = Side(value.substr(cross + 1));
  if (!width || !height) return false;
  choice->displayWidth = *width;
  choice->displayHeight = *height;
  return true;
}

}  // namespace

bool IsDisplayOption(std::string_view option) {
  return option == "--scale" || option == "--view" || option == "--display" || option == "--rate" ||
         option == "--threads";
}

bool TakeDisplayOption(std::string_view option, std::string_view value, DisplayChoice* choice,
                       std::string* error) {
  auto bad = [&](const char* accepted) {
    if (error) {
      *error = "bad " + std::string(option) + " '" + std::string(value) + "' (" + accepted + ")";
    }
    return false;
  };
  if (option == "--scale") {
    return TakeScale(value, choice) || bad("a number from 1 to 17, or native");
  }
  if (option == "--view") {
    if (value == "4:3") choice->render.view = platform::ddraw::ViewShape::Classic;
    if (value == "wide") choice->render.view = platform::ddraw::ViewShape::Wide;
    return value == "4:3" || value == "wide" || bad("4:3 or wide");
  }
  if (option == "--rate") {
    return TakeRate(value, choice) || bad("pictures a second, a whole number from 1 to 1000");
  }
  if (option == "--threads") {
    return TakeThreads(value, choice) || bad("a whole number from 1 to 16");
  }
  return TakeDisplaySize(value, choice) || bad("WIDTHxHEIGHT, for instance 1920x1080");
}

}  // namespace replay
