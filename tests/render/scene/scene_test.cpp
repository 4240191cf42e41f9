#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdio>

#include "math/camera.h"
#include "record/game_globals.h"
#include "record/screen_texts.h"
#include "render/scene.h"
#include "tests/support/doubles/logging_device.h"

namespace {

using namespace doubles;

CallLog calls;

// The device lines go through TextOutA; this double writes them into the same log.
struct TextLine {
  int x, y;
  std::string text;
};
std::vector<TextLine> lines;

class Scene : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    lines.clear();
    globals = GameGlobals{};
    globals.device = &device_;
    globals.backBuffer = &backBuffer_;
    globals.primarySurface = &primary_;
  }
  LoggingDevice device_{calls};
  LoggingSurface backBuffer_{calls};
  LoggingSurface primary_{calls};
};

// The known eye is quoted to the digits that tell its float apart from its neighbours.
std::string Digits(float value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*g", digits, value);
  return text;
}

void ExpectMatrixEq(const D3DMATRIX& actual, const Matrix4& expected) {
  const auto bits = std::bit_cast<std::array<float, 16>>(actual);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(bits[i], expected.m[i]) << "element " << i;
}

TEST_F(Scene, BeginClearsToBlackThenSetsTheFixedStatesInOrder) {
  globals.textureHandle = 7;
  BeginSceneFrame();
  ASSERT_EQ(calls.size(), 14u);
  EXPECT_EQ(calls[0].what, "Blt");
  EXPECT_EQ(calls[0].values, (std::vector<DWORD>{1, 1, 1, 0x01000400u}));
  EXPECT_EQ(calls[0].bltFillColour, 0u);
  EXPECT_EQ(calls[0].bltFxSize, 100u);
  const std::vector<std::vector<DWORD>> renderStates = {
      {22, 1}, {9, 2}, {41, 1}, {1, 7}, {4, 1}, {27, 1}, {20, 6}, {28, 1}, {34, 0xFF000000u}};
  for (std::size_t i = 0; i < renderStates.size(); ++i) {
    EXPECT_EQ(calls[1 + i].what, "SetRenderState");
    EXPECT_EQ(calls[1 + i].values, renderStates[i]) << "render state " << i;
  }
  const std::vector<std::vector<DWORD>> lightStates = {{4, 3}, {5, 0x4121999Au}, {6, 0x42480000u}};
  for (std::size_t i = 0; i < lightStates.size(); ++i) {
    EXPECT_EQ(calls[10 + i].what, "SetLightState");
    EXPECT_EQ(calls[10 + i].values, lightStates[i]) << "light state " << i;
  }
  EXPECT_EQ(calls[13].what, "BeginScene");
}

TEST_F(Scene, FinishSetsTheFilterTheCameraAndBothTransformsThenEndsTheScene) {
  SetProjectionMatrix(globals.projectionMatrix, 1.0f, 150.0f, 0.7610127f);
  for (int filter : {1, 0}) {
    calls.clear();
    globals.filterEnabled = filter;
    FinishSceneFrame();
    EXPECT_EQ(CallNames(calls), (std::vector<std::string>{"SetRenderState", "SetTransform",
                                                          "SetTransform", "EndScene"}));
    EXPECT_EQ(calls[0].values, (std::vector<DWORD>{18, filter ? 4u : 3u}));
    EXPECT_EQ(calls[1].values, (std::vector<DWORD>{2}));
    ExpectMatrixEq(calls[1].matrix, globals.viewMatrix);
    EXPECT_EQ(calls[2].values, (std::vector<DWORD>{3}));
    ExpectMatrixEq(calls[2].matrix, globals.projectionMatrix);
  }
}

TEST_F(Scene, TheFlyingCameraTrailsEightUnitsBehindTheButterfly) {
  globals.gameState = StateFlying;
  globals.playerX = 45.0f;
  globals.playerZ = 45.0f;
  globals.playerHeading = 90.0f;
  globals.titleCamX = 300.0f;  // not used while flying
  UpdateCamera();
  // The factor 0.017444445 leaves cos(90°) slightly above 0: the eye sits a hair off x = 45.
  const Vector3 eye(44.99363f, 3.0f, 37.000004f);
  EXPECT_EQ(Digits(eye.x, 7), "44.99363");
  EXPECT_EQ(Digits(eye.z, 8), "37.000004");
  Matrix4 expected;
  SetViewMatrix(expected, eye, Vector3(45.0f, 2.0f, 45.0f), 0.0f);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(globals.viewMatrix.m[i], expected.m[i]) << i;
}

TEST_F(Scene, TheCameraAngleIsAFloatProductWidenedOnlyForTheCosineAndSine) {
  globals.gameState = StateFlying;
  globals.playerX = 45.0f;
  globals.playerZ = 45.0f;
  globals.playerHeading = 0x1.23383ap+1f;  // a product that double precision keeps apart
  UpdateCamera();
  Matrix4 expected;
  // Worked from the double product, the eye's x would be 0x1.280ce6p+5.
  SetViewMatrix(expected, Vector3(0x1.280ce8p+5f, 3.0f, 0x1.6575e8p+5f),
                Vector3(45.0f, 2.0f, 45.0f), 0.0f);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(globals.viewMatrix.m[i], expected.m[i]) << i;
}

TEST_F(Scene, EveryOtherStateUsesTheTitleCamera) {
  for (GameState state : {StateTitle, StateCountdown}) {
    globals.gameState = state;
    globals.playerX = 300.0f;  // not used
    globals.titleCamX = 1.0f;
    globals.titleCamY = 1.0f;
    globals.titleCamZ = 1.0f;
    globals.titleCamHeading = 0.0f;
    UpdateCamera();
    Matrix4 expected;
    SetViewMatrix(expected, Vector3(-7.0f, 4.0f, 1.0f), Vector3(1.0f, 3.0f, 1.0f), 0.0f);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(globals.viewMatrix.m[i], expected.m[i]) << i;
  }
}

TEST_F(Scene, PresentFlipsThePrimarySurfaceAndWaits) {
  PresentFrame();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].what, "Flip");
  EXPECT_EQ(calls[0].values, (std::vector<DWORD>{1, 1}));
}

TEST_F(Scene, DeviceLinesShowTheDeviceTheDriverAndTheFilter) {
  std::snprintf(globals.deviceName, sizeof globals.deviceName, "D3D MMX Emulation");
  std::snprintf(globals.driverName, sizeof globals.driverName, "Active Driver");
  for (int filter : {1, 0}) {
    calls.clear();
    lines.clear();
    globals.filterEnabled = filter;
    DrawDeviceInfo();
    EXPECT_EQ(CallNames(calls),
              (std::vector<std::string>{"GetDC", "TextOutA", "TextOutA", "ReleaseDC"}));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].x, 10);
    EXPECT_EQ(lines[0].y, 460);
    EXPECT_EQ(lines[0].text, "[D3D MMX Emulation], [Active Driver]");
    EXPECT_EQ(lines[1].x, 10);
    EXPECT_EQ(lines[1].y, 440);
    EXPECT_EQ(lines[1].text, filter ? kTextFilterOn : kTextFilterOff);
  }
}

TEST_F(Scene, NoContextNoDeviceLines) {
  backBuffer_.getDcResult = DDERR_SURFACEBUSY;
  DrawDeviceInfo();
  EXPECT_EQ(CallNames(calls), (std::vector<std::string>{"GetDC"}));
  EXPECT_TRUE(lines.empty());
}

}  // namespace

BOOL TextOutA(HDC, int x, int y, LPCSTR text, int length) {
  calls.push_back(DeviceCall{"TextOutA", {}});
  lines.push_back({x, y, std::string(text, static_cast<std::size_t>(length))});
  return TRUE;
}
