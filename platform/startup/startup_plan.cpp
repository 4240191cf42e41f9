#include "platform/startup/startup_plan.h"

namespace platform::startup {
namespace {

// The reason quotes what was given, which may hold any bytes: a control character there (a line
// break, a NUL that would end the printed text early) is shown as an escape, so the refusal
// stays one whole line.
StartupPlan Refusal(std::string_view reason) {
  StartupPlan plan;
  plan.exitStatus = kUsageStatus;
  std::string& line = plan.standardError;
  line = "tirravel: ";
  for (const char c : reason) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      line += "\\n";
    } else if (c == '\r') {
      line += "\\r";
    } else if ((byte < ' ' && c != '\t') || byte == 0x7f) {
      static constexpr char kDigits[] = "0123456789abcdef";
      line += {'\\', 'x', kDigits[byte >> 4], kDigits[byte & 15]};
    } else {
      line += c;
    }
  }
  line += '\n';
  return plan;
}

}  // namespace

StartupPlan PlanStartup(const std::vector<std::string_view>& arguments,
                        const std::string& settingsPath, SettingsReader readSettings,
                        std::string_view versionLine) {
  std::string error;
  const auto commandLine = ReadCommandLine(arguments, &error);
  if (!commandLine) return Refusal(error);
  StartupPlan plan;
  if (commandLine->action == CommandLine::Action::ShowHelp) {
    plan.exitStatus = 0;
    plan.standardOutput = HelpText();
    return plan;
  }
  if (commandLine->action == CommandLine::Action::ShowVersion) {
    plan.exitStatus = 0;
    plan.standardOutput = std::string(versionLine) + "\n";
    return plan;
  }
  if (!settingsPath.empty()) {
    const auto settings = readSettings(settingsPath, &error);
    if (!error.empty()) return Refusal(error);
    if (settings && !ApplySettings(*settings, plan.options, &error)) {
      return Refusal(settingsPath + ":" + error);
    }
  }
  Apply(*commandLine, plan.options);
  plan.gameArguments = commandLine->gameArguments;
  return plan;
}

}  // namespace platform::startup
