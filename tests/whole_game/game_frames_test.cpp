// The real game, WinMain and all, on the headless host: a title frame, a countdown frame and a
// flight frame, drawn by the optimised device and by the reference device, each on one thread
// and on more. All must agree to the pixel, and all must match the golden pictures checked in
// beside this file pixel for pixel, as the golden replays' do. scripts/update-goldens rewrites the
// pictures: with TIRRAVEL_WRITE_REFERENCES naming a folder, the test writes them there instead of
// comparing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/api/win32.h"
#include "platform/d3d/drawing_threads.h"
#include "platform/host/headless/headless_host.h"
#include "platform/host/headless/png_writer.h"
#include "platform/testing.h"
#include "record/game_globals.h"
#include "tests/support/png_reader.h"
#include "tests/support/temp_folder.h"

namespace {

namespace headless = platform::host::headless;
using Frames = std::map<std::uint64_t, headless::Frame>;

// The pictures checked, by the number of the flip that showed them.
constexpr std::uint64_t kTitleFrame = 60;       // orbiting, the controls on screen
constexpr std::uint64_t kCountdownFrame = 200;  // "  3", the camera swinging in
constexpr std::uint64_t kFlightFrame = 390;     // airborne and speeding up the first corridor

// The title screen's line "[device], [driver]" starts at this row.
constexpr int kDeviceLineTop = 460;

const std::map<std::uint64_t, std::string> kNames = {
    {kTitleFrame, "title"}, {kCountdownFrame, "countdown"}, {kFlightFrame, "flight"}};

platform::host::Event Key(platform::host::Event::Type type, int key) {
  return {type, key, false};
}

// Plays one scripted game at 32 ms a frame, drawn on the given threads, and keeps the three
// pictures.
Frames PlayScript(bool referenceDevice, int threads) {
  globals = GameGlobals{};
  platform::d3d::RequestDrawingThreads(threads);
  platform::testing::ResetUserInterface();
  headless::Reset({.startTick = 5000, .framesKept = 1});
  platform::testing::SetDeviceAvailability({.optimised = !referenceDevice, .reference = true});

  using Type = platform::host::Event::Type;
  headless::ScheduleEvent(150, Key(Type::KeyDown, VK_LSHIFT));  // start a race (second orbit)
  headless::ScheduleEvent(153, Key(Type::KeyUp, VK_LSHIFT));
  headless::ScheduleEvent(310, Key(Type::KeyDown, VK_SPACE));  // take off and climb
  headless::ScheduleEvent(340, Key(Type::KeyDown, VK_UP));     // speed up
  headless::ScheduleEvent(395, Key(Type::KeyDown, VK_ESCAPE));

  Frames frames;
  headless::SetPresentObserver([&frames](std::uint64_t number) {
    headless::AdvanceClock(32);  // time passes at every flip, messages or not
    if (kNames.count(number)) frames[number] = *headless::LastFrame();
  });

  // The game reads Texture.bmp from the folder it starts in.
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(TIRRAVEL_ASSETS_DIR);
  char commandLine[] = "";
  platform::testing::InstallDirect3D();  // as the program's main does before WinMain
  const int status = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWDEFAULT);
  std::filesystem::current_path(previous);

  platform::testing::SetDeviceAvailability({});
  platform::d3d::RequestDrawingThreads(0);
  headless::SetPresentObserver(nullptr);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(platform::testing::LiveObjects(), 0) << "platform objects outlived the game";
  return frames;
}

// The pixels in which two pictures of the same size differ.
int DifferingPixels(const PngPicture& a, const PngPicture& b) {
  int differing = 0;
  for (std::size_t i = 0; i + 2 < a.rgb.size(); i += 3) {
    differing += !std::equal(a.rgb.begin() + i, a.rgb.begin() + i + 3, b.rgb.begin() + i);
  }
  return differing;
}

TEST(GameFrames, BothDevicesOnAnyThreadsDrawTheSamePicturesAndTheyMatchTheReferences) {
  const Frames optimised = PlayScript(false, 1);
  const Frames reference = PlayScript(true, 1);
  ASSERT_EQ(optimised.size(), kNames.size()) << "the game ended before the last picture";
  ASSERT_EQ(reference.size(), kNames.size());
  const char* const update = std::getenv("TIRRAVEL_WRITE_REFERENCES");
  const TempFolder folder;
  for (const auto& [referenceDevice, threads] : {std::pair{false, 3}, std::pair{true, 2}}) {
    const Frames banded = PlayScript(referenceDevice, threads);
    const Frames& oneThread = referenceDevice ? reference : optimised;
    for (const auto& [number, name] : kNames) {
      EXPECT_EQ(banded.at(number).pixels, oneThread.at(number).pixels)
          << name << (referenceDevice ? ", reference" : ", optimised") << " device on " << threads
          << " threads";
    }
  }

  for (const auto& [number, name] : kNames) {
    const headless::Frame& frame = optimised.at(number);
    std::string error;
    const std::string written =
        (update ? std::filesystem::path(update) : folder.Path()) / (name + ".png");
    ASSERT_TRUE(headless::WriteFramePng(frame, written, &error)) << error;

    // The title screen names the device in use on its bottom line; everything above must agree.
    const std::size_t compared =
        static_cast<std::size_t>(number == kTitleFrame ? kDeviceLineTop : frame.height) *
        frame.width;
    const std::vector<std::uint16_t>& other = reference.at(number).pixels;
    EXPECT_TRUE(std::equal(frame.pixels.begin(), frame.pixels.begin() + compared, other.begin()))
        << name << ": the optimised and reference devices drew different pixels";
    if (number == kTitleFrame) {
      EXPECT_NE(frame.pixels, other) << "the device line is missing";
    }

    if (update) continue;
    const std::string goldenPath = std::string(TIRRAVEL_REFERENCE_DIR) + "/" + name + ".png";
    const PngPicture golden = ReadPng(goldenPath), drawn = ReadPng(written);
    ASSERT_FALSE(golden.rgb.empty()) << "no golden picture " << goldenPath;
    ASSERT_FALSE(drawn.rgb.empty()) << written;
    ASSERT_EQ(golden.width, frame.width);
    ASSERT_EQ(golden.height, frame.height);
    EXPECT_EQ(DifferingPixels(drawn, golden), 0)
        << name << " differs from " << goldenPath
        << " (if the change is intended: scripts/update-goldens whole_game, then look at the diff)";
  }
}

}  // namespace
