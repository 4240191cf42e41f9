// tirravel-peer CAPTURE LABEL VARIANT [PNG]: draws a capture's frames with Mesa's llvmpipe
// through OSMesa into a 640 × 480 RGB 565 buffer and prints the per-frame processor and wall
// times as bench rows (scripts/bench sets LP_NUM_THREADS for one thread or llvmpipe's default).
// PNG, when given, receives the last frame.
#include <GL/osmesa.h>
#include <time.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/capture/capture.h"
#include "bench/frame/statistics.h"
#include "bench/peer/gl_playback.h"
#include "platform/host/headless/png_writer.h"

namespace {

constexpr std::size_t kWarmUpFrames = 50;  // llvmpipe compiles its shaders on first use

double Seconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

int Fail(const std::string& reason) {
  std::fprintf(stderr, "tirravel-peer: %s\n", reason.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) return Fail("usage: tirravel-peer CAPTURE LABEL VARIANT [PNG]");
  const std::string label = argv[2], variant = argv[3];
  std::string error;
  const auto capture = capture::ReadCapture(argv[1], &error);
  if (!capture) return Fail(error);

  OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGB_565, 0, 0, 0, nullptr);
  if (!context) return Fail("no OSMesa context");
  std::vector<std::uint16_t> pixels(static_cast<std::size_t>(capture->width) * capture->height);
  if (!OSMesaMakeCurrent(context, pixels.data(), GL_UNSIGNED_SHORT_5_6_5, capture->width,
                         capture->height)) {
    return Fail("OSMesaMakeCurrent failed");
  }
  OSMesaPixelStore(OSMESA_Y_UP, 0);  // row 0 at the top, as our pictures are
  std::fprintf(stderr, "tirravel-peer: %s, %s\n",
               reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
               reinterpret_cast<const char*>(glGetString(GL_VERSION)));

  peer::GlPlayback playback;
  if (!playback.SetUp(*capture)) return Fail("the GL context lacks what the playback needs");
  for (std::size_t i = 0; i < kWarmUpFrames && i < capture->frames.size(); ++i) {
    playback.DrawFrame(capture->frames[i]);
  }
  std::vector<double> cpu, wall;
  for (const capture::Frame& frame : capture->frames) {
    const double cpuStart = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    const double wallStart = Seconds(CLOCK_MONOTONIC);
    playback.DrawFrame(frame);
    wall.push_back(Seconds(CLOCK_MONOTONIC) - wallStart);
    cpu.push_back(Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart);
  }
  if (argc == 5 && !platform::WriteRgb565Png(argv[4], pixels.data(), capture->width,
                                             capture->height, capture->width * 2, &error)) {
    return Fail(error);
  }
  OSMesaDestroyContext(context);

  const bench::Summary cpuSummary = bench::Summarise(cpu);
  const bench::Summary wallSummary = bench::Summarise(wall);
  bench::PrintFrameSummary("peer", label, variant, cpuSummary);
  bench::PrintRow("peer", label, variant, "wall median", wallSummary.median * 1e3, "ms");
  bench::PrintRow("peer", label, variant, "wall p95", wallSummary.p95 * 1e3, "ms");
  return 0;
}
