// The commands that turn the files of a run into others: the table of its rows, and the device
// fuzzer's seeds from a capture.
#include <cstdio>
#include <fstream>

#include "bench/capture/capture.h"
#include "bench/frame/commands.h"
#include "bench/frame/device_seeds.h"
#include "bench/frame/report.h"

namespace bench {

int TableCommand(const Arguments& arguments) {
  if (arguments.size() != 1) return Fail("table FILE.csv");
  std::ifstream file(arguments[0]);
  if (!file) return Fail("cannot read " + arguments[0]);
  std::string error;
  const std::optional<ReportInput> input = ReadReport(file, &error);
  if (!input) return Fail(arguments[0] + ": " + error);
  std::fputs(FormatReport(*input).c_str(), stdout);
  return 0;
}

int FuzzSeedsCommand(const Arguments& arguments) {
  if (arguments.size() != 2) return Fail("fuzz-seeds CAPTURE FOLDER");
  std::string error;
  const auto capture = capture::ReadCapture(arguments[0], &error);
  if (!capture) return Fail(error);
  const std::vector<DeviceSeed> seeds = DeviceSeeds(*capture);
  if (seeds.empty()) return Fail(arguments[0] + " has no frame that draws");
  for (const DeviceSeed& seed : seeds) {
    const std::string path = arguments[1] + "/" + seed.name + ".bin";
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(seed.bytes.data()),
               static_cast<std::streamsize>(seed.bytes.size()));
    if (!file.flush()) return Fail("cannot write " + path);
    std::printf("%s\n", path.c_str());
  }
  return 0;
}

}  // namespace bench
