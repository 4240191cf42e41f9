#include "bench/frame/child_process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <sstream>

#include "bench/frame/statistics.h"

extern char** environ;

namespace bench {

bool RunSelf(const std::vector<std::string>& arguments, std::string* output, std::string* error) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    *error = "no pipe";
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::vector<std::string> line{"/proc/self/exe"};
  line.insert(line.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : line) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned =
      posix_spawn(&child, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spawned != 0) {
    close(pipeEnds[0]);
    *error = "cannot start this program again";
    return false;
  }
  output->clear();
  char buffer[4096];
  for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    output->append(buffer, got);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    *error = "the child run of `" + arguments.front() + "` failed";
    return false;
  }
  return true;
}

void PrintMedianRows(const std::vector<std::string>& outputs) {
  std::vector<std::string> order;
  std::map<std::string, std::vector<double>> values;
  std::map<std::string, std::string> units;
  for (const std::string& output : outputs) {
    std::istringstream lines(output);
    for (std::string row; std::getline(lines, row);) {
      const std::size_t unitComma = row.rfind(',');
      const std::size_t valueComma = row.rfind(',', unitComma - 1);
      if (unitComma == std::string::npos || valueComma == std::string::npos) continue;
      const std::string key = row.substr(0, valueComma);
      if (!values.count(key)) order.push_back(key);
      values[key].push_back(std::stod(row.substr(valueComma + 1, unitComma - valueComma - 1)));
      units[key] = row.substr(unitComma + 1);
    }
  }
  for (const std::string& key : order) {
    std::printf("%s,%.6g,%s\n", key.c_str(), Summarise(values[key]).median, units[key].c_str());
  }
  std::fflush(stdout);
}

bool PrintMedianOfRuns(int runs, const std::function<std::vector<std::string>()>& arguments,
                       std::string* error) {
  std::vector<std::string> outputs;
  for (int run = 0; run < runs; ++run) {
    std::string output;
    if (!RunSelf(arguments(), &output, error)) return false;
    outputs.push_back(output);
  }
  PrintMedianRows(outputs);
  return true;
}

}  // namespace bench
