// Any bytes as the program's command line and settings file: the command line's words, each ended
// by a NUL byte, up to the first 0xFF byte; after it, the settings file's text (no 0xFF: no
// settings file). The start-up plans what to do with them as main does. Nothing may crash or
// hang; a refusal is one line on standard error (no control character in it but tabs) and
// status 2; help and version end with status 0; and nothing is accepted that --help does not
// document: every option and setting named there, every value one of the choices it shows for
// that option (for a number, within the range it gives), a flag's value one its examples show.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/startup/startup_plan.h"

namespace {

[[noreturn]] void Fault(const std::string& what) {
  std::fprintf(stderr, "options fuzzer: %s\n", what.c_str());
  std::abort();
}

// What --help documents of one option.
struct Documented {
  bool takesValue = false;
  std::vector<std::string> choices;    // from "--view 4:3|wide"; a capital word is a number
  double lowest = 0.0, highest = 0.0;  // the number's range, from "N from 1 to 8" or "(1 to 16"
};

// Every option --help lists, by name ("-h" too, for its short form), and the values its examples
// give a flag ("--window=true").
struct HelpDocuments {
  std::map<std::string, Documented, std::less<>> options;
  std::set<std::string, std::less<>> flagValues;
};

std::string WordAt(std::string_view text, std::size_t start) {
  const std::size_t end = text.find_first_of(" \n,", start);
  return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

HelpDocuments ReadHelp() {
  const std::string help = platform::startup::HelpText();
  HelpDocuments documents;
  std::string lastName;  // the option whose lines these are; empty after the options
  std::vector<std::string> flags;
  for (std::size_t start = 0, end; start < help.size(); start = end + 1) {
    end = help.find('\n', start);
    if (end == std::string::npos) end = help.size();
    const std::string_view line = std::string_view(help).substr(start, end - start);
    // An option's line: "  -h, --help", or "      --scale N|native" then its purpose.
    const bool withShort = line.starts_with("  -") && line.find(", --") != std::string_view::npos;
    if (line.starts_with("      --") || withShort) {
      const std::size_t at = line.find("--");
      const std::string name = WordAt(line, at + 2);
      Documented documented;
      const std::size_t after = at + 2 + name.size();
      if (after + 1 < line.size() && line[after] == ' ' && line[after + 1] != ' ') {
        documented.takesValue = true;
        const std::string valueName = WordAt(line, after + 1);
        for (std::size_t from = 0, bar; from <= valueName.size(); from = bar + 1) {
          bar = valueName.find('|', from);
          if (bar == std::string::npos) bar = valueName.size();
          documented.choices.push_back(valueName.substr(from, bar - from));
        }
      } else {
        flags.push_back(name);
      }
      if (!documents.options.emplace(name, documented).second) {
        Fault("--help lists --" + name + " twice");
      }
      lastName = name;
      if (withShort) documents.options.emplace(WordAt(line, 2), documented);
    } else if (!line.starts_with(" ")) {
      lastName.clear();  // the paragraphs after the options
    }
    // A number's range, the first "A to B" of its option's purpose: "(N from 1 to 8", "(1 to 16".
    if (!lastName.empty()) {
      Documented& documented = documents.options.find(lastName)->second;
      const std::size_t to = line.find(" to ");
      const std::size_t from = line.find_last_not_of("0123456789.", to - 1) + 1;
      if (documented.highest == 0.0 && to != std::string_view::npos && from < to &&
          std::sscanf(std::string(line.substr(from)).c_str(), "%lf to %lf", &documented.lowest,
                      &documented.highest) != 2) {
        Fault("unreadable range in --help: " + std::string(line));
      }
    }
  }
  // The flags' values, from the examples "--window=true or --window=false".
  for (const std::string& flag : flags) {
    const std::string example = "--" + flag + "=";
    for (std::size_t at = help.find(example); at != std::string::npos;
         at = help.find(example, at + 1)) {
      std::string value = WordAt(help, at + example.size());
      while (!value.empty() && (value.back() == '.' || value.back() == ',')) value.pop_back();
      documents.flagValues.insert(value);
    }
  }
  if (documents.options.empty() || documents.flagValues.empty()) Fault("--help documents nothing");
  return documents;
}

const HelpDocuments& Help() {
  static const HelpDocuments documents = ReadHelp();
  return documents;
}

bool IsPlaceholder(std::string_view choice) {
  return !choice.empty() && choice.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == choice.npos;
}

// A value the program took for an option must be one --help shows for it.
void CheckDocumented(std::string_view name, std::optional<std::string_view> value) {
  const auto option = Help().options.find(name);
  if (option == Help().options.end()) Fault("accepted '" + std::string(name) + "', not in --help");
  if (!value) return;
  const Documented& documented = option->second;
  const std::string text(*value);
  if (!documented.takesValue) {
    if (!Help().flagValues.contains(text)) Fault(std::string(name) + " accepted '" + text + "'");
    return;
  }
  for (const std::string& choice : documented.choices) {
    if (choice == text) return;
    if (IsPlaceholder(choice) && !text.empty()) {
      char* end = nullptr;
      const double number = std::strtod(text.c_str(), &end);
      if (*end == '\0' && number >= documented.lowest && number <= documented.highest) return;
    }
  }
  Fault(std::string(name) + " accepted '" + text + "', which --help does not show");
}

// Walks a command line the program accepted, as --help describes it: each option must be there.
void CheckCommandLine(const std::vector<std::string_view>& words) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string_view word = words[i];
    if (word == "--") return;  // the rest is the game's
    if (word.size() < 2 || word[0] != '-') continue;
    const bool longForm = word.starts_with("--");
    const std::size_t equals = longForm ? word.find('=') : std::string_view::npos;
    const std::string_view name = longForm ? word.substr(2, equals - 2) : word;
    std::optional<std::string_view> value;
    if (equals != std::string_view::npos) {
      value = word.substr(equals + 1);
    } else if (const auto option = Help().options.find(name);
               option != Help().options.end() && option->second.takesValue) {
      if (i + 1 == words.size()) Fault("accepted " + std::string(word) + " with no value");
      value = words[++i];
    }
    CheckDocumented(name, value);
  }
}

// Walks a settings file the program accepted: "name = value" lines of documented options.
void CheckSettings(std::string_view text) {
  auto trimmed = [](std::string_view part) {
    const std::size_t first = part.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return std::string_view{};
    return part.substr(first, part.find_last_not_of(" \t\r") - first + 1);
  };
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    line = trimmed(line.substr(0, line.find('#')));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty()) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) Fault("accepted the line '" + std::string(line) + "'");
    CheckDocumented(trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)));
  }
}

// The settings file's text for this input, and whether the start-up read it.
std::optional<std::string> settingsText;
bool settingsRead = false;

std::optional<std::string> ReadFuzzedSettings(const std::string&, std::string*) {
  settingsRead = true;
  return settingsText;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\xff');
  const std::string_view line = input.substr(0, split);
  settingsText.reset();
  if (split != std::string_view::npos) settingsText = std::string(input.substr(split + 1));
  settingsRead = false;
  std::vector<std::string_view> words;
  for (std::size_t start = 0, end; start < line.size(); start = end + 1) {
    end = line.find('\0', start);
    if (end == std::string_view::npos) end = line.size();
    words.push_back(line.substr(start, end - start));
  }

  const platform::startup::StartupPlan plan = platform::startup::PlanStartup(
      words, "/home/player/.config/tirravel/tirravel.conf", ReadFuzzedSettings, "tirravel 1.0");
  if (!plan.standardError.empty()) {
    const std::string& refusal = plan.standardError;
    if (plan.exitStatus != platform::startup::kUsageStatus) Fault("a refusal without status 2");
    if (!refusal.starts_with("tirravel: ") || refusal.size() <= std::strlen("tirravel: \n")) {
      Fault("a refusal that does not say what is wrong: " + refusal);
    }
    for (std::size_t i = 0; i + 1 < refusal.size(); ++i) {
      const auto byte = static_cast<unsigned char>(refusal[i]);
      if ((byte < ' ' && byte != '\t') || byte == 0x7f) {
        Fault("a refusal of more than one line: " + refusal);
      }
    }
    if (refusal.back() != '\n') Fault("a refusal without its line's end");
    return 0;
  }
  CheckCommandLine(words);
  if (plan.exitStatus) {
    if (plan.exitStatus != 0 || plan.standardOutput.empty()) Fault("help or version failed");
    return 0;
  }
  if (!plan.standardOutput.empty()) Fault("printed while going on to play");
  if (settingsRead && settingsText) CheckSettings(*settingsText);
  return 0;
}
