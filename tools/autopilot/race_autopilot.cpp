// race_autopilot OUTPUT: flies the golden race (see race_scripts.h) through the real game on the
// headless host and writes its script. Run it from a folder holding Texture.bmp.
#include <cstdio>
#include <string>

#include "tools/autopilot/race_scripts.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: race_autopilot OUTPUT.replay\n");
    return 2;
  }
  std::string error;
  const std::string script = autopilot::GoldenRaceScript(&error);
  if (script.empty()) {
    std::fprintf(stderr, "race_autopilot: %s\n", error.c_str());
    return 1;
  }
  std::FILE* file = std::fopen(argv[1], "w");
  if (!file) {
    std::fprintf(stderr, "race_autopilot: cannot write %s\n", argv[1]);
    return 1;
  }
  std::fputs(script.c_str(), file);
  return std::fclose(file) == 0 ? 0 : 1;
}
