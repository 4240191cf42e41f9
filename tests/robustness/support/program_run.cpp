#include "tests/robustness/support/program_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/temp_folder.h"

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

// This process's environment with the run's changes.
std::vector<std::string> EnvironmentFor(const ProgramRun& run) {
  std::vector<std::string> variables;
  for (char** variable = environ; *variable; ++variable) variables.emplace_back(*variable);
  for (const std::string& change : run.environment) {
    const std::string name = change.substr(0, change.find('='));
    std::erase_if(variables, [&](const std::string& v) { return v.rfind(name + "=", 0) == 0; });
    if (change.find('=') != std::string::npos) variables.push_back(change);
  }
  return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& words) {
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  return pointers;
}

// In the child, between fork and exec: only plain system calls from here on.
[[noreturn]] void BecomeProgram(const ProgramRun& run, char* const* argv, char* const* envp,
                                const std::filesystem::path& out,
                                const std::filesystem::path& err) {
  const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (outFd < 0 || errFd < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0) _exit(126);
  if (chdir(run.folder.c_str()) != 0) _exit(126);
  if (run.asNobody && geteuid() == 0 &&
      (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0)) {
    _exit(126);
  }
  execve(argv[0], argv, envp);
  _exit(127);
}

}  // namespace

ProgramResult RunProgram(const ProgramRun& run) {
  // Opened by the child before it gives up root, so the folder may be root's alone.
  const TempFolder outputs;
  const std::filesystem::path out = outputs.Path() / "out", err = outputs.Path() / "err";
  std::vector<std::string> words{run.program.string()};
  words.insert(words.end(), run.arguments.begin(), run.arguments.end());
  std::vector<std::string> variables = EnvironmentFor(run);
  const std::vector<char*> argv = Pointers(words);
  const std::vector<char*> envp = Pointers(variables);

  ProgramResult result;
  const pid_t child = fork();
  if (child < 0) return result;
  if (child == 0) BecomeProgram(run, argv.data(), envp.data(), out, err);

  int wait = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(run.timeoutSeconds);
  while (waitpid(child, &wait, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &wait, 0);
      result.timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (WIFEXITED(wait)) result.status = WEXITSTATUS(wait);
  result.out = ReadFile(out);
  result.err = ReadFile(err);
  return result;
}
