#include "frame_log.h"

#include "game/frame_driver.h"
#include "platform/api/win32.h"
#include "record/game_globals.h"
#include "render/butterfly.h"
#include "render/course_cell.h"
#include "render/hud_text.h"
#include "render/scene.h"

FrameLog& Logged() {
  static FrameLog log;
  return log;
}

std::vector<LoggedCall> FrameLog::Named(const std::string& name) const {
  std::vector<LoggedCall> result;
  for (const LoggedCall& call : calls) {
    if (call.name == name) result.push_back(call);
  }
  return result;
}

std::vector<std::string> FrameLog::Texts() const {
  std::vector<std::string> texts;
  for (const LoggedCall& call : Named("DrawHudText")) texts.push_back(call.text);
  return texts;
}

bool FrameLog::Drew(const std::string& text) const {
  for (const std::string& drawn : Texts()) {
    if (drawn == text) return true;
  }
  return false;
}

void ResetGame() {
  globals = GameGlobals{};
  Logged() = FrameLog{};
}

void RunFrame(float seconds) {
  globals.frameSeconds = seconds;
  Logged().calls.clear();
  RenderFrame();
}

namespace {
void Note(const char* name, std::vector<int> arguments = {}, std::string text = {}) {
  const GameGlobals& g = globals;
  Logged().calls.push_back({name, std::move(arguments), std::move(text), g.gameState, g.playerX,
                            g.playerY, g.playerZ, g.playerHeading});
}
}  // namespace

SHORT GetKeyState(int virtualKey) {
  Note("GetKeyState", {virtualKey});
  return Logged().keysDown.count(virtualKey) ? static_cast<SHORT>(0xFF80) : SHORT{0};
}

void BeginSceneFrame() {
  Note("BeginSceneFrame");
}
void FinishSceneFrame() {
  Note("FinishSceneFrame");
}
void UpdateCamera() {
  Note("UpdateCamera");
}
void DrawDeviceInfo() {
  Note("DrawDeviceInfo");
}
void PresentFrame() {
  Note("PresentFrame");
}
void DrawButterfly() {
  Note("DrawButterfly");
}
void DrawCourseCell(std::int32_t row, std::int32_t column, std::int32_t value) {
  Note("DrawCourseCell", {row, column, value});
}
void DrawHudText(const char* text, int size, int x, int y, int red, int green, int blue,
                 int italic) {
  Note("DrawHudText", {size, x, y, red, green, blue, italic}, text);
}
