#include "frame_recorder.h"

#include "game/frame_driver.h"
#include "platform/api/win32.h"
#include "record/game_globals.h"
#include "render/butterfly.h"
#include "render/course_cell.h"
#include "render/hud_text.h"
#include "render/scene.h"

FrameRecorder& Recorder() {
  static FrameRecorder recorder;
  return recorder;
}

std::vector<RecordedCall> FrameRecorder::Named(const std::string& name) const {
  std::vector<RecordedCall> result;
  for (const RecordedCall& call : calls) {
    if (call.name == name) result.push_back(call);
  }
  return result;
}

std::vector<std::string> FrameRecorder::Texts() const {
  std::vector<std::string> texts;
  for (const RecordedCall& call : Named("DrawHudText")) texts.push_back(call.text);
  return texts;
}

bool FrameRecorder::Drew(const std::string& text) const {
  for (const std::string& drawn : Texts()) {
    if (drawn == text) return true;
  }
  return false;
}

void ResetGame() {
  globals = GameGlobals{};
  Recorder() = FrameRecorder{};
}

void RunFrame(float seconds) {
  globals.frameSeconds = seconds;
  Recorder().calls.clear();
  RenderFrame();
}

namespace {
void Record(const char* name, std::vector<int> arguments = {}, std::string text = {}) {
  const GameGlobals& g = globals;
  Recorder().calls.push_back({name, std::move(arguments), std::move(text), g.gameState, g.playerX,
                              g.playerY, g.playerZ, g.playerHeading});
}
}  // namespace

SHORT GetKeyState(int virtualKey) {
  Record("GetKeyState", {virtualKey});
  return Recorder().keysDown.count(virtualKey) ? static_cast<SHORT>(0xFF80) : SHORT{0};
}

void BeginSceneFrame() {
  Record("BeginSceneFrame");
}
void FinishSceneFrame() {
  Record("FinishSceneFrame");
}
void UpdateCamera() {
  Record("UpdateCamera");
}
void DrawDeviceInfo() {
  Record("DrawDeviceInfo");
}
void PresentFrame() {
  Record("PresentFrame");
}
void DrawButterfly() {
  Record("DrawButterfly");
}
void DrawCourseCell(std::int32_t row, std::int32_t column, std::int32_t value) {
  Record("DrawCourseCell", {row, column, value});
}
void DrawHudText(const char* text, int size, int x, int y, int red, int green, int blue,
                 int italic) {
  Record("DrawHudText", {size, x, y, red, green, blue, italic}, text);
}
