#include "tools/replay/replay_runner.h"

#include <array>

#include "platform/api/win32.h"
#include "platform/d3d/drawing_threads.h"
#include "platform/host/headless/headless_host.h"
#include "platform/testing.h"
#include "record/game_globals.h"
#include "tools/replay/trace.h"

namespace replay {
namespace {

namespace headless = platform::host::headless;

// The keys as the host reports them: shift comes sided.
constexpr std::array<int, kPolledKeyCount> kPolledVirtualKeys = {VK_UP, VK_LEFT, VK_RIGHT, VK_SPACE,
                                                                 VK_LSHIFT};

int MessageVirtualKey(MessageKey key) {
  switch (key) {
    case MessageKey::Z:
      return 'Z';
    case MessageKey::Escape:
      return VK_ESCAPE;
    case MessageKey::F12:
      return VK_F12;
  }
  return 0;
}

bool EndsTheGame(MessageKey key) {
  return key == MessageKey::Escape || key == MessageKey::F12;
}

void PressAndRelease(int virtualKey) {
  headless::QueueKeyDown(virtualKey);
  headless::QueueKeyUp(virtualKey);
}

class Replay {
 public:
  Replay(const StepSource& nextStep, const ReplayOutputs& outputs)
      : nextStep_(nextStep), outputs_(outputs) {}

  ReplayResult Run() {
    globals = GameGlobals{};
    platform::testing::ResetUserInterface();
    platform::testing::InstallDirect3D();  // as the program's main would before WinMain
    const int kept = outputs_.keepLastPicture || !outputs_.pngFolder.empty() ? 1 : 0;
    headless::Reset({.startTick = 0,
                     .framesKept = kept,
                     .displayWidth = outputs_.display.displayWidth,
                     .displayHeight = outputs_.display.displayHeight,
                     .displayRefreshHz = outputs_.display.picturesPerSecond});
    platform::ddraw::RequestRender(outputs_.display.render);
    platform::d3d::RequestDrawingThreads(outputs_.display.drawingThreads);
    using platform::host::PictureRate;
    platform::host::RequestShow({.rate = outputs_.display.picturesPerSecond == 60
                                             ? PictureRate::Sixty
                                             : PictureRate::Display});
    headless::SetPresentObserver([this](std::uint64_t frame) { AfterFrame(frame); });
    if (outputs_.trace) std::fprintf(outputs_.trace, "%s\n", TraceHeader().c_str());

    Deliver(nextStep_());
    char commandLine[] = "";
    result_.status = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);

    headless::SetPresentObserver(nullptr);
    platform::host::CloseWindow();
    WriteLastPicture();
    CheckListedPictures();
    return result_;
  }

 private:
  void Fail(const std::string& reason) {
    if (result_.error.empty()) result_.error = reason;
  }

  // Runs inside the flip, after the picture was presented: the frame's state is final.
  void AfterFrame(std::uint64_t frame) {
    result_.frames = frame;
    if (ended_) {
      Fail("the game rendered frame " + std::to_string(frame) + " after the script ended");
      if (!closeSent_) headless::QueueClose();
      closeSent_ = true;
      return;
    }
    if (outputs_.trace) std::fprintf(outputs_.trace, "%s\n", TraceRow(frame, globals).c_str());
    if (!outputs_.pngFolder.empty() && outputs_.pictures.Wants(frame)) WritePicture();
    Deliver(nextStep_());
  }

  // Queues the step's input and asks the host to move the clock by its frame's length exactly
  // between the last message turn and the frame's turn (see the README's "Frame times").
  void Deliver(const ReplayStep& step) {
    bool quits = false;
    for (const MessageKey key : step.messages) {
      PressAndRelease(MessageVirtualKey(key));
      quits = quits || EndsTheGame(key);
    }
    if (!step.frame) {
      ended_ = true;
      if (!quits) PressAndRelease(VK_ESCAPE);
      return;
    }
    for (std::size_t i = 0; i < kPolledVirtualKeys.size(); ++i) {
      if (held_[i] == step.frame->keys[i]) continue;
      if (step.frame->keys[i]) {
        headless::QueueKeyDown(kPolledVirtualKeys[i]);
      } else {
        headless::QueueKeyUp(kPolledVirtualKeys[i]);
      }
    }
    held_ = step.frame->keys;
    headless::AdvanceClockBeforeNextFrame(step.frame->milliseconds);
  }

  std::string PicturePath(std::uint64_t frame) const {
    char name[40];
    std::snprintf(name, sizeof name, "/frame-%05llu.png", static_cast<unsigned long long>(frame));
    return outputs_.pngFolder + name;
  }

  void WritePicture() {
    const headless::Frame* picture = headless::LastFrame();
    if (!picture) return;
    std::string error;
    if (!headless::WriteFramePng(*picture, PicturePath(picture->number), &error)) Fail(error);
  }

  void WriteLastPicture() {
    if (outputs_.pngFolder.empty() || outputs_.pictures.mode != PictureSelection::Mode::Last) {
      return;
    }
    WritePicture();
  }

  void CheckListedPictures() {
    if (outputs_.pngFolder.empty() || outputs_.pictures.mode != PictureSelection::Mode::Listed) {
      return;
    }
    for (const std::uint64_t frame : outputs_.pictures.frames) {
      if (frame <= result_.frames) continue;
      Fail("no picture of frame " + std::to_string(frame) + ": the game ended after " +
           std::to_string(result_.frames) + " frames");
      return;
    }
  }

  const StepSource& nextStep_;
  const ReplayOutputs& outputs_;
  ReplayResult result_;
  PolledKeys held_;         // the polled keys the input sent so far leaves down
  bool ended_ = false;      // the source has no more frames
  bool closeSent_ = false;  // the window was told to close after an extra frame
};

}  // namespace

ReplayResult RunReplay(const StepSource& nextStep, const ReplayOutputs& outputs) {
  return Replay(nextStep, outputs).Run();
}

}  // namespace replay
