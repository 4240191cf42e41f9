// Runs a program as a player would start it, in a chosen folder, and collects what it said and
// how it ended.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct ProgramRun {
  std::filesystem::path program;
  std::vector<std::string> arguments;
  std::filesystem::path folder;  // its working directory
  // Variables set (NAME=value) or, with no '=', removed, on top of this process's environment.
  std::vector<std::string> environment;
  bool asNobody = false;  // when this process is root: run as user and group 65534
  int timeoutSeconds = 120;
};

struct ProgramResult {
  int status = -1;        // the exit status; -1 when it did not exit normally
  bool timedOut = false;  // killed after the timeout
  std::string out;        // standard output
  std::string err;        // standard error
};

ProgramResult RunProgram(const ProgramRun& run);
