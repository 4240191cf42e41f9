#include "bench/frame/commands.h"

namespace bench {

std::string Usage() {
  return "usage: tirravel-bench COMMAND ...\n"
         "  frames SCRIPT SCENARIO optimised|reference   per-frame cost of the whole game\n"
         "  capture SCRIPT SCENARIO FILE                 the scenario's frames as device calls\n"
         "  playback FILE LABEL optimised|reference      per-frame cost of a capture\n"
         "  compare FILE LABEL [PNG]                     both devices, pixel for pixel\n"
         "  record-race FILE                             the race script, by the autopilot\n"
         "  text                                         DrawHudText, first use and cached\n"
         "  startup                                      process start to the first flip\n"
         "  memory SCRIPT                                peak resident memory of a replay\n"
         "  table FILE.csv                               the table of the rows of a run\n"
         "  fuzz-seeds CAPTURE FOLDER                    the device fuzzer's seeds, from a title\n"
         "SCENARIO is title, countdown, flight or goal. Run from a folder with Texture.bmp.\n"
         "frames and memory also take [--scale N|native] [--view 4:3|wide] [--display WxH]\n"
         "[--rate HZ]: the game drawn at a render scale and view on a pretended display\n"
         "(640x480 at 60 Hz unless given), with a picture at each of its refreshes, and\n"
         "[--threads N]: the device drawing on N threads, each frame's wall time measured\n"
         "(without it: one thread, and the game thread's processor time).\n";
}

}  // namespace bench
