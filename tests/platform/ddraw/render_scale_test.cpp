// The display's surfaces drawn at a render scale and in the wide view: the game still sees
// 640 × 480, the memory, the fills and the presented pictures are physical.
#include <limits>

#include "platform/ddraw/render_geometry.h"
#include "platform/ddraw/surface_access.h"
#include "tests/platform/ddraw/ddraw_fixture.h"

namespace {

using platform::ddraw::GeometryFor;
using platform::ddraw::RenderRequest;
using platform::ddraw::ViewShape;

TEST(RenderGeometryTest, SizesForScalesViewsAndDisplays) {
  struct Case {
    RenderRequest request;
    int displayWidth, displayHeight;
    int width, height, originX;
    float scale;
  };
  const Case cases[] = {
      {{}, 1920, 1080, 640, 480, 0, 1.0f},
      {{2.25f, false, ViewShape::Classic}, 0, 0, 1440, 1080, 0, 2.25f},
      {{1.0f, true, ViewShape::Classic}, 1920, 1080, 1440, 1080, 0, 2.25f},
      {{1.0f, true, ViewShape::Wide}, 1920, 1080, 1920, 1080, 240, 2.25f},
      {{1.0f, true, ViewShape::Wide}, 3840, 2160, 3840, 2160, 480, 4.5f},
      // A 16:10 display at 768 rows: 1.6 is not exact in a float, the sizes still are.
      {{1.0f, true, ViewShape::Wide}, 1229, 768, 1228, 768, 102, 1.6f},
      // A display narrower than 4:3 keeps the game's shape; an unknown one too.
      {{2.0f, false, ViewShape::Wide}, 1280, 1024, 1280, 960, 0, 2.0f},
      {{3.0f, false, ViewShape::Wide}, 0, 0, 1920, 1440, 0, 3.0f},
      {{1.5f, true, ViewShape::Classic}, 0, 0, 960, 720, 0, 1.5f},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto geometry = GeometryFor(c.request, c.displayWidth, c.displayHeight, &error);
    ASSERT_TRUE(geometry) << error;
    EXPECT_EQ(geometry->width, c.width) << c.displayWidth;
    EXPECT_EQ(geometry->height, c.height) << c.displayWidth;
    EXPECT_EQ(geometry->originX, c.originX) << c.displayWidth;
    EXPECT_FLOAT_EQ(geometry->scale, c.scale) << c.displayWidth;
  }
  for (const RenderRequest bad :
       {RenderRequest{0.5f, false, ViewShape::Classic},
        RenderRequest{18.0f, false, ViewShape::Classic},
        RenderRequest{std::numeric_limits<float>::quiet_NaN(), false, ViewShape::Classic},
        RenderRequest{1.0f, true, ViewShape::Classic}}) {
    std::string error;
    EXPECT_FALSE(GeometryFor(bad, 320, 240, &error));
    EXPECT_FALSE(error.empty());
  }
  std::string error;
  EXPECT_FALSE(GeometryFor({8.0f, false, ViewShape::Wide}, 2560, 480, &error));
}

class RenderScaleTest : public DirectDrawTest {
 protected:
  // The headless host pretends a 1920 × 1080 display; the request holds for this test only.
  void Request(const RenderRequest& request) {
    platform::host::headless::Settings settings;
    settings.displayWidth = 1920;
    settings.displayHeight = 1080;
    platform::host::headless::Reset(settings);
    platform::ddraw::RequestRender(request);
  }
  void TearDown() override {
    platform::ddraw::RequestRender({});
    DirectDrawTest::TearDown();
  }
  static std::uint16_t At(const platform::PixelBuffer& pixels, int x, int y) {
    std::uint16_t value;
    std::memcpy(&value, pixels.bits + y * pixels.pitch + x * 2, 2);
    return value;
  }
};

TEST_F(RenderScaleTest, WideNativeChainIsPhysicalBehindTheGamesSize) {
  Request({1.0f, true, ViewShape::Wide});
  IDirectDrawSurface3* front = nullptr;
  IDirectDrawSurface3* back = nullptr;
  CreateFlipChain(&front, &back);
  DDSURFACEDESC description = GamesSizeDescription(back);
  platform::PixelBuffer pixels;
  ASSERT_TRUE(platform::ddraw::GetSurfacePixels(back, &pixels));
  EXPECT_EQ(pixels.width, 1920);
  EXPECT_EQ(pixels.height, 1080);
  EXPECT_EQ(pixels.pitch, 3840);
  EXPECT_EQ(pixels.scale, 2.25f);
  EXPECT_EQ(pixels.originX, 240);
  // Texture surfaces are never scaled.
  IDirectDrawSurface* texture = CreateTexture(64, 64, kRgb565);
  platform::PixelBuffer texels;
  ASSERT_TRUE(platform::ddraw::GetSurfacePixels(texture, &texels));
  EXPECT_EQ(texels.width, 64);
  EXPECT_EQ(texels.scale, 1.0f);
  texture->Release();

  // A whole fill reaches the side columns; a rectangle lands where the game's pixels do.
  DDBLTFX fx = Fill(0x1234);
  ASSERT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  EXPECT_EQ(At(pixels, 0, 0), 0x1234);
  EXPECT_EQ(At(pixels, 1919, 1079), 0x1234);
  RECT rect{1, 2, 3, 4};  // physical columns 242 to 246, rows 5 (4.5 rounded) to 8
  fx = Fill(0xBEEF);
  ASSERT_EQ(back->Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  EXPECT_EQ(At(pixels, 241, 5), 0x1234);
  EXPECT_EQ(At(pixels, 242, 4), 0x1234);
  EXPECT_EQ(At(pixels, 242, 5), 0xBEEF);
  EXPECT_EQ(At(pixels, 246, 8), 0xBEEF);
  EXPECT_EQ(At(pixels, 247, 8), 0x1234);
  EXPECT_EQ(At(pixels, 246, 9), 0x1234);
  RECT outside{0, 0, 641, 480};
  EXPECT_EQ(back->Blt(&outside, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);

  // The memory is not the 640 × 480 a lock would describe.
  EXPECT_EQ(back->Lock(nullptr, &description, 0, nullptr), DDERR_UNSUPPORTED);

  ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  const auto* frame = platform::host::headless::LastFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->width, 1920);
  EXPECT_EQ(frame->height, 1080);
  EXPECT_EQ(frame->pixels[5 * 1920 + 242], 0xBEEF);
  EXPECT_EQ(front->Release(), 0u);
}

TEST_F(RenderScaleTest, ScaleOutOfRangeFailsTheChainWithAReason) {
  Request({20.0f, false, ViewShape::Classic});
  DDSURFACEDESC description = FlipChainDescription(1);
  IDirectDrawSurface* surface = nullptr;
  EXPECT_EQ(directDraw->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_NE(platform::LastErrorText().find("render scale"), std::string::npos);
}

}  // namespace
