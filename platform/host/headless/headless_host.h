// The headless host's controls, for tests and tools: a virtual clock that moves only when told,
// keyboard and close requests fed from code, and the presented pictures kept in memory. The
// platform reaches this host only through platform/host/host.h; the game never sees either.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/host/host.h"

namespace platform::host::headless {

struct Settings {
  std::uint32_t startTick = 0;  // the clock's reading at Reset
  // How many of the latest pictures stay in memory as copies. 0 keeps none (LastFrame is null,
  // KeptFrames empty) and spares each Present a copy of the picture, for runs that read none.
  int framesKept = 1;
  bool displayAvailable = true;  // false: OpenWindow fails as it does without a display
  // The display's size it pretends (DisplaySize), for `native` and the wide view.
  int displayWidth = 640;
  int displayHeight = 480;
  // The refresh of the display it stands for: the pictures a second when the program asks for
  // the display's rate (host.h's PictureRate::Display).
  int displayRefreshHz = 60;
};

// One presented picture, packed (pitch = width × 2 bytes).
struct Frame {
  std::uint64_t number = 0;  // 1 for the first picture presented since Reset
  int width = 0;
  int height = 0;
  std::vector<std::uint16_t> pixels;  // RGB565, top row first
};

// Starts afresh: closes the window and forgets events, schedules, pictures, the observer,
// requested clock moves and the program's request (host.h's RequestShow); sets the clock to
// settings.startTick.
void Reset(const Settings& settings = {});

// Time passes: the clock moves forward now (wrapping at 2^32).
void AdvanceClock(std::uint32_t milliseconds);

// A frame's length: the clock moves by `milliseconds` between the program's last reading before
// its next frame and that frame's own, so that the frame measures exactly this and every message
// handled before it measures nothing. The host picks the moment:
//  - input waits here: once it has all become messages and the platform reports its message
//    queue drained after the last of them (host.h's MessageQueueDrained);
//  - nothing waits and the program has not read the clock since Reset: right after its first
//    reading, the mark its message loop measures the first frame from;
//  - nothing waits otherwise (between two frames, say from a present observer): at once.
// Requests add up until the moment comes.
void AdvanceClockBeforeNextFrame(std::uint32_t milliseconds);

// Makes an event pending for the next PollEvent, after those pending already. Events are passed
// on as the SDL host would: a release of a key not down is dropped, a press of a key down is a
// repeat.
void QueueEvent(const Event& event);
void QueueKeyDown(int virtualKey);
void QueueKeyUp(int virtualKey);
void QueueClose();
// Makes an event pending once `frame` pictures have been presented since Reset (at once if that
// many have been presented already). Events for the same frame keep the order they came in.
void ScheduleEvent(std::uint64_t frame, const Event& event);
// The window loses the focus: every key down is released, as the SDL host does.
void LoseFocus();

// Called after every Present with the number of the picture just presented; may queue events.
void SetPresentObserver(std::function<void(std::uint64_t frame)> observer);

// Pictures presented since Reset, and the ones still kept (oldest first).
std::uint64_t PresentedFrames();
const std::vector<Frame>& KeptFrames();
// The latest picture, or null when none was presented since Reset.
const Frame* LastFrame();
// Writes a picture as an 8-bit RGB PNG; false with *error (if given) set on failure.
bool WriteFramePng(const Frame& frame, const std::string& path, std::string* error = nullptr);

// What the platform asked of the window: its title, and whether it is shown.
std::string WindowTitle();
bool WindowVisible();

}  // namespace platform::host::headless
