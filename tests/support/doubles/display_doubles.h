// Doubles of the display set-up and of RenderFrame, for running the real WinMain on the
// headless host: each records its call, the Init steps succeed or fail as told, and every frame
// runs a hook of the test's.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct ShellScript {
  int initDirectDraw = 1;  // what each step returns
  int initDirect3D = 1;
  int initScene = 1;
  std::string failureReason;      // given to the platform's error text by the step that fails
  std::string successNoise;       // error text left behind by a step that succeeds anyway
  std::uint32_t sceneLoadMs = 0;  // virtual time InitScene takes
  std::function<void(int frame)> onFrame;  // called by RenderFrame with its number, from 1
  int frameLimit = 500;  // a run still going after this many frames is a failure, and is ended

  std::vector<std::string> calls;  // "InitDirectDraw", ..., "RenderFrame", "ReleaseAll"
  int frames = 0;
};

ShellScript& Script();
