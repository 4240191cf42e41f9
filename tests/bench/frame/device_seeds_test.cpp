// The device fuzzer's seeds from a capture read back, through the fuzzer's own reader, as the
// capture's texture (every other texel, down to 16 x 16), states, transforms, viewport and the
// draw of a cell in sight, bit for bit; a draw out of sight makes no seed.
#include <gtest/gtest.h>

#include <cstring>

#include "bench/frame/device_seeds.h"
#include "fuzz/device_input.h"

namespace {

using capture::Command;
using Kind = capture::Command::Kind;

D3DMATRIX Scaled(float scale) {
  D3DMATRIX m{};
  m._11 = m._22 = m._33 = scale;
  m._44 = 1.0f;
  return m;
}

// One frame drawing a triangle (the course's cell) moved `across` to the right, seen through
// identity transforms and a world transform that halves it: in sight from -1 to 1.
capture::Capture OneCellCapture(float across) {
  capture::Capture capture;
  capture::CapturedTexture texture;
  texture.width = texture.height = 32;
  for (int i = 0; i < 32 * 32; ++i) {
    texture.texels.push_back(static_cast<std::uint8_t>(i));
    texture.texels.push_back(static_cast<std::uint8_t>(i >> 5));
  }
  texture.hasColourKey = true;
  texture.colourKey = 0x1234;
  capture.textures.push_back(texture);
  capture.vertices = {{0.1f + across, 0.2f, 0.5f, 0, 0xFF00FF00u, 0x10u, 0.25f, 0.5f},
                      {-0.3f + across, 0.1f, 0.5f, 0, 0xFFFFFFFFu, 0, 1.0f, 0.0f},
                      {0.2f + across, -0.4f, 0.5f, 0, 0x80123456u, 0, 0.0f, 1.0f}};
  capture.matrices = {Scaled(1.0f), Scaled(0.5f)};
  D3DVIEWPORT2 viewport{sizeof(D3DVIEWPORT2), 0, 0, 640, 480, -1.0f, 0.75f, 2.0f, 1.5f, 0, 1};
  capture.viewports = {viewport};
  capture.frames.push_back({0xF800,
                            {{Kind::Viewport, 0, 0, 0},
                             {Kind::RenderState, D3DRENDERSTATE_TEXTUREHANDLE, 1, 0},
                             {Kind::LightState, D3DLIGHTSTATE_AMBIENT, 0x404040, 0},
                             {Kind::Transform, D3DTRANSFORMSTATE_VIEW, 0, 0},
                             {Kind::Transform, D3DTRANSFORMSTATE_PROJECTION, 0, 0},
                             {Kind::Transform, D3DTRANSFORMSTATE_WORLD, 1, 0},
                             {Kind::Draw, D3DPT_TRIANGLELIST, 0, 3}}});
  return capture;
}

bool SameBits(const void* a, const void* b, std::size_t size) {
  return std::memcmp(a, b, size) == 0;
}

TEST(DeviceSeeds, ReadBackAsTheCapturedFrameThroughTheFuzzersReader) {
  const capture::Capture capture = OneCellCapture(0.0f);
  const std::vector<bench::DeviceSeed> seeds = bench::DeviceSeeds(capture);
  ASSERT_FALSE(seeds.empty());
  EXPECT_EQ(seeds[0].name, "title_cells_0");
  const device_fuzz::DeviceInput input =
      device_fuzz::DecodeDeviceInput(seeds[0].bytes.data(), seeds[0].bytes.size());

  EXPECT_EQ(input.scale, 1.0f);
  EXPECT_FALSE(input.wide);
  ASSERT_GE(seeds.size(), 2u);
  EXPECT_NE(device_fuzz::DecodeDeviceInput(seeds[1].bytes.data(), seeds[1].bytes.size()).scale,
            1.0f)
      << "the seeds spread over the render scales";
  ASSERT_TRUE(input.texture);
  EXPECT_EQ(input.texture->format, 1) << "RGB 565";
  EXPECT_EQ(input.texture->width, 16);
  EXPECT_EQ(input.texture->height, 16);
  EXPECT_EQ(input.texture->colourKey, 0x1234u);
  for (int y : {0, 7, 15}) {
    for (int x : {0, 9, 15}) {
      const std::size_t seed = (static_cast<std::size_t>(y) * 16 + x) * 2;
      const std::size_t captured = (static_cast<std::size_t>(y) * 2 * 32 + x * 2) * 2;
      EXPECT_TRUE(SameBits(&input.texture->texels[seed], &capture.textures[0].texels[captured], 2))
          << x << "," << y;
    }
  }
  EXPECT_EQ(input.clearColour, 0xF800);
  EXPECT_TRUE(SameBits(&input.viewport.dwX, &capture.viewports[0].dwX,
                       sizeof(D3DVIEWPORT2) - sizeof(DWORD)));

  using FuzzKind = device_fuzz::Command::Kind;
  ASSERT_EQ(input.commands.size(), 7u);
  EXPECT_EQ(input.commands[0].kind, FuzzKind::Viewport);
  EXPECT_EQ(input.commands[1].kind, FuzzKind::RenderState);
  EXPECT_EQ(input.commands[1].value, device_fuzz::kTextureWord);
  EXPECT_EQ(input.commands[2].kind, FuzzKind::LightState);
  EXPECT_EQ(input.commands[2].value, 0x404040u);
  const DWORD transforms[] = {D3DTRANSFORMSTATE_VIEW, D3DTRANSFORMSTATE_PROJECTION,
                              D3DTRANSFORMSTATE_WORLD};
  for (int i = 0; i < 3; ++i) {
    const device_fuzz::Command& transform = input.commands[3 + i];
    EXPECT_EQ(transform.kind, FuzzKind::Transform);
    EXPECT_EQ(transform.state, transforms[i]);
    EXPECT_TRUE(SameBits(&transform.matrix, &capture.matrices[i == 2 ? 1 : 0], sizeof(D3DMATRIX)));
  }
  const device_fuzz::Command& draw = input.commands[6];
  EXPECT_EQ(draw.state, static_cast<DWORD>(D3DPT_TRIANGLELIST));
  ASSERT_EQ(draw.vertices.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_TRUE(SameBits(&draw.vertices[i], &capture.vertices[i], sizeof(D3DLVERTEX))) << i;
  }
}

TEST(DeviceSeeds, ACellOutOfSightMakesNoSeed) {
  EXPECT_FALSE(bench::DeviceSeeds(OneCellCapture(1.5f)).empty()) << "half of it in sight";
  EXPECT_TRUE(bench::DeviceSeeds(OneCellCapture(3.0f)).empty());
}

}  // namespace
