#include "game/state_machine.h"

#include <cstdio>

#include "game/random.h"
#include "game/start_cell.h"
#include "game/truncation.h"
#include "record/game_globals.h"
#include "record/screen_texts.h"
#include "render/hud_text.h"

namespace {

struct Colour {
  int red;
  int green;
  int blue;
};

constexpr Colour kGrey{120, 120, 120};
constexpr Colour kDarkShadow{20, 20, 20};
constexpr Colour kOrange{255, 180, 0};

// Orange that turns redder with speed: green falls by 3 per unit of speed.
Colour SpeedColour(const GameGlobals& g) {
  return {255, 180 - TruncateToInt32(3.0f * g.speed), 0};
}

// Every screen text is drawn twice: the shadow first, then the coloured text over it.
void DrawShadowedText(const char* text, int height, int shadowX, int shadowY, Colour shadow, int x,
                      int y, Colour colour) {
  DrawHudText(text, height, shadowX, shadowY, shadow.red, shadow.green, shadow.blue, 0);
  DrawHudText(text, height, x, y, colour.red, colour.green, colour.blue, 0);
}

// "%d" texts, formatted into a buffer that always has room for any int32.
struct NumberText {
  char buffer[64];
  NumberText(const char* format, std::int32_t value) {
    std::snprintf(buffer, sizeof buffer, format, static_cast<int>(value));
  }
};

void DrawSpeed(const GameGlobals& g) {
  const NumberText text(kTextSpeedFormat, TruncateToInt32(g.speed));
  DrawShadowedText(text.buffer, 50, 21, 32, kGrey, 20, 30, SpeedColour(g));
}

const char* CountText(float timer) {
  if (timer > 1.0f && timer < 2.0f) return kTextCount3;
  if (timer > 2.0f && timer < 3.0f) return kTextCount2;
  if (timer > 3.0f && timer < 4.0f) return kTextCount1;
  if (timer > 4.0f && timer < 5.0f) return kTextCountStart;
  return nullptr;  // the first second and the exact whole seconds show no count
}

void RunCountdown(GameGlobals& g) {
  DrawSpeed(g);
  // The camera swings in from high above, turning to face along the start corridor.
  if (g.titleCamHeading < 90.0f) {
    g.titleCamHeading = g.stateTimer * 20.0f;
  } else if (g.titleCamHeading > 90.0f) {
    g.titleCamHeading = 90.0f;
  }
  if (g.titleCamY > 0.0f) {
    g.titleCamY = 50.0f - g.stateTimer * 15.0f;
  } else if (g.titleCamY < 0.0f) {
    g.titleCamY = 0.0f;
  }
  g.titleCamX = 45.0f;
  g.titleCamZ = 45.0f;
  g.stateTimer = g.stateTimer + g.frameSeconds;

  DrawShadowedText(kTextCountdownTime, 50, 21, 82, kGrey, 20, 80, SpeedColour(g));
  if (const char* count = CountText(g.stateTimer)) {
    DrawShadowedText(count, 200, 85, 105, kGrey, 80, 100, kOrange);
  }

  if (g.stateTimer > 5.0f) {
    g.resultInitPending = 1;
    g.gameState = StateFlying;
    g.stateTimer = 0.0f;
    PlaceOnStartCell(g);
  }
}

void RunRace(GameGlobals& g) {
  // A give-up leaves the timer at exactly 0 for the rest of the frame: that 0 is how the title
  // screen tells a given-up race from a finished one.
  const bool gaveUp = g.shiftKey == KeyPressed;
  if (gaveUp) {
    g.stateTimer = 0.0f;
    g.gameState = StateTitle;
  }
  DrawSpeed(g);
  if (!gaveUp) {
    g.stateTimer = g.stateTimer + g.frameSeconds;
  }
  const NumberText time(kTextRaceTimeFormat, TruncateToInt32(g.stateTimer));
  DrawShadowedText(time.buffer, 50, 21, 82, kGrey, 20, 80, SpeedColour(g));
  DrawShadowedText(kTextGiveUpHint, 30, 21, 442, kDarkShadow, 20, 440, kOrange);
}

void DrawTitleTexts(const GameGlobals& g) {
  DrawShadowedText(kTextTitle, 150, 22, 12, kGrey, 20, 10, kOrange);
  if (g.bestTime != kNoBestTime) {
    if (g.stateTimer != 0.0f) {
      const NumberText time(kTextResultTimeFormat, TruncateToInt32(g.stateTimer));
      DrawShadowedText(time.buffer, 80, 22, 172, kGrey, 20, 170, kOrange);
    } else {
      DrawShadowedText(kTextResultGiveUp, 80, 22, 172, kGrey, 20, 170, kOrange);
    }
    const NumberText best(kTextBestTimeFormat, g.bestTime);
    DrawShadowedText(best.buffer, 80, 22, 252, kGrey, 20, 250, kOrange);
  } else {
    DrawShadowedText(kTextControlsUp, 55, 22, 162, kGrey, 20, 160, kOrange);
    DrawShadowedText(kTextControlsTurn, 55, 22, 212, kGrey, 20, 210, kOrange);
    DrawShadowedText(kTextControlsSpace, 55, 22, 262, kGrey, 20, 260, kOrange);
  }
  // The prompt scrolls in from the right edge as the orbit angle grows.
  const int shadowX = TruncateToInt32(651.0f - 3.0f * g.orbitAngle);
  const int x = TruncateToInt32(650.0f - 3.0f * g.orbitAngle);
  DrawShadowedText(kTextPushShift, 50, shadowX, 391, kGrey, x, 390, kOrange);
}

// A new camera anchor and butterfly pose for the drift, drawn in this order from the game's rand.
void PlaceDriftAnew(GameGlobals& g) {
  g.orbitAngle = g.orbitAngle - 360.0f;
  g.titleCamHeading = static_cast<float>(RandomRange(0, 360));
  g.titleCamX = 150.0f;
  g.titleCamY = static_cast<float>(RandomRange(0, 30));
  g.titleCamZ = 150.0f;
  g.playerY = static_cast<float>(RandomRange(0, 2)) + g.titleCamY;
  g.driftClimb = RandomRange(0, 1);
  g.playerHeading = static_cast<float>(RandomRange(35, 55));
}

// The share of its step that each per-picture motion of the title screen takes in one picture.
// Those steps were made for the 60 pictures a second of the game's display mode; where the
// display shows more (the player's choice), each step shrinks so that the motion keeps its speed
// per second. At 60 pictures a second, as without that choice, the share is exactly 1 and the
// steps are the game's own.
float PictureStepShare(const GameGlobals& g) {
  DWORD picturesPerSecond = 0;
  if (!g.directDraw || g.directDraw->GetMonitorFrequency(&picturesPerSecond) != DD_OK ||
      picturesPerSecond == 0) {
    return 1.0f;
  }
  return 60.0f / static_cast<float>(picturesPerSecond);
}

void RunTitle(GameGlobals& g) {
  const std::int32_t raceSeconds = TruncateToInt32(g.stateTimer);
  if (raceSeconds != 0 && raceSeconds < g.bestTime) g.bestTime = raceSeconds;

  DrawTitleTexts(g);

  if (g.resultInitPending == 1) {
    g.titleCamHeading = g.playerHeading;
    g.titleCamX = g.playerX;
    g.titleCamY = g.playerY;
    g.titleCamZ = g.playerZ;
    g.orbitAngle = g.playerHeading;
    g.orbitPhase = 1;
    g.resultInitPending = 0;
  }
  // Tested before this frame's orbit update, so a press in the frame that completes the first
  // orbit is still refused.
  if (g.shiftKey == KeyPressed && g.orbitPhase > 1) {
    g.gameState = StateCountdown;
    g.raceResetPending = 1;
  }

  g.orbitAngle = g.orbitAngle + g.frameSeconds * 70.0f;
  const float stepShare = PictureStepShare(g);
  if (g.orbitPhase < 3) {
    g.titleCamHeading = g.orbitAngle;
    // The butterfly turns toward heading 45 by one degree per frame, not per second (by the
    // frame's share of a degree at the display's own rate).
    const float turn = 1.0f * stepShare;
    if (g.playerHeading > 45.0f) g.playerHeading = g.playerHeading - turn;
    if (g.playerHeading < 45.0f) g.playerHeading = g.playerHeading + turn;
  }
  // Each of the next two steps removes at most one turn per frame, so a very long frame is
  // worked off over several frames.
  if (g.orbitAngle >= 360.0f && g.orbitPhase < 3) {
    g.orbitAngle = g.orbitAngle - 360.0f;
    g.orbitPhase += 1;
  }
  if (g.orbitAngle >= 360.0f && g.orbitPhase >= 3) PlaceDriftAnew(g);

  if (g.orbitPhase >= 3) {
    // The drift moves a fixed distance per frame, so it goes farther at high frame rates (but at
    // the display's own rate, where each frame takes its share).
    const float d = g.orbitAngle / 200.0f * stepShare;
    const float climb = static_cast<float>(g.driftClimb);
    g.titleCamX = g.titleCamX + d;
    g.titleCamZ = g.titleCamZ + d;
    g.titleCamY = g.titleCamY + d * climb;
    g.playerX = g.titleCamX;
    g.playerZ = g.titleCamZ;
    g.playerY = g.playerY + d * climb;
  }
}

}  // namespace

void UpdateGameState() {
  GameGlobals& g = globals;
  // The state is read afresh before each block, so a block that changes it lets the new state's
  // block run in the same frame.
  if (g.gameState == StateCountdown) RunCountdown(g);
  if (g.gameState == StateFlying) RunRace(g);
  if (g.gameState == StateTitle) RunTitle(g);
}
