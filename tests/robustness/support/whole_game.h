// The whole game (WinMain and everything under it) run in this process on the headless host,
// through the replay runner, or as the tirravel-replay program: what it said, how it ended and
// what it left behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "tools/replay/display_choice.h"
#include "tools/replay/replay_step.h"

struct GameOutcome {
  int status = -1;
  std::uint64_t frames = 0;
  std::string err;              // everything written to standard error
  int graphicsObjectsLeft = 0;  // platform objects alive afterwards, but the window
};

// Called before the first frame (0) and after every frame; a step without a frame ends the game.
using FrameScript = std::function<replay::ReplayStep(std::uint64_t frame)>;

// Plays in `folder` until the script ends the game, drawn for `display`. The working directory is
// restored.
GameOutcome PlayInProcess(const std::filesystem::path& folder, const FrameScript& script,
                          const replay::DisplayChoice& display = {});

// A script of `frames` frames of `milliseconds` each, no keys.
FrameScript IdleFrames(std::uint64_t frames, std::uint32_t milliseconds);

// The tirravel-replay program of the build.
std::filesystem::path ReplayProgram();

// The tirravel-replay program (or a copy of it elsewhere) in `folder` with a script of a few
// idle frames.
GameOutcome PlayAsProgram(const std::filesystem::path& folder, bool asNobody = false,
                          const std::filesystem::path& program = ReplayProgram());

// The installed game's data folder for the program at `program`, as the game finds it.
std::filesystem::path DataFolderBeside(const std::filesystem::path& program);

// What follows "InitScene failed: " when neither `folder` nor the data folder beside `program`
// has a Texture.bmp.
std::string TextureNotFound(const std::filesystem::path& folder,
                            const std::filesystem::path& program);

// A fresh, empty folder in the process's own temporary folder, which goes when the tests are
// over.
std::filesystem::path FreshFolder(const std::string& name);
