#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>

#include "math/matrix4.h"
#include "record/game_globals.h"
#include "render/butterfly.h"
#include "tests/render/scene/vertex_checks.h"
#include "tests/support/doubles/logging_device.h"

namespace {

using namespace doubles;

class Butterfly : public ::testing::Test {
 protected:
  void SetUp() override {
    globals = GameGlobals{};
    globals.device = &device_;
    globals.flapRate = 1;
    globals.playerX = 45.0f;
    globals.playerZ = 45.0f;
    globals.playerHeading = 90.0f;
  }

  void Draw(float seconds) {
    calls_.clear();
    globals.frameSeconds = seconds;
    DrawButterfly();
  }

  // Where a wing-model point lands in the world under the i-th wing's matrix.
  Vector3 World(int wing, const Vector3& model) const {
    Matrix4 m;
    const D3DMATRIX& matrix = calls_[wing == 0 ? 0 : 2].matrix;
    static_assert(sizeof matrix == sizeof m.m);
    m = std::bit_cast<Matrix4>(matrix);
    Vector3 out(0, 0, 0);
    TransformPoint(m, model, out);
    return out;
  }

  CallLog calls_;
  LoggingDevice device_{calls_};
};

TEST_F(Butterfly, TheFlapAdvancesAtTwiceTheRateBeforeDrawing) {
  Draw(0.1f);
  EXPECT_EQ(globals.flapDirection, 0);
  EXPECT_FLOAT_EQ(globals.wingAngle, 0.7f);
}

TEST_F(Butterfly, TheFlapTurnsAtItsBoundsAfterOvershootingByOneStep) {
  globals.wingAngle = 2.0f;
  Draw(0.1f);
  EXPECT_EQ(globals.flapDirection, 1);
  EXPECT_FLOAT_EQ(globals.wingAngle, 1.8f);  // reversed in the same call

  globals.flapDirection = 0;
  globals.wingAngle = 1.9f;
  globals.flapRate = 10;
  Draw(0.05f);
  EXPECT_FLOAT_EQ(globals.wingAngle, 2.9f);  // overshoots; only the next call turns back
  Draw(0.05f);
  EXPECT_FLOAT_EQ(globals.wingAngle, 1.9f);

  globals.wingAngle = 0.5f;
  globals.flapRate = 1;
  Draw(0.1f);
  EXPECT_EQ(globals.flapDirection, 0);
}

// Inputs where double precision, rounded once, gives another float (quoted in the comments).
TEST_F(Butterfly, TheFlapAndTheBodyAnglesAreWorkedInSinglePrecision) {
  globals.flapRate = 10;
  Draw(0x1.47cd3cp-7f);
  EXPECT_EQ(globals.wingAngle, 0x1.667024p-1f);  // 0.5 + 2 × e × 10; 0x1.667022p-1

  globals.pitch = 0.0f;
  globals.bank = 0.0f;
  globals.wingAngle = 0.0f;
  globals.playerHeading = 0x1.00000ap-1f;
  globals.frameSeconds = 0.0f;
  Draw(0.0f);
  // The turn to the heading is −((h − 90) × 0.017444445) = 0x1.8fafe8p+0 (0x1.8fafe6p+0 in
  // double); unpitched and unflapped, the body axis is the world matrix's row 2, (sin, 0, cos).
  const double turn = 0x1.8fafe8p+0;
  const Matrix4 world = std::bit_cast<Matrix4>(calls_[0].matrix);
  EXPECT_EQ(world(2, 0), static_cast<float>(std::sin(turn)));
  EXPECT_EQ(world(2, 2), static_cast<float>(std::cos(turn)));
}

TEST_F(Butterfly, TwoWingsShareOneVertexArrayAndDifferOnlyInTheirMatrices) {
  Draw(0.0f);
  ASSERT_EQ(CallNames(calls_), (std::vector<std::string>{"SetTransform", "DrawPrimitive",
                                                         "SetTransform", "DrawPrimitive"}));
  EXPECT_EQ(calls_[1].values,
            (std::vector<DWORD>{D3DPT_TRIANGLELIST, D3DVT_LVERTEX, 6, D3DDP_WAIT}));
  EXPECT_EQ(calls_[3].values, calls_[1].values);
  const std::vector<D3DLVERTEX>& wing = calls_[1].vertices;
  const float expected[6][5] = {{0, 3, 3, 0.99f, 0.51f}, {0, 3, 0, 0.01f, 0.51f},
                                {0, 0, 3, 0.99f, 0.99f}, {0, 0, 3, 0.99f, 0.99f},
                                {0, 3, 0, 0.01f, 0.51f}, {0, 0, 0, 0.01f, 0.99f}};
  for (int i = 0; i < 6; ++i) {
    ExpectWhiteVertex(wing[i], expected[i]);
    EXPECT_EQ(std::memcmp(&wing[i], &calls_[3].vertices[i], sizeof(D3DLVERTEX)), 0);
  }
  EXPECT_EQ(std::bit_cast<std::uint32_t>(wing[0].tv), 0x3F028F5Cu);  // 0.51f
}

TEST_F(Butterfly, TheWingsAreMirrorImagesAboutTheBodysUprightPlane) {
  globals.wingAngle = 0.9f;  // becomes 1.0 after this frame's flap of 0.05 × 2
  globals.pitch = 0.0f;
  Draw(0.05f);
  const float angle = globals.wingAngle;
  const Vector3 tip1 = World(0, Vector3(0, 3, 0));
  const Vector3 tip2 = World(1, Vector3(0, 3, 0));
  EXPECT_NEAR(tip1.x, 45.0f - 3.0f * std::sin(angle), 1e-4f);
  EXPECT_NEAR(tip1.y, 3.0f * std::cos(angle), 1e-4f);
  EXPECT_NEAR(tip2.x, 45.0f + 3.0f * std::sin(angle), 1e-4f);
  EXPECT_NEAR(tip2.y, tip1.y, 1e-5f);
}

TEST_F(Butterfly, TheBodyPointsAlongTheHeadingRaisedByThePitch) {
  const auto bodyAxis = [this](float heading, float pitch) {
    globals.playerHeading = heading;
    globals.pitch = pitch;
    Draw(0.0f);
    const Vector3 root = World(0, Vector3(0, 0, 0));
    const Vector3 front = World(0, Vector3(0, 0, 1));
    return Subtract(front, root);
  };
  const Vector3 alongZ = bodyAxis(90.0f, 0.0f);
  EXPECT_NEAR(alongZ.z, 1.0f, 1e-5f);
  EXPECT_NEAR(alongZ.x, 0.0f, 1e-5f);
  const Vector3 alongX = bodyAxis(0.0f, 0.0f);
  EXPECT_NEAR(alongX.x, 1.0f, 1e-3f);  // the 0.017444445 factor tilts it by a hair
  EXPECT_NEAR(alongX.z, 0.0f, 2e-3f);
  const Vector3 noseUp = bodyAxis(90.0f, 30.0f);
  EXPECT_NEAR(noseUp.y, 0.5f, 1e-3f);
  EXPECT_NEAR(noseUp.z, 0.866f, 1e-3f);
  const Vector3 noseDown = bodyAxis(90.0f, -10.0f);
  EXPECT_LT(noseDown.y, -0.17f);
}

TEST_F(Butterfly, TheBankRollsBothWingsTheSameWay) {
  globals.pitch = 0.0f;
  globals.wingAngle = 1.0f;
  globals.bank = 0.5f;
  Draw(0.0f);
  const Vector3 tip1 = World(0, Vector3(0, 3, 0));
  const Vector3 tip2 = World(1, Vector3(0, 3, 0));
  // Wing angles 1.5 and -0.5: the first nearly level, the second nearly upright.
  EXPECT_NEAR(tip1.y, 3.0f * std::cos(1.5f), 1e-4f);
  EXPECT_NEAR(tip2.y, 3.0f * std::cos(-0.5f), 1e-4f);
}

}  // namespace
