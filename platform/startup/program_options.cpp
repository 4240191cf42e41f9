#include "platform/startup/program_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <initializer_list>
#include <system_error>
#include <utility>

#include "platform/d3d/drawing_threads.h"

namespace platform::startup {
namespace {

// Sets an option's value into the options; false when the value is not one the option accepts.
using Setter = bool (*)(std::string_view value, ProgramOptions& options);

struct OptionRow {
  std::string_view name;       // --name on the command line, name in the settings file
  std::string_view valueName;  // as --help shows it; empty for a flag, which takes no value
  std::string_view accepted;   // what the value may be, for --help and for mistakes
  std::string_view purpose;    // one line for --help
  std::string_view example;    // a whole command, for --help
  Setter set;                  // null for the actions (help, version), never in a settings file
};

bool ReadFlag(std::string_view value, bool& flag) {
  if (value == "true") {
    flag = true;
  } else if (value == "false") {
    flag = false;
  } else {
    return false;
  }
  return true;
}

// A decimal of digits with at most one point and no sign or exponent, from 1 to 8.
bool ReadScale(std::string_view value, ProgramOptions& options) {
  if (value == "native") {
    options.render.native = true;
    return true;
  }
  if (value.empty() || value.find_first_not_of("0123456789.") != std::string_view::npos ||
      value.front() == '.' || value.back() == '.') {
    return false;
  }
  // Judged as written (a double holds what a person types closely enough), not as the float it
  // becomes: 0.99999999999999999 rounds to the float 1 but is still below the range.
  double scale = 0.0;
  const char* end = value.data() + value.size();
  const auto [stop, failure] = std::from_chars(value.data(), end, scale);
  if (failure != std::errc{} || stop != end || !(scale >= 1.0 && scale <= 8.0)) return false;
  options.render.native = false;
  options.render.scale = static_cast<float>(scale);
  return true;
}

// Sets `field` to the choice named by `value`; false when no choice has that name.
template <typename Choice>
bool ReadChoice(std::string_view value,
                std::initializer_list<std::pair<std::string_view, Choice>> choices, Choice& field) {
  for (const auto& [name, choice] : choices) {
    if (value == name) {
      field = choice;
      return true;
    }
  }
  return false;
}

bool ReadRate(std::string_view value, ProgramOptions& options) {
  using platform::host::PictureRate;
  return ReadChoice(value, {{"60", PictureRate::Sixty}, {"display", PictureRate::Display}},
                    options.show.rate);
}

bool ReadView(std::string_view value, ProgramOptions& options) {
  using platform::ddraw::ViewShape;
  return ReadChoice(value, {{"4:3", ViewShape::Classic}, {"wide", ViewShape::Wide}},
                    options.render.view);
}

bool ReadThreads(std::string_view value, ProgramOptions& options) {
  const std::optional<int> threads = platform::d3d::DrawingThreadsNamed(value);
  if (threads) options.drawingThreads = *threads;
  return threads.has_value();
}

constexpr std::array kOptions{
    OptionRow{"help", "", "", "show this help and exit", "tirravel --help", nullptr},
    OptionRow{"version", "", "", "show the version and exit", "tirravel --version", nullptr},
    OptionRow{"window", "", "true or false", "start in a window (Alt+Enter switches)",
              "tirravel --window",
              [](std::string_view value, ProgramOptions& options) {
                return ReadFlag(value, options.show.inWindow);
              }},
    OptionRow{"scale", "N|native", "a number from 1 to 8 (like 2 or 2.25), or native",
              "draw the picture N times 640 x 480 (N from 1 to 8,\n"
              "like 2 or 2.25), or native: at the display's own size",
              "tirravel --scale 2.25", ReadScale},
    OptionRow{"view", "4:3|wide", "4:3 or wide",
              "the game's 4:3 view, or wide: the display's shape,\n"
              "showing more of the course to the sides",
              "tirravel --view wide", ReadView},
    OptionRow{"rate", "60|display", "60 or display",
              "about 60 pictures a second, as the game was made,\n"
              "or display: one at every refresh of the display",
              "tirravel --rate display", ReadRate},
    OptionRow{"threads", "N", "a whole number from 1 to 16",
              "draw the 3-D picture on N threads (1 to 16; the\n"
              "machine's cores unless given), the same picture on any",
              "tirravel --threads 2", ReadThreads},
    OptionRow{"verbose", "", "true or false",
              "say on standard error how the picture is shown and,\n"
              "once a second, how many pictures a second",
              "tirravel --verbose",
              [](std::string_view value, ProgramOptions& options) {
                return ReadFlag(value, options.show.verbose);
              }},
};

constexpr int kHelpRow = 0;

const OptionRow* FindRow(std::string_view name, int* index) {
  for (std::size_t i = 0; i < kOptions.size(); ++i) {
    if (kOptions[i].name == name) {
      *index = static_cast<int>(i);
      return &kOptions[i];
    }
  }
  return nullptr;
}

std::string NamesOf(bool settings) {
  std::string names;
  for (const OptionRow& row : kOptions) {
    if (settings && !row.set) continue;
    if (!names.empty()) names += ", ";
    names += settings ? std::string(row.name) : "--" + std::string(row.name);
  }
  return names;
}

void AppendGameArgument(std::string& line, std::string_view argument) {
  if (!line.empty()) line += ' ';
  const bool quote = argument.empty() || argument.find_first_of(" \t") != std::string_view::npos;
  if (quote) line += '"';
  line += argument;
  if (quote) line += '"';
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<CommandLine> ReadCommandLine(const std::vector<std::string_view>& arguments,
                                           std::string* error) {
  CommandLine commandLine;
  ProgramOptions checked;  // each value is tried here, so a mistake is found before anything runs
  auto fail = [error](const std::string& reason) {
    if (error) *error = reason;
    return std::nullopt;
  };
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
      AppendGameArgument(commandLine.gameArguments, argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    // --name, --name=value, or -h for --help.
    const bool longOption = argument.starts_with("--");
    const std::size_t equals = longOption ? argument.find('=') : std::string_view::npos;
    const std::string_view name =
        longOption ? argument.substr(2, equals == std::string_view::npos ? equals : equals - 2)
                   : (argument == "-h" ? "help" : "");
    int index = 0;
    const OptionRow* row = name.empty() ? nullptr : FindRow(name, &index);
    if (!row) {
      return fail("unknown option '" + std::string(argument) + "' (the options are " +
                  NamesOf(false) + ")");
    }
    const std::string shown = "--" + std::string(row->name);
    std::string value;
    if (equals != std::string_view::npos) {
      value = argument.substr(equals + 1);
    } else if (!row->valueName.empty()) {
      if (i + 1 >= arguments.size() || arguments[i + 1].starts_with("--")) {
        return fail("option '" + shown + "' needs a value: " + std::string(row->accepted));
      }
      value = arguments[++i];
    } else if (row->set) {
      value = "true";  // a bare flag
    }
    if (!row->set) {
      if (equals != std::string_view::npos) return fail("option '" + shown + "' takes no value");
      if (commandLine.action == CommandLine::Action::Play) {
        commandLine.action =
            index == kHelpRow ? CommandLine::Action::ShowHelp : CommandLine::Action::ShowVersion;
      }
      continue;
    }
    if (!row->set(value, checked)) {
      return fail("option '" + shown + "' does not take '" + value +
                  "': " + std::string(row->accepted));
    }
    commandLine.options.push_back({index, value});
  }
  return commandLine;
}

void Apply(const CommandLine& commandLine, ProgramOptions& options) {
  for (const GivenOption& given : commandLine.options) {
    kOptions[static_cast<std::size_t>(given.row)].set(given.value, options);
  }
}

bool ApplySettings(std::string_view text, ProgramOptions& options, std::string* error) {
  int lineNumber = 0;
  auto fail = [&](const std::string& reason) {
    if (error) *error = std::to_string(lineNumber) + ": " + reason;
    return false;
  };
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    line = Trimmed(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      return fail("'" + std::string(line) + "' is not a setting (name = value, or a # comment)");
    }
    const std::string_view name = Trimmed(line.substr(0, equals));
    const std::string_view value = Trimmed(line.substr(equals + 1));
    int index = 0;
    const OptionRow* row = FindRow(name, &index);
    if (!row || !row->set) {
      return fail("unknown setting '" + std::string(name) + "' (the settings are " + NamesOf(true) +
                  ")");
    }
    if (!row->set(value, options)) {
      return fail(std::string(name) + " = '" + std::string(value) + "' is not " +
                  std::string(row->accepted));
    }
  }
  return true;
}

std::string HelpText() {
  constexpr std::size_t kColumn = 24;  // where the descriptions start
  std::string text =
      "Usage: tirravel [OPTION]...\n"
      "Fly a butterfly along a winding corridor against the clock.\n\n";
  for (const OptionRow& row : kOptions) {
    std::string name = (row.name == "help" ? "  -h, --" : "      --") + std::string(row.name);
    if (!row.valueName.empty()) name += " " + std::string(row.valueName);
    // Two spaces at least between a name and its purpose; a longer name has a line of its own.
    text += name.size() + 2 <= kColumn ? name + std::string(kColumn - name.size(), ' ')
                                       : name + "\n" + std::string(kColumn, ' ');
    for (const char c : row.purpose)
      text += c == '\n' ? "\n" + std::string(kColumn, ' ') : std::string(1, c);
    text += "\n" + std::string(kColumn, ' ') + "example: " + std::string(row.example) + "\n";
  }
  text +=
      "\nAn option's value may also follow an equals sign: --scale=2. A flag may be\n"
      "given as --window=true or --window=false.\n\n"
      "The same options without their dashes may be set in the settings file\n"
      "$XDG_CONFIG_HOME/tirravel/tirravel.conf (~/.config/tirravel/tirravel.conf when\n"
      "XDG_CONFIG_HOME is unset): one \"name = value\" a line, a flag as \"window = true\"\n"
      "or \"window = false\", and # for comments. The command line wins over the file.\n"
      "The game reads the file and never writes it.\n";
  return text;
}

}  // namespace platform::startup
