#pragma once

// Advances the wing flap and draws the butterfly's two wings at its current pose.
void DrawButterfly();
