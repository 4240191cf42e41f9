// The commands that play captures back on our own devices.
#include <cstdio>

#include "bench/capture/device_playback.h"
#include "bench/frame/commands.h"
#include "bench/frame/game_run.h"
#include "bench/frame/statistics.h"
#include "platform/d3d/drawing_threads.h"
#include "platform/host/headless/png_writer.h"

namespace bench {

int PlaybackCommand(const Arguments& arguments) {
  if (arguments.size() != 3 || (arguments[2] != "optimised" && arguments[2] != "reference")) {
    return Fail("playback FILE LABEL optimised|reference");
  }
  std::string error;
  const auto capture = capture::ReadCapture(arguments[0], &error);
  if (!capture) return Fail(error);
  // The caller's processor time measures all the drawing only when it does all of it.
  platform::d3d::RequestDrawingThreads(1);
  const auto playback =
      capture::DevicePlayback::Create(*capture, arguments[2] == "reference", &error);
  if (!playback) return Fail(error);
  std::vector<double> costs;
  costs.reserve(capture->frames.size());
  for (const capture::Frame& frame : capture->frames) {
    const double start = ThreadCpuSeconds();
    playback->DrawFrame(frame);
    costs.push_back(ThreadCpuSeconds() - start);
  }
  PrintFrameSummary("playback", arguments[1], arguments[2], Summarise(costs));
  return 0;
}

int CompareCommand(const Arguments& arguments) {
  if (arguments.size() < 2 || arguments.size() > 3) return Fail("compare FILE LABEL [PNG]");
  std::string error;
  const auto capture = capture::ReadCapture(arguments[0], &error);
  if (!capture) return Fail(error);
  const auto optimised = capture::DevicePlayback::Create(*capture, false, &error);
  const auto reference =
      optimised ? capture::DevicePlayback::Create(*capture, true, &error) : nullptr;
  if (!reference) return Fail(error);
  std::size_t differentFrames = 0;
  std::size_t differentPixels = 0;
  std::size_t litPixels = 0;
  for (const capture::Frame& frame : capture->frames) {
    optimised->DrawFrame(frame);
    reference->DrawFrame(frame);
    const std::vector<std::uint16_t> a = optimised->Pixels();
    const std::vector<std::uint16_t> b = reference->Pixels();
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
      differing += a[i] != b[i];
      litPixels += a[i] != frame.clearColour;
    }
    differentFrames += differing != 0;
    differentPixels += differing;
  }
  if (arguments.size() == 3) {
    const std::vector<std::uint16_t> last = optimised->Pixels();
    if (!platform::WriteRgb565Png(arguments[2], last.data(), capture->width, capture->height,
                                  capture->width * 2, &error)) {
      return Fail(error);
    }
  }
  const double frames = static_cast<double>(capture->frames.size());
  PrintRow("compare", arguments[1], "optimised-reference", "frames differing",
           static_cast<double>(differentFrames), "frames");
  PrintRow("compare", arguments[1], "optimised-reference", "pixels differing",
           static_cast<double>(differentPixels), "pixels");
  PrintRow("compare", arguments[1], "optimised", "lit pixels per frame",
           static_cast<double>(litPixels) / frames, "pixels");
  return differentFrames == 0 ? 0 : 1;
}

}  // namespace bench
