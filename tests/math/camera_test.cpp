#include <gtest/gtest.h>

#include <cmath>

#include "math/camera.h"

#include <cstdio>
#include <string>

namespace {

// The known values are quoted to seven significant digits; the float must print as exactly that.
std::string SevenDigits(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.7g", value);
  return text;
}

Vector3 Transformed(const Matrix4& m, const Vector3& p) {
  Vector3 out(0, 0, 0);
  TransformPoint(m, p, out);
  return out;
}

TEST(ViewMatrix, LookingDownZFromMinusTwoIsATranslation) {
  Matrix4 view;
  SetViewMatrix(view, Vector3(0, 0, -2), Vector3(0, 0, 0), 0.0f);
  const float expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 2, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(view.m[i], expected[i]) << "element " << i;
  const Vector3 target = Transformed(view, Vector3(0, 0, 0));
  EXPECT_EQ(target.z, 2.0f);
}

TEST(ViewMatrix, LookingAlongXPutsMinusZOnTheRight) {
  Matrix4 view;
  SetViewMatrix(view, Vector3(0, 0, 0), Vector3(1, 0, 0), 0.0f);
  // right = (0, 0, -1), up = (0, 1, 0), forward = (1, 0, 0), by columns.
  EXPECT_EQ(view(0, 0), 0.0f);
  EXPECT_EQ(view(2, 0), -1.0f);
  EXPECT_EQ(view(1, 1), 1.0f);
  EXPECT_EQ(view(0, 2), 1.0f);
  const Vector3 ahead = Transformed(view, Vector3(5, 0, 0));
  EXPECT_EQ(ahead.x, 0.0f);
  EXPECT_EQ(ahead.z, 5.0f);
  const Vector3 side = Transformed(view, Vector3(0, 0, 1));
  EXPECT_EQ(side.x, -1.0f);
  EXPECT_EQ(side.z, 0.0f);
}

TEST(ViewMatrix, TargetDistanceDoesNotChangeTheDirection) {
  Matrix4 near, far;
  SetViewMatrix(near, Vector3(1, 2, 3), Vector3(4, 3, 7), 0.0f);
  SetViewMatrix(far, Vector3(1, 2, 3), Vector3(10, 5, 15), 0.0f);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(near.m[i], far.m[i], 1e-6f) << "element " << i;
}

TEST(ViewMatrix, ZeroRollOfEitherSignLeavesTheMatrixAlone) {
  Matrix4 plain, negativeZero;
  SetViewMatrix(plain, Vector3(3, 4, 5), Vector3(-1, 2, 9), 0.0f);
  SetViewMatrix(negativeZero, Vector3(3, 4, 5), Vector3(-1, 2, 9), -0.0f);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(plain.m[i], negativeZero.m[i]);
}

TEST(ViewMatrix, RollRotatesWorldCoordinatesBeforeTheView) {
  Matrix4 unrolled, rolled, rotation, expected;
  SetViewMatrix(unrolled, Vector3(3, 4, 5), Vector3(-1, 2, 9), 0.0f);
  SetViewMatrix(rolled, Vector3(3, 4, 5), Vector3(-1, 2, 9), 0.3f);
  SetRotationZ(rotation, -0.3f);
  MultiplyMatrix(rotation, unrolled, expected);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(rolled.m[i], expected.m[i]) << "element " << i;
}

TEST(ProjectionMatrix, TheGamesProjectionHasItsKnownElements) {
  const float fieldOfView = static_cast<float>(2.0 * std::atan(0.4));
  EXPECT_EQ(SevenDigits(fieldOfView), "0.7610127");
  Matrix4 projection;
  for (float& element : projection.m) element = 99.0f;
  SetProjectionMatrix(projection, 1.0f, 150.0f, fieldOfView);
  EXPECT_EQ(SevenDigits(projection(0, 0)), "0.9284767");
  EXPECT_EQ(projection(1, 1), projection(0, 0));
  EXPECT_EQ(SevenDigits(projection(2, 2)), "0.3738832");
  EXPECT_EQ(projection(3, 2), -projection(2, 2));
  EXPECT_EQ(SevenDigits(projection(2, 3)), "0.3713907");
  int zeros = 0;
  for (float element : projection.m) zeros += element == 0.0f;
  EXPECT_EQ(zeros, 11);  // (3,3) included
  EXPECT_NEAR(projection(0, 0) / projection(2, 3), 2.5f, 1e-6f);
}

TEST(ProjectionMatrix, DepthRunsFromZeroAtNearToOneAtFar) {
  Matrix4 projection;
  SetProjectionMatrix(projection, 1.0f, 150.0f, static_cast<float>(2.0 * std::atan(0.4)));
  EXPECT_NEAR(Transformed(projection, Vector3(0, 0, 1)).z, 0.0f, 1e-7f);
  EXPECT_NEAR(Transformed(projection, Vector3(0, 0, 150)).z, 1.0f, 1e-6f);
}

}  // namespace
