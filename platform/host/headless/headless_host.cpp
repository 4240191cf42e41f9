// The headless host: the host interface over a virtual clock, a scripted event stream and
// pictures kept in memory. Nothing here touches a window system or the real clock.
#include "platform/host/headless/headless_host.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>

#include "platform/host/headless/png_writer.h"
#include "platform/host/held_keys.h"

namespace platform::host::headless {
namespace {

// An event yet to be delivered, or the moment the window lost the focus.
struct Pending {
  Event event;
  bool focusLost = false;
};

// When a frame's length asked for is added to the clock (see AdvanceClockBeforeNextFrame).
enum class FrameMoment { None, AtDrain, AfterReading };

struct HeadlessState {
  Settings settings;
  std::uint32_t clock = 0;         // milliseconds, wrapping
  bool clockRead = false;          // whether the clock was read since Reset
  std::uint32_t frameAdvance = 0;  // a frame's length asked for and not yet added
  FrameMoment frameMoment = FrameMoment::None;
  bool windowOpen = false;
  bool windowVisible = false;
  std::string windowTitle;
  std::deque<Pending> pending;                    // delivered by PollEvent, in order
  std::deque<Event> releases;                     // a focus loss's releases, due first
  std::multimap<std::uint64_t, Event> scheduled;  // by the frame count that frees them
  HeldKeys heldKeys;                              // keys delivered down and not up
  std::uint64_t presented = 0;                    // pictures since Reset
  std::vector<Frame> frames;                      // the latest pictures, oldest first
  std::function<void(std::uint64_t)> observer;    // called after every Present
  ShowRequest request;                            // what the program asked, since Reset
};

HeadlessState& State() {
  static HeadlessState state;
  return state;
}

bool InputWaits(const HeadlessState& state) {
  return !state.pending.empty() || !state.releases.empty();
}

// Adds the frame's length asked for to the clock: its moment has come.
void AddFrameAdvance(HeadlessState& state) {
  state.clock += state.frameAdvance;
  state.frameAdvance = 0;
  state.frameMoment = FrameMoment::None;
}

// Moves the events whose frame has come into the pending stream.
void ReleaseScheduled(HeadlessState& state) {
  const auto due = state.scheduled.upper_bound(state.presented);
  for (auto it = state.scheduled.begin(); it != due; ++it) state.pending.push_back({it->second});
  state.scheduled.erase(state.scheduled.begin(), due);
}

void KeepFrame(HeadlessState& state, const std::uint16_t* pixels, int width, int height,
               int pitchBytes) {
  // The oldest picture that goes lends its memory to the new one: a picture per frame is then
  // one copy, not an allocation and a clearing as well.
  Frame frame;
  if (state.settings.framesKept <= 0) return;  // nobody reads them: no copy
  const std::size_t kept = static_cast<std::size_t>(state.settings.framesKept);
  while (state.frames.size() >= kept) {
    frame = std::move(state.frames.front());
    state.frames.erase(state.frames.begin());
  }
  frame.number = state.presented;
  frame.width = width;
  frame.height = height;
  frame.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const auto* rows = reinterpret_cast<const std::uint8_t*>(pixels);
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 2;
  for (int y = 0; y < height; ++y) {
    std::memcpy(frame.pixels.data() + static_cast<std::size_t>(y) * width,
                rows + static_cast<std::size_t>(y) * pitchBytes, rowBytes);
  }
  state.frames.push_back(std::move(frame));
}

}  // namespace

void Reset(const Settings& settings) {
  HeadlessState& state = State();
  state = HeadlessState{};
  state.settings = settings;
  state.clock = settings.startTick;
}

void AdvanceClock(std::uint32_t milliseconds) {
  State().clock += milliseconds;
}

void AdvanceClockBeforeNextFrame(std::uint32_t milliseconds) {
  HeadlessState& state = State();
  state.frameAdvance += milliseconds;
  if (InputWaits(state)) {
    state.frameMoment = FrameMoment::AtDrain;
  } else if (!state.clockRead) {
    state.frameMoment = FrameMoment::AfterReading;
  } else if (state.frameMoment == FrameMoment::None) {
    AddFrameAdvance(state);
  }
}

void QueueEvent(const Event& event) {
  State().pending.push_back({event});
}
void QueueKeyDown(int virtualKey) {
  QueueEvent({Event::Type::KeyDown, virtualKey, false});
}
void QueueKeyUp(int virtualKey) {
  QueueEvent({Event::Type::KeyUp, virtualKey, false});
}
void QueueClose() {
  QueueEvent({Event::Type::Close, 0, false});
}

void ScheduleEvent(std::uint64_t frame, const Event& event) {
  HeadlessState& state = State();
  state.scheduled.emplace(frame, event);
  ReleaseScheduled(state);
}

void LoseFocus() {
  State().pending.push_back({Event{}, true});
}

void SetPresentObserver(std::function<void(std::uint64_t)> observer) {
  State().observer = std::move(observer);
}

std::uint64_t PresentedFrames() {
  return State().presented;
}
const std::vector<Frame>& KeptFrames() {
  return State().frames;
}
const Frame* LastFrame() {
  return State().frames.empty() ? nullptr : &State().frames.back();
}

bool WriteFramePng(const Frame& frame, const std::string& path, std::string* error) {
  return WriteRgb565Png(path, frame.pixels.data(), frame.width, frame.height, frame.width * 2,
                        error);
}

std::string WindowTitle() {
  return State().windowTitle;
}
bool WindowVisible() {
  return State().windowOpen && State().windowVisible;
}

}  // namespace platform::host::headless

namespace platform::host {

using headless::State;

bool OpenWindow(const char* title, int, int, std::string* error) {
  auto& state = State();
  if (!state.settings.displayAvailable) {
    if (error) *error = "no display could be opened (the headless host was told it has none)";
    return false;
  }
  state.windowOpen = true;
  state.windowVisible = false;
  state.windowTitle = title ? title : "";
  return true;
}

bool DisplaySize(int* width, int* height) {
  const headless::Settings& settings = State().settings;
  if (!settings.displayAvailable || !width || !height) return false;
  *width = settings.displayWidth;
  *height = settings.displayHeight;
  return true;
}

void CloseWindow() {
  auto& state = State();
  state.windowOpen = false;
  state.windowVisible = false;
}

// A window that shows nothing has no full screen to leave; the rate is what counts here.
void RequestShow(const ShowRequest& request) {
  State().request = request;
}

int PicturesPerSecond() {
  const auto& state = State();
  return state.request.rate == PictureRate::Display ? state.settings.displayRefreshHz : 60;
}

bool WindowIsOpen() {
  return State().windowOpen;
}

void SetWindowVisible(bool visible) {
  auto& state = State();
  if (state.windowOpen) state.windowVisible = visible;
}

bool PollEvent(Event& event) {
  auto& state = State();
  for (;;) {
    if (!state.releases.empty()) {
      event = state.releases.front();
      state.releases.pop_front();
      return true;
    }
    if (state.pending.empty()) return false;
    const headless::Pending next = state.pending.front();
    state.pending.pop_front();
    if (next.focusLost) {
      // The keys down at this point of the stream, not at the time LoseFocus was called.
      for (const Event& release : state.heldKeys.ReleaseAll()) state.releases.push_back(release);
      continue;
    }
    event = next.event;
    if (state.heldKeys.Admit(event)) return true;
  }
}

void MessageQueueDrained() {
  auto& state = State();
  // Input still waiting here becomes more messages first; the drain after those is the one.
  if (state.frameMoment == headless::FrameMoment::AtDrain && !headless::InputWaits(state)) {
    headless::AddFrameAdvance(state);
  }
}

std::uint32_t TickMilliseconds() {
  auto& state = State();
  const std::uint32_t reading = state.clock;
  state.clockRead = true;
  if (state.frameMoment == headless::FrameMoment::AfterReading) headless::AddFrameAdvance(state);
  return reading;
}

void Present(const std::uint16_t* pixels, int width, int height, int pitchBytes) {
  auto& state = State();
  if (!pixels || width <= 0 || height <= 0 || pitchBytes < 2 * width) return;
  ++state.presented;
  KeepFrame(state, pixels, width, height, pitchBytes);
  ReleaseScheduled(state);
  if (state.observer) state.observer(state.presented);
}

}  // namespace platform::host
