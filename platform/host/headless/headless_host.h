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
  std::uint32_t startTick = 0;     // the clock's reading at Reset
  std::uint32_t msPerPresent = 0;  // the clock moves this far at every Present
  // How many of the latest pictures stay in memory as copies. 0 keeps none (LastFrame is null,
  // KeptFrames empty) and spares each Present a copy of the picture, for runs that read none.
  int framesKept = 1;
  bool displayAvailable = true;  // false: OpenWindow fails as it does without a display
  // The display's size it pretends (DisplaySize), for `native` and the wide view.
  int displayWidth = 640;
  int displayHeight = 480;
};

// One presented picture, packed (pitch = width × 2 bytes).
struct Frame {
  std::uint64_t number = 0;  // 1 for the first picture presented since Reset
  int width = 0;
  int height = 0;
  std::vector<std::uint16_t> pixels;  // RGB565, top row first
};

// Starts afresh: closes the window and forgets events, schedules, pictures, the observer and
// requested clock moves; sets the clock to settings.startTick.
void Reset(const Settings& settings = {});

// Moves the clock forward (wrapping at 2^32).
void AdvanceClock(std::uint32_t milliseconds);

// Moves the clock by `milliseconds` when the platform next reports its message queue drained
// (host.h's MessageQueueDrained) while no event waits here: after the last message a program
// handles and before the clock reading that starts its next frame. Requests add up until then.
void AdvanceClockWhenQueueDrains(std::uint32_t milliseconds);
// Moves the clock by `milliseconds` right after its next reading, which still shows the old
// time. A program's first reading is the mark its message loop measures the first frame from.
void AdvanceClockAfterNextReading(std::uint32_t milliseconds);

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
