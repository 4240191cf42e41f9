#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "math/matrix4.h"
#include "math/vector3.h"

namespace {

constexpr float kHalfPi = std::numbers::pi_v<float> / 2.0f;
constexpr float kTolerance = 1e-6f;

Matrix4 FilledWith(float value) {
  Matrix4 m;
  for (float& element : m.m) element = value;
  return m;
}

Vector3 Transformed(const Matrix4& m, const Vector3& p) {
  Vector3 out(0, 0, 0);
  TransformPoint(m, p, out);
  return out;
}

void ExpectNear(const Vector3& actual, const Vector3& expected) {
  EXPECT_NEAR(actual.x, expected.x, kTolerance);
  EXPECT_NEAR(actual.y, expected.y, kTolerance);
  EXPECT_NEAR(actual.z, expected.z, kTolerance);
}

TEST(MatrixLayout, ElementRowColumnIsIndexRowTimesFourPlusColumn) {
  Matrix4 m = FilledWith(0.0f);
  m(3, 2) = 7.0f;  // _43 of D3DMATRIX
  EXPECT_EQ(m.m[14], 7.0f);
  m(1, 3) = 5.0f;
  EXPECT_EQ(m.m[7], 5.0f);
  static_assert(sizeof(Matrix4) == 16 * sizeof(float));
}

TEST(MatrixBuilders, EveryBuilderOverwritesAllSixteenElements) {
  const auto check = [](void (*build)(Matrix4&), const float expected[16]) {
    for (float garbage : {NAN, 123.0f, -0.0f}) {
      Matrix4 m = FilledWith(garbage);
      build(m);
      for (int i = 0; i < 16; ++i) EXPECT_EQ(m.m[i], expected[i]) << "element " << i;
    }
  };
  const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const float zero[16] = {};
  const float translation[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1};
  const float scale[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1};
  check([](Matrix4& m) { SetIdentity(m); }, identity);
  check([](Matrix4& m) { SetZero(m); }, zero);
  check([](Matrix4& m) { SetTranslation(m, 5, 6, 7); }, translation);
  check([](Matrix4& m) { SetScale(m, 2, 3, 4); }, scale);
  check([](Matrix4& m) { SetRotationX(m, 0.0f); }, identity);
  check([](Matrix4& m) { SetRotationY(m, 0.0f); }, identity);
  check([](Matrix4& m) { SetRotationZ(m, 0.0f); }, identity);
}

TEST(MatrixBuilders, RotationsStoreDoublePrecisionSineAndCosineAsFloats) {
  const float angle = 0.7f;
  const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
  const float s = static_cast<float>(std::sin(static_cast<double>(angle)));
  Matrix4 x, y, z;
  SetRotationX(x, angle);
  SetRotationY(y, angle);
  SetRotationZ(z, angle);
  EXPECT_EQ(x(1, 1), c);
  EXPECT_EQ(x(1, 2), s);
  EXPECT_EQ(x(2, 1), -s);
  EXPECT_EQ(x(2, 2), c);
  EXPECT_EQ(y(0, 0), c);
  EXPECT_EQ(y(0, 2), -s);
  EXPECT_EQ(y(2, 0), s);
  EXPECT_EQ(y(2, 2), c);
  EXPECT_EQ(z(0, 0), c);
  EXPECT_EQ(z(0, 1), s);
  EXPECT_EQ(z(1, 0), -s);
  EXPECT_EQ(z(1, 1), c);
}

TEST(MatrixTransforms, TranslationAndQuarterTurnsMovePointsTheLeftHandedWay) {
  Matrix4 m;
  SetTranslation(m, 5, 6, 7);
  const Vector3 moved = Transformed(m, Vector3(1, 2, 3));
  EXPECT_EQ(moved.x, 6.0f);
  EXPECT_EQ(moved.y, 8.0f);
  EXPECT_EQ(moved.z, 10.0f);

  SetRotationY(m, kHalfPi);
  ExpectNear(Transformed(m, Vector3(1, 0, 0)), Vector3(0, 0, -1));
  SetRotationX(m, kHalfPi);
  ExpectNear(Transformed(m, Vector3(0, 1, 0)), Vector3(0, 0, 1));
  SetRotationZ(m, kHalfPi);
  ExpectNear(Transformed(m, Vector3(1, 0, 0)), Vector3(0, 1, 0));
}

TEST(MatrixTransforms, ProductAppliesTheLeftMatrixFirst) {
  Matrix4 t, r, tr, rt;
  SetTranslation(t, 1, 0, 0);
  SetRotationZ(r, kHalfPi);
  MultiplyMatrix(t, r, tr);
  MultiplyMatrix(r, t, rt);
  ExpectNear(Transformed(tr, Vector3(0, 0, 0)), Vector3(0, 1, 0));
  ExpectNear(Transformed(rt, Vector3(0, 0, 0)), Vector3(1, 0, 0));
}

TEST(MatrixTransforms, ProductRoundsEveryPartialSumToFloat) {
  // 1 + 2^-30 - 1 is 0 when the partial sum 1 + 2^-30 is rounded to float, and 2^-30 in double.
  Matrix4 a, b, out;
  SetZero(a);
  SetZero(b);
  a(0, 0) = 1.0f;
  a(0, 1) = 1.0f;
  a(0, 2) = 1.0f;
  b(0, 0) = 1.0f;
  b(1, 0) = std::ldexp(1.0f, -30);
  b(2, 0) = -1.0f;
  MultiplyMatrix(a, b, out);
  EXPECT_EQ(out(0, 0), 0.0f);
}

TEST(MatrixTransforms, TransformDividesByW) {
  Matrix4 m;
  SetIdentity(m);
  m(3, 3) = 2.0f;
  const Vector3 p = Transformed(m, Vector3(2, 4, 6));
  EXPECT_EQ(p.x, 1.0f);
  EXPECT_EQ(p.y, 2.0f);
  EXPECT_EQ(p.z, 3.0f);
}

TEST(VectorOperations, CrossLengthNormalizeDot) {
  ExpectNear(Cross(Vector3(1, 0, 0), Vector3(0, 1, 0)), Vector3(0, 0, 1));
  ExpectNear(Cross(Vector3(0, 1, 0), Vector3(0, 0, 1)), Vector3(1, 0, 0));
  const Vector3 a(1.5f, -2.0f, 4.0f);
  const Vector3 self = Cross(a, a);
  EXPECT_EQ(self.x, 0.0f);
  EXPECT_EQ(self.y, 0.0f);
  EXPECT_EQ(self.z, 0.0f);

  EXPECT_EQ(Length(Vector3(3, 0, 4)), 5.0f);
  const Vector3 n = Normalize(Vector3(3, 0, 4));
  EXPECT_EQ(n.x, 3.0f / 5.0f);
  EXPECT_EQ(n.y, 0.0f);
  EXPECT_EQ(n.z, 4.0f / 5.0f);
  EXPECT_EQ(Dot(Vector3(1, 2, 3), Vector3(4, -5, 6)), 12.0f);
  const Vector3 d = Subtract(Vector3(1, 2, 3), Vector3(3, 2, 1));
  EXPECT_EQ(d.x, -2.0f);
  EXPECT_EQ(d.z, 2.0f);
}

TEST(VectorOperations, ElementAccessReadsAndWritesComponents) {
  Vector3 v(1, 2, 3);
  v[1] = 9.0f;
  const Vector3& constant = v;
  EXPECT_EQ(constant[0], 1.0f);
  EXPECT_EQ(constant[1], 9.0f);
  EXPECT_EQ(constant[2], 3.0f);
}

}  // namespace
