// The real WinMain, window procedure and frame clock on the headless host, with doubles of the
// display set-up and of RenderFrame: start-up, the loop's one-message-or-one-frame rule, the
// clock, the keys as the game's tracker sees them, and every way the program ends.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/key_tracker.h"
#include "platform/api/win32.h"
#include "platform/host/headless/headless_host.h"
#include "platform/testing.h"
#include "record/game_globals.h"
#include "tests/support/doubles/display_doubles.h"

namespace {

namespace headless = platform::host::headless;
using Type = platform::host::Event::Type;

std::vector<std::string> Calls(int frames, bool released = true) {
  std::vector<std::string> calls = {"InitDirectDraw", "InitDirect3D", "InitScene"};
  calls.insert(calls.end(), static_cast<std::size_t>(frames), "RenderFrame");
  if (released) calls.push_back("ReleaseAll");
  return calls;
}

class WinMainTest : public ::testing::Test {
 protected:
  void SetUp() override { Start({}); }
  void TearDown() override { platform::testing::ResetUserInterface(); }

  static void Start(const headless::Settings& settings) {
    headless::Reset(settings);
    platform::testing::ResetUserInterface();
    Script() = ShellScript{};
    globals = GameGlobals{};
  }

  static int RunWinMain() {
    return WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT);
  }

  // Ends the run with Escape once `frame` frames have been drawn.
  static void EscapeAfter(int frame, std::function<void(int)> each = nullptr) {
    Script().onFrame = [frame, each](int current) {
      if (each) each(current);
      if (current == frame) headless::QueueKeyDown(VK_ESCAPE);
    };
  }
};

TEST_F(WinMainTest, EscapeDestroysQuitsReleasesAndExitsZero) {
  bool visibleWhileRunning = false;
  EscapeAfter(3, [&](int) { visibleWhileRunning = headless::WindowVisible(); });
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(Script().calls, Calls(3)) << "no frame after Escape; ReleaseAll once";
  EXPECT_TRUE(visibleWhileRunning);
  EXPECT_EQ(headless::WindowTitle(), "Direct3D IM test");
  EXPECT_FALSE(platform::host::WindowIsOpen());
}

TEST_F(WinMainTest, F12AndTheCloseButtonEndTheProgramToo) {
  EscapeAfter(0, [](int frame) {
    if (frame == 2) headless::QueueKeyDown(VK_F12);
  });
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(Script().calls, Calls(2));

  Start({});
  Script().onFrame = [](int frame) {
    if (frame == 4) headless::QueueClose();
  };
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(Script().calls, Calls(4));
}

struct StartupFailure {
  const char* step;
  int ShellScript::*result;  // null: the window itself fails (no display)
  std::vector<std::string> calls;
};

class StartupFailureTest : public WinMainTest,
                           public ::testing::WithParamInterface<StartupFailure> {};

TEST_P(StartupFailureTest, SaysWhichStepAndWhyAndExitsNonZero) {
  const StartupFailure& failure = GetParam();
  if (failure.result) {
    Script().*failure.result = 0;
    Script().failureReason = "the reason given";
  } else {
    Start({.displayAvailable = false});
  }
  Script().successNoise = "a failure some earlier step recovered from";
  testing::internal::CaptureStderr();
  const int status = RunWinMain();
  const std::string printed = testing::internal::GetCapturedStderr();

  EXPECT_NE(status, 0);
  EXPECT_EQ(Script().calls, failure.calls);
  EXPECT_EQ(Script().frames, 0);
  const std::string reason = failure.result ? "the reason given" : "no display could be opened";
  EXPECT_EQ(printed.rfind(std::string(failure.step) + " failed: " + reason, 0), 0u) << printed;
  EXPECT_EQ(printed.find('\n'), printed.size() - 1) << "one line: " << printed;
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, StartupFailureTest,
    ::testing::Values(
        StartupFailure{"InitWindow", nullptr, {}},
        StartupFailure{"InitDirectDraw", &ShellScript::initDirectDraw, {"InitDirectDraw"}},
        StartupFailure{
            "InitDirect3D", &ShellScript::initDirect3D, {"InitDirectDraw", "InitDirect3D"}},
        StartupFailure{"InitScene",
                       &ShellScript::initScene,
                       {"InitDirectDraw", "InitDirect3D", "InitScene", "ReleaseAll"}}),
    [](const auto& info) { return std::string(info.param.step); });

TEST_F(WinMainTest, AStepFailingWithoutAReasonIsNamedAlone) {
  // InitDirect3D leaves a reason behind although it succeeds; it must not be blamed on InitScene.
  Script().initScene = 0;
  Script().successNoise = "the hardware device is not available";
  testing::internal::CaptureStderr();
  EXPECT_NE(RunWinMain(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "InitScene failed\n");
}

TEST_F(WinMainTest, FirstIterationMeasuresAboutNothing) {
  Start({.startTick = 5000});
  Script().sceneLoadMs = 700;  // loading before the first reading is not counted
  std::vector<float> seen;
  EscapeAfter(2, [&](int) {
    seen.push_back(globals.frameSeconds);
    headless::AdvanceClock(16);
  });
  RunWinMain();
  EXPECT_EQ(seen, (std::vector<float>{0.0f, 0.016f}));
}

TEST_F(WinMainTest, AMessageIterationConsumesTheTimeBeforeIt) {
  std::vector<float> seen;
  EscapeAfter(5, [&](int frame) {
    seen.push_back(globals.frameSeconds);
    headless::AdvanceClock(16);
    if (frame == 2) headless::QueueKeyDown(VK_UP);  // handled by the next iteration
  });
  RunWinMain();
  EXPECT_EQ(seen, (std::vector<float>{0.0f, 0.016f, 0.0f, 0.016f, 0.016f}));
}

TEST_F(WinMainTest, TheCounterWrappingGivesTheTrueSmallDifference) {
  Start({.startTick = 0xFFFFFFFFu - 40});
  std::vector<float> seen;
  EscapeAfter(6, [&](int) {
    seen.push_back(globals.frameSeconds);
    headless::AdvanceClock(16);
  });
  RunWinMain();
  EXPECT_EQ(seen, (std::vector<float>{0.0f, 0.016f, 0.016f, 0.016f, 0.016f, 0.016f}));
}

// The frame driver polls its keys through the key tracker, as the game does.
std::function<void(int)> TrackKey(int virtualKey, KeyState& state, std::vector<KeyState>& seen,
                                  std::function<void(int)> then = nullptr) {
  return [virtualKey, &state, &seen, then](int frame) {
    PollKey(virtualKey, state);
    seen.push_back(state);
    if (then) then(frame);
  };
}

TEST_F(WinMainTest, AKeyPressedAndReleasedBetweenTwoFramesIsNeverSeen) {
  std::vector<KeyState> seen;
  EscapeAfter(4, TrackKey(VK_UP, globals.upKey, seen, [](int frame) {
                if (frame == 2) {
                  headless::QueueKeyDown(VK_UP);
                  headless::QueueKeyUp(VK_UP);
                }
              }));
  RunWinMain();
  EXPECT_EQ(seen, (std::vector<KeyState>{KeyUp, KeyUp, KeyUp, KeyUp}));
}

TEST_F(WinMainTest, AKeyHeldOverTheStartIsPressedAtTheFirstPoll) {
  headless::QueueKeyDown(VK_SPACE);
  std::vector<KeyState> seen;
  EscapeAfter(3, TrackKey(VK_SPACE, globals.spaceKey, seen, [](int frame) {
                if (frame == 2) headless::QueueKeyUp(VK_SPACE);
              }));
  RunWinMain();
  EXPECT_EQ(seen, (std::vector<KeyState>{KeyPressed, KeyHeld, KeyReleased}));
}

TEST_F(WinMainTest, EitherShiftKeyIsTheGamesShift) {
  std::vector<KeyState> seen;
  EscapeAfter(5, TrackKey(VK_SHIFT, globals.shiftKey, seen, [](int frame) {
                if (frame == 1) headless::QueueKeyDown(VK_RSHIFT);
                if (frame == 2) headless::QueueKeyDown(VK_LSHIFT);
                if (frame == 3) headless::QueueKeyUp(VK_RSHIFT);
                if (frame == 4) headless::QueueKeyUp(VK_LSHIFT);
              }));
  RunWinMain();
  EXPECT_EQ(seen, (std::vector<KeyState>{KeyUp, KeyPressed, KeyHeld, KeyHeld, KeyReleased}));
}

TEST_F(WinMainTest, HoldingZTogglesTheFilterAtEveryRepeat) {
  std::vector<int> filter;
  EscapeAfter(4, [&](int frame) {
    filter.push_back(globals.filterEnabled);
    if (frame == 1) headless::QueueKeyDown('Z');
    if (frame == 2) headless::QueueEvent({Type::KeyDown, 'Z', true});
    if (frame == 3) headless::QueueEvent({Type::KeyDown, 'Z', true});
  });
  RunWinMain();
  EXPECT_EQ(filter, (std::vector<int>{1, 0, 1, 0}));
}

}  // namespace
