// The program's options: the command line, the settings file, and what --help shows.
#include "platform/startup/program_options.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "platform/startup/settings_file.h"
#include "tests/support/temp_folder.h"

namespace {

using platform::ddraw::ViewShape;
using platform::startup::CommandLine;
using platform::startup::ProgramOptions;

std::optional<CommandLine> Read(std::vector<std::string_view> arguments,
                                std::string* error = nullptr) {
  return platform::startup::ReadCommandLine(arguments, error);
}

ProgramOptions Chosen(std::vector<std::string_view> arguments, std::string_view settings = "") {
  ProgramOptions options;
  std::string error;
  EXPECT_TRUE(platform::startup::ApplySettings(settings, options, &error)) << error;
  const auto commandLine = Read(arguments, &error);
  EXPECT_TRUE(commandLine) << error;
  if (commandLine) platform::startup::Apply(*commandLine, options);
  return options;
}

TEST(CommandLine, TakesValuesInBothFormsAndHandsTheRestToTheGame) {
  const ProgramOptions defaults = Chosen({});
  EXPECT_EQ(defaults.render.scale, 1.0f);
  EXPECT_FALSE(defaults.render.native);
  EXPECT_EQ(defaults.render.view, ViewShape::Classic);
  EXPECT_FALSE(defaults.show.inWindow);
  EXPECT_FALSE(defaults.show.verbose);
  EXPECT_EQ(defaults.drawingThreads, 0);  // the machine's cores

  const ProgramOptions chosen =
      Chosen({"--scale", "2.25", "--view=wide", "--window", "--verbose=true"});
  EXPECT_TRUE(chosen.show.verbose);
  EXPECT_EQ(chosen.render.scale, 2.25f);
  EXPECT_EQ(chosen.render.view, ViewShape::Wide);
  EXPECT_TRUE(chosen.show.inWindow);
  EXPECT_TRUE(Chosen({"--scale=native"}).render.native);
  EXPECT_FALSE(Chosen({"--scale=native", "--scale", "8"}).render.native);  // the last one wins
  EXPECT_EQ(Chosen({"--scale", "1"}).render.scale, 1.0f);
  EXPECT_EQ(Chosen({"--threads", "1"}).drawingThreads, 1);
  EXPECT_EQ(Chosen({"--threads=16"}).drawingThreads, 16);

  const auto line = Read({"first", "--window", "two words", "", "--", "--scale", "-"});
  ASSERT_TRUE(line);
  EXPECT_EQ(line->action, CommandLine::Action::Play);
  EXPECT_EQ(line->gameArguments, R"(first "two words" "" --scale -)");
  EXPECT_EQ(line->options.size(), 1u);

  EXPECT_EQ(Read({"--window", "-h", "--version"})->action, CommandLine::Action::ShowHelp);
  EXPECT_EQ(Read({"--version", "--help"})->action, CommandLine::Action::ShowVersion);
}

TEST(CommandLine, RefusesWithOneLineNamingTheOptionAndWhatItTakes) {
  const struct {
    std::vector<std::string_view> arguments;
    std::string_view named;     // the option or value the line must name
    std::string_view accepted;  // and what it must say is accepted
  } cases[] = {
      {{"--speed"}, "'--speed'", "--window, --scale, --view"},
      {{"-x"}, "'-x'", "--help"},
      {{"--scale"}, "'--scale' needs a value", "1 to 8"},
      {{"--scale", "--window"}, "'--scale' needs a value", "native"},
      {{"--scale", "9"}, "'9'", "1 to 8"},
      {{"--scale=0.5"}, "'0.5'", "1 to 8"},
      {{"--scale", "0.9999999999999999"}, "'0.9999999999999999'", "1 to 8"},  // a float's 1
      {{"--scale", "2."}, "'2.'", "1 to 8"},
      {{"--scale", "1e0"}, "'1e0'", "1 to 8"},
      {{"--scale", "+2"}, "'+2'", "1 to 8"},
      {{"--scale="}, "''", "1 to 8"},
      {{"--view", "16:9"}, "'16:9'", "4:3 or wide"},
      {{"--threads", "0"}, "'0'", "1 to 16"},
      {{"--threads", "17"}, "'17'", "1 to 16"},
      {{"--threads", "2.5"}, "'2.5'", "1 to 16"},
      {{"--window=yes"}, "'yes'", "true or false"},
      {{"--help=1"}, "'--help' takes no value", ""},
  };
  for (const auto& mistake : cases) {
    std::string error;
    EXPECT_FALSE(Read(mistake.arguments, &error)) << mistake.arguments[0];
    EXPECT_NE(error.find(mistake.named), std::string::npos) << error;
    EXPECT_NE(error.find(mistake.accepted), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

TEST(SettingsFile, ReadsNamedValuesUnderTheCommandLine) {
  const std::string_view settings =
      "# my display\r\n"
      "\n"
      "  scale = 3   # sharper\r\n"
      "view=wide\n"
      "window = true\n"
      "window = false\n";
  const ProgramOptions fromFile = Chosen({}, settings);
  EXPECT_EQ(fromFile.render.scale, 3.0f);
  EXPECT_EQ(fromFile.render.view, ViewShape::Wide);
  EXPECT_FALSE(fromFile.show.inWindow);  // the later line wins

  const ProgramOptions overridden = Chosen({"--scale", "2", "--view", "4:3", "--window"}, settings);
  EXPECT_EQ(overridden.render.scale, 2.0f);
  EXPECT_EQ(overridden.render.view, ViewShape::Classic);
  EXPECT_TRUE(overridden.show.inWindow);
  EXPECT_FALSE(Chosen({"--window=false"}, "window = true").show.inWindow);

  const struct {
    std::string_view text;
    std::string_view error;
  } mistakes[] = {
      {"scale = 2\n\nscale 2\n", "3: 'scale 2' is not a setting"},
      {"# fine\nspeed = 2\n", "2: unknown setting 'speed' (the settings are window, scale, view"},
      {"help = true\n", "1: unknown setting 'help'"},
      {"scale = 12", "1: scale = '12' is not a number from 1 to 8"},
      {"window =\n", "1: window = '' is not true or false"},
      {"view = 16:9 # no\n", "1: view = '16:9' is not 4:3 or wide"},
  };
  for (const auto& mistake : mistakes) {
    ProgramOptions options;
    std::string error;
    EXPECT_FALSE(platform::startup::ApplySettings(mistake.text, options, &error));
    EXPECT_TRUE(error.starts_with(mistake.error)) << error;
  }
}

TEST(SettingsFile, IsFoundUnderTheConfigFolderAndReadWhenThere) {
  const TempFolder temporary;
  const std::filesystem::path& folder = temporary.Path();
  std::filesystem::create_directories(folder / "tirravel");
  setenv("HOME", "/home/player", 1);
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(platform::startup::SettingsFilePath(), "/home/player/.config/tirravel/tirravel.conf");
  setenv("XDG_CONFIG_HOME", "", 1);
  EXPECT_EQ(platform::startup::SettingsFilePath(), "/home/player/.config/tirravel/tirravel.conf");
  setenv("XDG_CONFIG_HOME", "relative", 1);
  EXPECT_EQ(platform::startup::SettingsFilePath(), "/home/player/.config/tirravel/tirravel.conf");
  setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  const std::string path = platform::startup::SettingsFilePath();
  EXPECT_EQ(path, (folder / "tirravel/tirravel.conf").string());

  std::string error;
  EXPECT_FALSE(platform::startup::ReadSettingsFile(path, &error));
  EXPECT_EQ(error, "");  // no file, no settings
  std::ofstream(path) << "scale = 2\n";
  EXPECT_EQ(platform::startup::ReadSettingsFile(path, &error), "scale = 2\n");
  std::ofstream(path) << std::string(70000, '#');
  EXPECT_FALSE(platform::startup::ReadSettingsFile(path, &error));
  EXPECT_NE(error.find(path + ": longer than"), std::string::npos) << error;
  error.clear();
  EXPECT_FALSE(platform::startup::ReadSettingsFile(folder.string(), &error));
  EXPECT_NE(error.find("cannot be read"), std::string::npos) << error;
}

TEST(Help, ShowsEveryOptionWithAnExample) {
  const std::string help = platform::startup::HelpText();
  for (const char* name :
       {"help", "version", "window", "scale", "view", "rate", "threads", "verbose"}) {
    const std::string option = std::string("--") + name;
    const bool listed = help.find("\n      " + option) != std::string::npos ||
                        help.find("\n  -h, " + option) != std::string::npos;
    EXPECT_TRUE(listed) << name;
    EXPECT_NE(help.find("example: tirravel " + option), std::string::npos) << name;
  }
  std::size_t start = 0;
  for (std::size_t end; (end = help.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = help.substr(start, end - start);
    EXPECT_LE(line.size(), 80u) << line;
    // An option's name stands alone on its line, or two spaces at least before its purpose,
    // which starts in column 24.
    if (line.starts_with("      --") || line.starts_with("  -h, --")) {
      EXPECT_TRUE(line.size() < 24 || (line.substr(22, 2) == "  " && line[24] != ' ')) << line;
    }
  }
}

}  // namespace
