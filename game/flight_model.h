#pragma once

// Advances the butterfly by one frame from the held keys and frameSeconds: speed, the move over
// the course, turning and banking, take-off, climbing and descent. Reaching the goal cell switches
// the game to the title screen.
void UpdateFlight();
