// A WinMain that reports what the platform's main handed it and returns 7, so a script can check
// the arguments and that the result becomes the exit status.
#include <cstdio>

#include "platform/api/win32.h"

int WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand) {
  std::printf("instance=%s previous=%s show=%d line=[%s]\n",
              instance == GetModuleHandleA(nullptr) ? "module" : "other",
              previousInstance == nullptr ? "null" : "set", showCommand, commandLine);
  return 7;
}
