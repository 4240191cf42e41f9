#pragma once

// Draws one line of Shift-JIS text onto the back buffer in the bold Mincho face, `size` pixels
// high, top-left at (x, y), in the colour (red, green, blue) (low 8 bits of each). Draws nothing
// when the back buffer's drawing context cannot be had.
void DrawHudText(const char* text, int size, int x, int y, int red, int green, int blue,
                 int italic);
