#include "tests/support/doubles/display_doubles.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "game/frame_driver.h"
#include "platform/api/win32.h"
#include "platform/core/last_error.h"
#include "platform/host/headless/headless_host.h"
#include "video/display.h"

ShellScript& Script() {
  static ShellScript script;
  return script;
}

namespace {

int Step(const char* name, int result) {
  ShellScript& script = Script();
  script.calls.push_back(name);
  if (result == 0 && !script.failureReason.empty()) {
    platform::SetLastErrorText(script.failureReason);
  } else if (result != 0 && !script.successNoise.empty()) {
    platform::SetLastErrorText(script.successNoise);
  }
  return result;
}

}  // namespace

int InitDirectDraw() {
  return Step("InitDirectDraw", Script().initDirectDraw);
}
int InitDirect3D() {
  return Step("InitDirect3D", Script().initDirect3D);
}

int InitScene() {
  platform::host::headless::AdvanceClock(Script().sceneLoadMs);
  return Step("InitScene", Script().initScene);
}

int ReleaseAll() {
  Script().calls.push_back("ReleaseAll");
  return 1;
}

int RenderFrame() {
  ShellScript& script = Script();
  script.calls.push_back("RenderFrame");
  ++script.frames;
  // A loop that ignores WM_QUIT as well must not hang the test run.
  if (script.frames > 2 * script.frameLimit) std::abort();
  if (script.frames > script.frameLimit) {
    ADD_FAILURE() << "the message loop did not end";
    PostQuitMessage(99);
    return 1;
  }
  if (script.onFrame) script.onFrame(script.frames);
  return 1;
}
