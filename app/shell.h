// The program's outermost layer: its one window, the window's message procedure and the clock
// that measures every turn of the message loop. WinMain itself is declared in platform/api/win32.h.
#pragma once

#include "platform/api/win32.h"

// Registers the "Main Window" class and creates, shows and paints the game's pop-up window,
// storing it in globals.mainWindow. Returns 1, or 0 when the class or the window cannot be had.
int InitWindow(HINSTANCE instance, int showCommand);

// The window's message procedure: Escape and F12 destroy the window, Z toggles the texture
// filter, other keys are swallowed, and the window's destruction ends the message loop.
LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Stores in globals.frameSeconds the seconds since the previous call (or since WinMain's first
// reading), then takes a fresh reading for the next call.
void FrameClock();
