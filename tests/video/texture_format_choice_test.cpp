// The texture format choice against devices that enumerate given formats.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/ddraw/pixel_formats.h"
#include "tests/support/doubles/interface_mocks.h"
#include "video/course_texture.h"
#include "video/texture_format_choice.h"

namespace {

using namespace doubles;
using ::testing::_;
using ::testing::NiceMock;

const DDPIXELFORMAT kPal8 = Format(DDPF_PALETTEINDEXED8 | DDPF_RGB, 8, 0, 0, 0);
const DDPIXELFORMAT kPal4 = Format(DDPF_PALETTEINDEXED4 | DDPF_RGB, 4, 0, 0, 0);
const DDPIXELFORMAT kGrey8 = Format(DDPF_RGB, 8, 0xE0, 0x1C, 0x03);  // RGB 332, no palette
const DDPIXELFORMAT kRgb565 = Format(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F);
const DDPIXELFORMAT kRgb555 = Format(DDPF_RGB, 16, 0x7C00, 0x03E0, 0x001F);
const DDPIXELFORMAT kBgr565 = Format(DDPF_RGB, 16, 0x001F, 0x07E0, 0xF800);
const DDPIXELFORMAT kArgb1555 =
    Format(DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x7C00, 0x3E0, 0x1F, 0x8000);
const DDPIXELFORMAT kRgb888 = Format(DDPF_RGB, 24, 0xFF0000, 0xFF00, 0xFF);
const DDPIXELFORMAT kXrgb8888 = Format(DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF);
const DDPIXELFORMAT kYuv16 = Format(DDPF_YUV, 16, 0, 0, 0);
const DDPIXELFORMAT kNone{};

struct FormatCase {
  const char* name;
  std::vector<DDPIXELFORMAT> offered;
  DWORD wantedBits;
  DDPIXELFORMAT expected;
  DDPIXELFORMAT display = kRgb565;
};

void PrintTo(const FormatCase& c, std::ostream* out) {
  *out << c.name;
}

class TextureFormatChoice : public ::testing::TestWithParam<FormatCase> {};

TEST_P(TextureFormatChoice, ChoosesAsTheRuleSays) {
  const FormatCase& c = GetParam();
  NiceMock<MockDirectDraw2> owner;
  NiceMock<MockDevice> device;
  OfferFormats(device, c.offered);
  ON_CALL(owner, GetDisplayMode).WillByDefault([&c](LPDDSURFACEDESC mode) {
    mode->ddpfPixelFormat = c.display;
    return DD_OK;
  });
  Texture texture;
  texture.owner = &owner;
  DDPIXELFORMAT chosen;
  std::memset(&chosen, 0xCD, sizeof chosen);
  EXPECT_EQ(texture.FindTextureFormat(&device, c.wantedBits, &chosen), D3D_OK);
  EXPECT_EQ(std::memcmp(&chosen, &c.expected, sizeof chosen), 0)
      << "chose " << chosen.dwRGBBitCount << " bits, flags " << chosen.dwFlags;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextureFormatChoice,
    ::testing::Values(
        FormatCase{"Indexed8KeptFor8BitBitmap", {kPal8, kRgb565}, 8, kPal8},
        FormatCase{"Indexed8KeptFor24BitBitmap", {kPal8, kRgb565}, 24, kPal8},
        FormatCase{"DeeperReplacesShallower", {kRgb565, kRgb888}, 24, kRgb888},
        FormatCase{"CloserFromAboveReplaces", {kRgb565, kXrgb8888, kRgb888}, 24, kRgb888},
        FormatCase{"FirstOfEqualDepthsStays", {kRgb565, kRgb555}, 16, kRgb565},
        FormatCase{"AlphaFourBitAndWrongOrderNeverChosen",
                   {kArgb1555, kPal4, kBgr565, kGrey8, kYuv16},
                   16,
                   kNone},
        FormatCase{"ChannelOrderFollowsTheDisplay", {kRgb565, kBgr565}, 16, kBgr565, kBgr565},
        FormatCase{"NothingOffered", {}, 24, kNone},
        // What our software devices offer: a 24-bit picture gets X8R8G8B8, an 8-bit one the
        // palette, a 16-bit one RGB 565.
        FormatCase{
            "PlatformFor24Bits",
            {platform::ddraw::TextureFormats().begin(), platform::ddraw::TextureFormats().end()},
            24,
            kXrgb8888},
        FormatCase{
            "PlatformFor8Bits",
            {platform::ddraw::TextureFormats().begin(), platform::ddraw::TextureFormats().end()},
            8,
            kPal8},
        FormatCase{
            "PlatformFor16Bits",
            {platform::ddraw::TextureFormats().begin(), platform::ddraw::TextureFormats().end()},
            16,
            kRgb565}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextureFormatCallback, ExaminesEveryFormat) {
  TextureFormatSearch search{};
  DDSURFACEDESC description{};
  description.ddpfPixelFormat = kArgb1555;
  EXPECT_EQ(TextureFormatCallback(&description, &search), D3DENUMRET_OK);
  EXPECT_EQ(search.chosenFormat.dwRGBBitCount, 0u);
  description.ddpfPixelFormat = kPal8;
  EXPECT_EQ(TextureFormatCallback(&description, &search), D3DENUMRET_OK);
  EXPECT_EQ(search.chosenFormat.dwFlags, kPal8.dwFlags);
}

}  // namespace
