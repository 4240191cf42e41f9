#pragma once

// Degrees become radians by this factor everywhere the game converts them: the float whose bits
// are 0x3C8EE7A7, a little below pi/180. The course, the camera and the butterfly all agree on it,
// so it stays, slight error and all.
inline constexpr float kDegreesToRadians = 0.017444445f;
