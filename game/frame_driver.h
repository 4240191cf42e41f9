#pragma once

// Runs one whole frame: resets, key polling, drawing, flight, camera, state machine, flip.
// Returns 1.
int RenderFrame();
