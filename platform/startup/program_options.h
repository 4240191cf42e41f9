// The program's own options, read before WinMain: from the command line (GNU style, --name value
// or --name=value) and from the settings file (name = value lines), the command line winning.
// One table (program_options.cpp) lists every option; adding one is adding a row there and a
// field to ProgramOptions. What the game itself is handed (WinMain's command line) is the rest of
// the arguments, unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ddraw/render_geometry.h"
#include "platform/host/host.h"

namespace platform::startup {

// Everything the options choose, each part for the module that honours it.
struct ProgramOptions {
  platform::ddraw::RenderRequest render;  // --scale, --view
  platform::host::ShowRequest show;       // --window, --rate, --verbose
  int drawingThreads = 0;                 // --threads; 0 for the machine's cores
};

// One option as given: the index of its row in the table, and its value ("" for a bare flag).
struct GivenOption {
  int row = 0;
  std::string value;
};

struct CommandLine {
  enum class Action { Play, ShowHelp, ShowVersion };
  Action action = Action::Play;
  std::vector<GivenOption> options;  // in the order given, each value already checked
  // The arguments that are not options (and all after "--"), joined for WinMain: one with a
  // space or a tab, or an empty one, is quoted, so the line reads back as the same arguments.
  std::string gameArguments;
};

// Reads the arguments after the program's name. On a mistake (an unknown option, a missing or
// bad value) returns nothing and sets *error to one line naming it and what is accepted.
std::optional<CommandLine> ReadCommandLine(const std::vector<std::string_view>& arguments,
                                           std::string* error);

// Applies the options of a command line read by ReadCommandLine.
void Apply(const CommandLine& commandLine, ProgramOptions& options);

// Applies the text of a settings file: "name = value" lines with the options' names ("true" or
// "false" for a flag), blank lines, and comments from "#" to the end of the line. On a bad line
// stops and sets *error to "LINE: what is wrong and what is accepted".
bool ApplySettings(std::string_view text, ProgramOptions& options, std::string* error);

// What --help prints: every option, what it does and an example of each.
std::string HelpText();

}  // namespace platform::startup
