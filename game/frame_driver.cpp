#include "game/frame_driver.h"

#include "game/flight_model.h"
#include "game/key_tracker.h"
#include "game/start_cell.h"
#include "game/state_machine.h"
#include "platform/api/win32.h"
#include "record/course_grid.h"
#include "record/game_globals.h"
#include "render/butterfly.h"
#include "render/course_cell.h"
#include "render/scene.h"

namespace {

void RunFirstFrameSetup(GameGlobals& g) {
  if (g.firstRunPending != 1) return;
  g.gameState = StateTitle;
  g.bestTime = kNoBestTime;
  g.firstRunPending = 0;
}

// Puts the butterfly on the start cell's centre facing +z and arms the countdown's camera
// swing-in: the camera moves only while titleCamY > 0 and turns only while its heading < 90.
void RunRaceReset(GameGlobals& g) {
  if (g.raceResetPending != 1) return;
  PlaceOnStartCell(g);
  g.flapRate = 1;
  g.airborne = 0;
  g.takeoffCharge = 0.0f;
  g.bank = 0.0f;
  g.pitch = 30.0f;
  g.speed = 0.0f;
  g.stateTimer = 0.0f;
  g.titleCamX = 1.0f;
  g.titleCamY = 1.0f;
  g.titleCamZ = 1.0f;
  g.titleCamHeading = 0.0f;
  g.raceResetPending = 0;
}

void PollGameKeys(GameGlobals& g) {
  PollKey(VK_UP, g.upKey);
  PollKey(VK_LEFT, g.leftKey);
  PollKey(VK_RIGHT, g.rightKey);
  PollKey(VK_SPACE, g.spaceKey);
  PollKey(VK_SHIFT, g.shiftKey);
}

// Every non-empty cell, every frame, row by row: with no depth buffer this order (and the
// butterfly after it) decides what covers what.
void DrawCourse() {
  for (std::int32_t row = 0; row < kCourseRows; ++row) {
    for (std::int32_t column = 0; column < kCourseColumns; ++column) {
      const std::int32_t value = CourseGrid[row][column];
      if (value != CellEmpty) DrawCourseCell(row, column, value);
    }
  }
}

}  // namespace

int RenderFrame() {
  GameGlobals& g = globals;
  RunFirstFrameSetup(g);
  RunRaceReset(g);
  PollGameKeys(g);

  // Drawing comes before updating: the frame shows the world as the previous frame left it, and
  // the camera installed at its end serves the next frame.
  BeginSceneFrame();
  DrawCourse();
  DrawButterfly();
  if (g.gameState == StateFlying) UpdateFlight();
  FinishSceneFrame();
  if (g.gameState == StateTitle) DrawDeviceInfo();
  UpdateGameState();
  PresentFrame();
  return 1;
}
