// The program's start-up: plugs Direct3D into DirectDraw, then hands control to WinMain as the
// Windows start-up code does, with the program's module, no previous instance, the command line
// after the program's name and SW_SHOWDEFAULT, and makes WinMain's result the exit status.
#include <string>
#include <string_view>

#include "platform/api/win32.h"
#include "platform/d3d/install.h"
#include "platform/host/host.h"

namespace {

// The arguments after the program's name, joined with spaces; an argument holding a space or
// a tab is quoted, so the line reads back as the same arguments.
std::string CommandLineAfterProgram(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (!line.empty()) line += ' ';
    const bool quote = argument.empty() || argument.find_first_of(" \t") != std::string_view::npos;
    if (quote) line += '"';
    line += argument;
    if (quote) line += '"';
  }
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  platform::d3d::InstallDirect3D();
  std::string commandLine = CommandLineAfterProgram(argc, argv);
  const int status =
      WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
  // A window left open (a start-up step failed after it was created) goes with the process.
  platform::host::CloseWindow();
  return status;
}
