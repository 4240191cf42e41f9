#include <cstdio>

#include "app/shell.h"
#include "game/frame_driver.h"
#include "record/game_globals.h"
#include "video/display.h"

namespace {

// A start-up step failed: say which, and why if the platform knows, on one line. The status is
// non-zero so that scripts and launchers see the failure.
int ReportStartupFailure(const char* step) {
  const char* reason = GetPlatformErrorText();
  if (reason && reason[0] != '\0') {
    std::fprintf(stderr, "%s failed: %s\n", step, reason);
  } else {
    std::fprintf(stderr, "%s failed\n", step);
  }
  return 1;
}

// Each turn either handles one message or renders one frame, never both; frames run only while
// the queue is empty. Returns the WM_QUIT's code.
int RunMessageLoop() {
  MSG message;
  for (;;) {
    FrameClock();
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) break;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    } else {
      RenderFrame();
    }
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  ClearPlatformErrorText();
  if (!InitWindow(instance, showCommand)) return ReportStartupFailure("InitWindow");
  ClearPlatformErrorText();
  if (!InitDirectDraw()) return ReportStartupFailure("InitDirectDraw");
  ClearPlatformErrorText();
  if (!InitDirect3D()) return ReportStartupFailure("InitDirect3D");
  ClearPlatformErrorText();
  if (!InitScene()) {
    // Reported before the release, which may leave reasons of its own.
    const int status = ReportStartupFailure("InitScene");
    ReleaseAll();
    return status;
  }

  globals.lastTick = GetTickCount();
  const int exitCode = RunMessageLoop();
  ReleaseAll();
  return exitCode;
}
