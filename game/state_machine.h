#pragma once

// The state machine: advances the countdown, the race or the title screen by one frame, moves the
// camera's anchor while the butterfly is not being flown, and draws every screen text.
void UpdateGameState();
