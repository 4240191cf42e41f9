// Logging doubles of the drawing steps the frame driver and the state machine call, and a
// scripted keyboard behind GetKeyState, so a test can run whole frames of the real rules and
// read back the frame's script.
#pragma once

#include <set>
#include <string>
#include <vector>

struct LoggedCall {
  std::string name;  // "BeginSceneFrame", "DrawCourseCell", "DrawHudText", ...
  // DrawCourseCell: row, column, value. DrawHudText: size, x, y, red, green, blue, italic.
  std::vector<int> arguments;
  std::string text;  // DrawHudText's text
  // The game as the call found it, so a test can tell what ran before the call.
  int gameState;
  float playerX, playerY, playerZ, playerHeading;
};

struct FrameLog {
  std::vector<LoggedCall> calls;
  std::set<int> keysDown;  // virtual keys the scripted keyboard reports as down

  // Only the calls of one name, in order.
  std::vector<LoggedCall> Named(const std::string& name) const;
  // The texts drawn with DrawHudText, in order (shadow and text both).
  std::vector<std::string> Texts() const;
  // Whether a text was drawn (as either copy).
  bool Drew(const std::string& text) const;
};

// The one log the doubles write to.
FrameLog& Logged();

// Resets the game's record and the log for a fresh run of the game.
void ResetGame();
// Runs one frame with the given frame time.
void RunFrame(float seconds);
