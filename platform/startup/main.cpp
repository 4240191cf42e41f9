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
#include "platform/startup/settings_file.h"
#include "platform/startup/startup_plan.h"

#ifndef TIRRAVEL_VERSION
#error "TIRRAVEL_VERSION names the program's version"
#endif

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const platform::startup::StartupPlan plan = platform::startup::PlanStartup(
      arguments, platform::startup::SettingsFilePath(), platform::startup::ReadSettingsFile,
      "tirravel " TIRRAVEL_VERSION);
  std::fputs(plan.standardOutput.c_str(), stdout);
  std::fputs(plan.standardError.c_str(), stderr);
  if (plan.exitStatus) return *plan.exitStatus;

  const platform::startup::ProgramOptions& options = plan.options;
  platform::ddraw::RequestRender(options.render);
  platform::host::RequestShow(options.show);
  platform::d3d::RequestDrawingThreads(options.drawingThreads);

  platform::d3d::InstallDirect3D();
  std::string gameArguments = plan.gameArguments;
  const int status =
      WinMain(GetModuleHandleA(nullptr), nullptr, gameArguments.data(), SW_SHOWDEFAULT);
  // A window left open (a start-up step failed after it was created) goes with the process.
  platform::host::CloseWindow();
  return status;
}
