// What the program does with its options before anything starts, apart from main so that it can
// be tested and fuzzed: play with the options, print the help or the version and end with status
// 0, or refuse a mistake in the command line or the settings file with one line and status 2.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/startup/program_options.h"

namespace platform::startup {

// Reads the settings file at a path, as ReadSettingsFile does.
using SettingsReader = std::optional<std::string> (*)(const std::string& path, std::string* error);

struct StartupPlan {
  std::optional<int> exitStatus;  // set when the program ends before the game starts
  std::string standardOutput;     // the help or the version line
  std::string standardError;      // a refusal: one line naming the mistake
  ProgramOptions options;         // what the settings file, then the command line, chose
  std::string gameArguments;      // WinMain's command line
};

// The status of a refusal: nothing has started yet.
constexpr int kUsageStatus = 2;

// Reads the arguments after the program's name and, unless they ask for the help or the version
// (`versionLine`), the settings file at `settingsPath` (none when the path is empty).
StartupPlan PlanStartup(const std::vector<std::string_view>& arguments,
                        const std::string& settingsPath, SettingsReader readSettings,
                        std::string_view versionLine);

}  // namespace platform::startup
