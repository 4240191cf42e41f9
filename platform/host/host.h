// The only door between the platform layer and the operating system. Two hosts implement it and
// the executable's link decides which one runs: the SDL host (a real window, keyboard, clock and
// display) and the headless host (a virtual clock, scripted keys, frames kept in memory).
// Nothing above the platform layer includes this header.
#pragma once

#include <cstdint>
#include <string>

namespace platform::host {

struct Event {
  enum class Type {
    KeyDown,  // virtualKey went down (repeat is set for auto-repeat)
    KeyUp,    // virtualKey went up
    Close,    // the user asked the window to close (the desktop's close button)
  };
  Type type = Type::KeyDown;
  // Windows virtual-key code, for the key events. Shift, control and Alt come sided (VK_LSHIFT,
  // VK_RSHIFT, ...), so that the platform can tell when both of a pair are up.
  int virtualKey = 0;
  bool repeat = false;
};

// How many pictures a second are shown.
enum class PictureRate {
  Sixty,    // about 60, the rhythm of the game's display mode, whatever the display's refresh
  Display,  // a new picture at every refresh of the display
};

// How the player asked for the pictures to be shown (the program's options). The default is the
// game as designed: the whole screen.
struct ShowRequest {
  bool inWindow = false;  // open in a window rather than full screen (Alt+Enter still switches)
  PictureRate rate = PictureRate::Sixty;
  // Say on standard error how the pictures are shown and, once a second, how many a second.
  bool verbose = false;
};

// Takes effect for the windows opened after it; the headless host has no window to change.
void RequestShow(const ShowRequest& request);

// Opens the game's window with the given title, showing a width × height picture. Returns false
// and fills *error (one line, e.g. that no display could be opened) when it cannot.
bool OpenWindow(const char* title, int width, int height, std::string* error);
// Closes the window if it is open. Safe to call at any time.
void CloseWindow();
// Whether OpenWindow succeeded and CloseWindow has not been called since.
bool WindowIsOpen();
// Shows or hides the open window (it opens hidden); does nothing when no window is open.
void SetWindowVisible(bool visible);

// Takes the next pending event without waiting; false when none is pending. Keys are reported
// by scancode, so keyboard layouts don't matter; when the window loses focus, a KeyUp arrives
// for every key that is still down.
bool PollEvent(Event& event);

// The pictures a second the program should reckon with: 60, the game's display mode, unless the
// player asked for PictureRate::Display; then the display's refresh in whole hertz (60 while it
// is not known).
int PicturesPerSecond();

// Milliseconds since the host started, wrapping at 2^32.
std::uint32_t TickMilliseconds();

// Told by the platform each time the program has handled a message and nothing else waits in
// its queue, so its next turn renders unless the host has input pending. The headless host may
// move its clock here (a frame's length asked for after input); the SDL host does nothing.
void MessageQueueDrained();

// The size in pixels of the display the window is on (of the first display before a window
// opens), so that pictures can be drawn at its own resolution and shape. False when no display
// can be asked; the headless host answers the size it pretends.
bool DisplaySize(int* width, int* height);

// Shows an RGB565 picture (pitch in bytes; 640 × 480, or larger at a render scale) and returns
// once the display has taken it (after the next refresh on the SDL host). While the window is
// hidden or minimised it sleeps for one refresh instead of spinning.
void Present(const std::uint16_t* pixels, int width, int height, int pitchBytes);

}  // namespace platform::host
