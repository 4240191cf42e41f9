// Captures of device calls: the file keeps everything and refuses what does not hold together,
// and a capture logged from a device plays back to the very pictures the device drew.
#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "bench/capture/call_logger.h"
#include "bench/capture/capture.h"
#include "bench/capture/device_playback.h"
#include "platform/host/headless/headless_host.h"
#include "platform/testing.h"
#include "tests/support/temp_folder.h"

namespace {

using capture::Capture;
using capture::Command;
using Kind = capture::Command::Kind;

D3DMATRIX Translation(float x, float y, float z) {
  return D3DMATRIX{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
}

// A small scene in the game's states: a keyed 8 × 8 texture on two triangles and an outline,
// seen through a perspective camera, over two frames with different views.
Capture SmallScene() {
  Capture c;
  c.width = 64;
  c.height = 48;
  capture::CapturedTexture texture;
  texture.format = platform::raster::TextureFormat::Xrgb8888;
  texture.width = texture.height = 8;
  for (int i = 0; i < 64; ++i) {
    const std::uint32_t texel =
        i % 5 == 0 ? 0u : 0x00402010u * static_cast<std::uint32_t>(i % 4 + 1);
    for (int b = 0; b < 4; ++b)
      texture.texels.push_back(static_cast<std::uint8_t>(texel >> (8 * b)));
  }
  texture.hasColourKey = true;
  c.textures.push_back(texture);
  auto vertex = [](float x, float y, float z, float u, float v) {
    return D3DLVERTEX{x, y, z, 0, 0xFFFFFFFF, 0xFF102030, u, v};
  };
  c.vertices = {vertex(-4, -1, 0, 0, 1),  vertex(4, -1, 0, 1, 1),  vertex(4, -1, 12, 1, 0),
                vertex(-4, -1, 0, 0, 1),  vertex(4, -1, 12, 1, 0), vertex(-4, -1, 12, 0, 0),
                vertex(-4, -1, 12, 0, 0), vertex(-4, 3, 12, 0, 0)};
  D3DMATRIX projection{};
  projection._11 = 2.0f;
  projection._22 = 2.0f;
  projection._33 = 1.0f;
  projection._34 = 1.0f;
  projection._43 = -1.0f;
  c.matrices = {Translation(0, 0, 2), Translation(0, 0, 0), Translation(0.5f, 0, 0), projection};
  D3DVIEWPORT2 viewport{};
  viewport.dwSize = D3DVIEWPORT2_SIZE;
  viewport.dwWidth = 64;
  viewport.dwHeight = 48;
  viewport.dvClipX = -1.0f;
  viewport.dvClipY = 0.75f;
  viewport.dvClipWidth = 2.0f;
  viewport.dvClipHeight = 1.5f;
  viewport.dvMaxZ = 1.0f;
  c.viewports = {viewport};
  for (std::uint32_t view : {1u, 2u}) {
    capture::Frame frame;
    frame.clearColour = 0;
    frame.commands = {
        {Kind::RenderState, D3DRENDERSTATE_TEXTUREHANDLE, 1},
        // Both windings, as the game draws: the floor runs counter-clockwise on the screen.
        {Kind::RenderState, D3DRENDERSTATE_CULLMODE, D3DCULL_NONE},
        {Kind::RenderState, D3DRENDERSTATE_COLORKEYENABLE, 1},
        {Kind::RenderState, D3DRENDERSTATE_TEXTUREPERSPECTIVE, 1},
        {Kind::RenderState, D3DRENDERSTATE_TEXTUREMIN, D3DFILTER_MIPLINEAR},
        {Kind::RenderState, D3DRENDERSTATE_FOGENABLE, 1},
        {Kind::LightState, D3DLIGHTSTATE_FOGMODE, D3DFOG_LINEAR},
        {Kind::LightState, D3DLIGHTSTATE_FOGSTART, std::bit_cast<DWORD>(4.0f)},
        {Kind::LightState, D3DLIGHTSTATE_FOGEND, std::bit_cast<DWORD>(11.0f)},
        {Kind::Transform, D3DTRANSFORMSTATE_WORLD, 0},
        {Kind::Transform, D3DTRANSFORMSTATE_VIEW, view},
        {Kind::Transform, D3DTRANSFORMSTATE_PROJECTION, 3},
        {Kind::Viewport, 0, 0},
        {Kind::Draw, D3DPT_TRIANGLELIST, 0, 6},
        {Kind::Draw, D3DPT_LINELIST, 6, 2},
    };
    c.frames.push_back(frame);
  }
  return c;
}

void ExpectSameCapture(const Capture& a, const Capture& b) {
  ASSERT_EQ(a.frames.size(), b.frames.size());
  for (std::size_t f = 0; f < a.frames.size(); ++f) {
    ASSERT_EQ(a.frames[f].commands.size(), b.frames[f].commands.size());
    for (std::size_t i = 0; i < a.frames[f].commands.size(); ++i) {
      const Command& x = a.frames[f].commands[i];
      const Command& y = b.frames[f].commands[i];
      EXPECT_TRUE(x.kind == y.kind && x.a == y.a && x.b == y.b && x.c == y.c) << f << "/" << i;
    }
  }
  EXPECT_EQ(a.textures.at(0).texels, b.textures.at(0).texels);
  EXPECT_EQ(std::memcmp(a.vertices.data(), b.vertices.data(), a.vertices.size() * 32), 0);
  EXPECT_EQ(std::memcmp(a.matrices.data(), b.matrices.data(), a.matrices.size() * 64), 0);
}

TEST(CaptureFile, KeepsEverythingAndRefusesWhatDoesNotHoldTogether) {
  const Capture scene = SmallScene();
  const TempFolder folder;
  const std::string path = folder.File("scene.capture");
  std::string error;
  ASSERT_TRUE(capture::WriteCapture(scene, path, &error)) << error;
  const auto read = capture::ReadCapture(path, &error);
  ASSERT_TRUE(read.has_value()) << error;
  ExpectSameCapture(scene, *read);

  Capture broken = scene;
  broken.frames[1].commands.back().c = 100;  // vertices past the pool
  ASSERT_TRUE(capture::WriteCapture(broken, path, &error));
  EXPECT_FALSE(capture::ReadCapture(path, &error).has_value());
  EXPECT_NE(error.find("vertices outside the pool"), std::string::npos) << error;

  broken = scene;
  broken.frames[0].commands[0].b = 2;  // a texture the capture does not have
  ASSERT_TRUE(capture::WriteCapture(broken, path, &error));
  EXPECT_FALSE(capture::ReadCapture(path, &error).has_value());

  // Cut short anywhere, the file is refused without reading past its end.
  ASSERT_TRUE(capture::WriteCapture(scene, path, &error));
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  for (std::size_t length : {std::size_t{5}, bytes.size() / 3, bytes.size() - 1}) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(length));
    EXPECT_FALSE(capture::ReadCapture(path, &error).has_value()) << length;
  }
  EXPECT_FALSE(capture::ReadCapture(folder.File("missing.capture"), &error).has_value());
}

TEST(CapturePlayback, ALoggedCapturePlaysBackToTheSamePicturesOnBothDevices) {
  platform::host::headless::Reset();
  const Capture scene = SmallScene();
  std::string error;
  auto optimised = capture::DevicePlayback::Create(scene, false, &error);
  ASSERT_TRUE(optimised) << error;
  auto reference = capture::DevicePlayback::Create(scene, true, &error);
  ASSERT_TRUE(reference) << error;

  // Log the optimised device drawing the scene, then play the log back.
  capture::CallLogger logger;
  platform::testing::SetDrawListener(&logger);
  std::vector<std::vector<std::uint16_t>> drawn;
  for (const capture::Frame& frame : scene.frames) {
    optimised->DrawFrame(frame);
    drawn.push_back(optimised->Pixels());
  }
  platform::testing::SetDrawListener(nullptr);
  ASSERT_EQ(logger.Problem(), "");
  const Capture logged = logger.Finish();
  ASSERT_EQ(logged.frames.size(), scene.frames.size());
  EXPECT_EQ(logged.DrawCount(), scene.DrawCount());

  auto playedBack = capture::DevicePlayback::Create(logged, false, &error);
  ASSERT_TRUE(playedBack) << error;
  for (std::size_t f = 0; f < scene.frames.size(); ++f) {
    reference->DrawFrame(scene.frames[f]);
    playedBack->DrawFrame(logged.frames[f]);
    EXPECT_EQ(playedBack->Pixels(), drawn[f]) << "frame " << f;
    EXPECT_EQ(reference->Pixels(), drawn[f]) << "frame " << f;
    int lit = 0;
    for (std::uint16_t pixel : drawn[f]) lit += pixel != 0;
    EXPECT_GT(lit, 300) << "frame " << f << " is nearly empty";
  }
  EXPECT_NE(drawn[0], drawn[1]) << "the two views should differ";
}

}  // namespace
