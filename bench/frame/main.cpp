// tirravel-bench COMMAND ARGUMENTS...: the frame-cost benchmarks of the game on the headless
// host (see commands.h). Run from a folder holding Texture.bmp; scripts/bench runs them all.
#include <cstdio>
#include <string_view>

#include "bench/frame/commands.h"

int main(int argc, char** argv) {
  struct Entry {
    std::string_view name;
    int (*run)(const bench::Arguments&);
  };
  static constexpr Entry kCommands[] = {
      {"frames", &bench::FramesCommand},
      {"capture", &bench::CaptureCommand},
      {"playback", &bench::PlaybackCommand},
      {"compare", &bench::CompareCommand},
      {"record-race", &bench::RecordRaceCommand},
      {"text", &bench::TextCommand},
      {"startup", &bench::StartupCommand},
      {"memory", &bench::MemoryCommand},
      {"table", &bench::TableCommand},
      {"fuzz-seeds", &bench::FuzzSeedsCommand},
      {"startup-child", &bench::StartupChildCommand},
      {"text-child", &bench::TextChildCommand},
  };
  if (argc >= 2) {
    const bench::Arguments arguments(argv + 2, argv + argc);
    for (const Entry& entry : kCommands) {
      if (entry.name == argv[1]) return entry.run(arguments);
    }
  }
  std::fprintf(stderr, "%s", bench::Usage().c_str());
  return 2;
}
