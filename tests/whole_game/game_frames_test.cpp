// The real game, WinMain and all, on the headless host: a title frame, a countdown frame and a
// flight frame, drawn once by the optimised device and once by the reference device. The two
// must agree to the pixel, and both must match the reference pictures checked in beside this
// file.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/api/win32.h"
#include "platform/host/headless/headless_host.h"
#include "platform/host/headless/png_writer.h"
#include "platform/testing.h"
#include "record/game_globals.h"

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

// Plays one scripted game at 32 ms a frame and keeps the three pictures.
Frames PlayScript(bool referenceDevice) {
  globals = GameGlobals{};
  platform::testing::ResetUserInterface();
  headless::Reset({.startTick = 5000, .msPerPresent = 32, .framesKept = 1});
  platform::testing::SetDeviceAvailability({.optimised = !referenceDevice, .reference = true});

  using Type = platform::host::Event::Type;
  headless::ScheduleEvent(150, Key(Type::KeyDown, VK_LSHIFT));  // start a race (second orbit)
  headless::ScheduleEvent(153, Key(Type::KeyUp, VK_LSHIFT));
  headless::ScheduleEvent(310, Key(Type::KeyDown, VK_SPACE));  // take off and climb
  headless::ScheduleEvent(340, Key(Type::KeyDown, VK_UP));     // speed up
  headless::ScheduleEvent(395, Key(Type::KeyDown, VK_ESCAPE));

  Frames frames;
  headless::SetPresentObserver([&frames](std::uint64_t number) {
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
  headless::SetPresentObserver(nullptr);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(platform::testing::LiveObjects(), 0) << "platform objects outlived the game";
  return frames;
}

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

bool ReadPng(const std::string& path, RgbPicture& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.rgb.resize(PNG_IMAGE_SIZE(image));
  return png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) != 0;
}

// How far a picture is from its reference: the share of pixels whose channels differ by more
// than 8 (an eighth of a 5-bit step's worth of room for a newer FreeType's anti-aliasing).
double ShareOfDifferentPixels(const headless::Frame& frame, const RgbPicture& reference) {
  int different = 0;
  for (int i = 0; i < frame.width * frame.height; ++i) {
    const std::uint16_t p = frame.pixels[static_cast<std::size_t>(i)];
    const int r5 = p >> 11, g6 = (p >> 5) & 63, b5 = p & 31;
    const int rgb[3] = {r5 << 3 | r5 >> 2, g6 << 2 | g6 >> 4, b5 << 3 | b5 >> 2};
    for (int c = 0; c < 3; ++c) {
      if (std::abs(rgb[c] - reference.rgb[static_cast<std::size_t>(i) * 3 + c]) > 8) {
        ++different;
        break;
      }
    }
  }
  return static_cast<double>(different) / (frame.width * frame.height);
}

TEST(GameFrames, BothDevicesDrawTheSamePicturesAndTheyMatchTheReferences) {
  const Frames optimised = PlayScript(false);
  const Frames reference = PlayScript(true);
  ASSERT_EQ(optimised.size(), kNames.size()) << "the game ended before the last picture";
  ASSERT_EQ(reference.size(), kNames.size());

  for (const auto& [number, name] : kNames) {
    const headless::Frame& frame = optimised.at(number);
    std::string error;
    const std::string written = name + ".png";
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

    RgbPicture expected;
    const std::string referencePath = std::string(TIRRAVEL_REFERENCE_DIR) + "/" + name + ".png";
    if (!ReadPng(referencePath, expected)) {
      ADD_FAILURE() << "no reference picture " << referencePath << "; look at " << written
                    << " in the build tree and copy it there if it is right";
      continue;
    }
    ASSERT_EQ(expected.width, frame.width);
    ASSERT_EQ(expected.height, frame.height);
    // At most 0.5% of the pixels may differ noticeably from the reference.
    EXPECT_LE(ShareOfDifferentPixels(frame, expected), 0.005) << name;
  }
}

}  // namespace
