// tirravel-replay SCRIPT [--trace FILE] [--png DIR] [--frames LIST]
//                 [--scale N|native] [--view 4:3|wide] [--display WxH]
//
// Plays the game from a script on the headless host, in the current folder (which must hold
// Texture.bmp), and exits with the game's status. A mistake in the arguments or the script is
// one line on standard error and status 2, before the game starts; so is a trace or picture that
// could not be written, after it ends.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/replay/options.h"
#include "tools/replay/replay_runner.h"
#include "tools/replay/script.h"

namespace {

constexpr int kToolFailure = 2;

int Fail(const std::string& reason) {
  std::fprintf(stderr, "tirravel-replay: %s\n", reason.c_str());
  return kToolFailure;
}

bool ReadWholeFile(const std::string& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream contents;
  contents << file.rdbuf();
  text = contents.str();
  return !file.bad();
}

// A listed picture the script can never reach is a mistake in the arguments.
std::string CheckPicturesReachable(const replay::PictureSelection& pictures,
                                   std::uint64_t totalFrames) {
  if (pictures.mode != replay::PictureSelection::Mode::Listed) return {};
  const std::uint64_t highest = *pictures.frames.rbegin();
  if (highest <= totalFrames) return {};
  return "--frames asks for frame " + std::to_string(highest) + " but the script has only " +
         std::to_string(totalFrames);
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = replay::ParseOptions(argc - 1, argv + 1, &error);
  if (!options) {
    return Fail(error +
                "\nusage: tirravel-replay SCRIPT [--trace FILE] [--png DIR] [--frames LIST] " +
                replay::kDisplayOptionsUsage);
  }
  std::string text;
  if (!ReadWholeFile(options->script, text)) {
    return Fail("cannot read " + options->script + ": " + std::strerror(errno));
  }
  const auto script = replay::ParseScript(text, &error);
  if (!script) return Fail(options->script + ":" + error);
  if (const std::string reason = CheckPicturesReachable(options->pictures, script->TotalFrames());
      !reason.empty()) {
    return Fail(reason);
  }

  replay::ReplayOutputs outputs;
  outputs.pngFolder = options->pngFolder;
  outputs.pictures = options->pictures;
  outputs.display = options->display;
  if (!outputs.pngFolder.empty()) {
    std::error_code failure;
    std::filesystem::create_directories(outputs.pngFolder, failure);
    if (failure) return Fail("cannot create " + outputs.pngFolder + ": " + failure.message());
  }
  if (!options->trace.empty()) {
    outputs.trace = std::fopen(options->trace.c_str(), "w");
    if (!outputs.trace) return Fail("cannot write " + options->trace + ": " + std::strerror(errno));
  }

  replay::ScriptCursor cursor(*script);
  const replay::ReplayResult result =
      replay::RunReplay([&cursor] { return cursor.Next(); }, outputs);

  if (outputs.trace) {
    const bool failed = std::ferror(outputs.trace) != 0;
    if (std::fclose(outputs.trace) != 0 || failed)
      return Fail("writing " + options->trace + " failed");
  }
  if (!result.error.empty()) return Fail(result.error);
  return result.status;
}
