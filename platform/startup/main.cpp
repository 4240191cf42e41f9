// The program's start-up: reads the program's own options (the settings file, then the command
// line), hands them to the modules that honour them, plugs Direct3D into DirectDraw, then hands
// control to WinMain as the Windows start-up code does, with the program's module, no previous
// instance, the arguments that are not options and SW_SHOWDEFAULT, and makes WinMain's result
// the exit status.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/win32.h"
#include "platform/d3d/drawing_threads.h"
#include "platform/d3d/install.h"
#include "platform/host/host.h"
#include "platform/startup/program_options.h"
#include "platform/startup/settings_file.h"

#ifndef TIRRAVEL_VERSION
#error "TIRRAVEL_VERSION names the program's version"
#endif

namespace {

// A mistake in the options or the settings file: nothing has started yet.
constexpr int kUsageStatus = 2;

int Refuse(const std::string& reason) {
  std::fprintf(stderr, "tirravel: %s\n", reason.c_str());
  return kUsageStatus;
}

}  // namespace

int main(int argc, char** argv) {
  using platform::startup::CommandLine;
  std::string error;
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const auto commandLine = platform::startup::ReadCommandLine(arguments, &error);
  if (!commandLine) return Refuse(error);
  if (commandLine->action == CommandLine::Action::ShowHelp) {
    std::fputs(platform::startup::HelpText().c_str(), stdout);
    return 0;
  }
  if (commandLine->action == CommandLine::Action::ShowVersion) {
    std::puts("tirravel " TIRRAVEL_VERSION);
    return 0;
  }

  platform::startup::ProgramOptions options;
  const std::string settingsPath = platform::startup::SettingsFilePath();
  if (!settingsPath.empty()) {
    const auto settings = platform::startup::ReadSettingsFile(settingsPath, &error);
    if (!error.empty()) return Refuse(error);
    if (settings && !platform::startup::ApplySettings(*settings, options, &error)) {
      return Refuse(settingsPath + ":" + error);
    }
  }
  platform::startup::Apply(*commandLine, options);
  platform::ddraw::RequestRender(options.render);
  platform::host::RequestShow(options.show);
  platform::d3d::RequestDrawingThreads(options.drawingThreads);

  platform::d3d::InstallDirect3D();
  std::string gameArguments = commandLine->gameArguments;
  const int status =
      WinMain(GetModuleHandleA(nullptr), nullptr, gameArguments.data(), SW_SHOWDEFAULT);
  // A window left open (a start-up step failed after it was created) goes with the process.
  platform::host::CloseWindow();
  return status;
}
