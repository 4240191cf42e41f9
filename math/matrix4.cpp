#include "math/matrix4.h"

#include <cmath>

namespace {

// Sine and cosine of a float angle, evaluated in double precision and rounded to float.
struct SinCos {
  float s;
  float c;
};

SinCos SinCosOf(float angle) {
  const double radians = static_cast<double>(angle);
  return {static_cast<float>(std::sin(radians)), static_cast<float>(std::cos(radians))};
}

// A rotation by `angle` in the plane of axes i and j, turning i toward j: the three rotations
// differ only in the plane.
void SetPlaneRotation(Matrix4& m, float angle, int i, int j) {
  const SinCos r = SinCosOf(angle);
  SetIdentity(m);
  m(i, i) = r.c;
  m(i, j) = r.s;
  m(j, i) = -r.s;
  m(j, j) = r.c;
}

}  // namespace

void SetIdentity(Matrix4& m) {
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) m(i, j) = 0.0f;
    m(i, i) = 1.0f;
  }
}

void SetZero(Matrix4& m) {
  for (float& element : m.m) element = 0.0f;
}

void SetTranslation(Matrix4& m, float x, float y, float z) {
  SetIdentity(m);
  m(3, 0) = x;
  m(3, 1) = y;
  m(3, 2) = z;
}

void SetScale(Matrix4& m, float x, float y, float z) {
  SetIdentity(m);
  m(0, 0) = x;
  m(1, 1) = y;
  m(2, 2) = z;
}

void SetRotationX(Matrix4& m, float angle) {
  SetPlaneRotation(m, angle, 1, 2);
}

void SetRotationY(Matrix4& m, float angle) {
  SetPlaneRotation(m, angle, 2, 0);
}

void SetRotationZ(Matrix4& m, float angle) {
  SetPlaneRotation(m, angle, 0, 1);
}

void MultiplyMatrix(const Matrix4& a, const Matrix4& b, Matrix4& out) {
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      // Summed left to right; every partial sum is a float.
      float sum = a(i, 0) * b(0, j);
      sum = sum + a(i, 1) * b(1, j);
      sum = sum + a(i, 2) * b(2, j);
      sum = sum + a(i, 3) * b(3, j);
      out(i, j) = sum;
    }
  }
}

void TransformPoint(const Matrix4& m, const Vector3& p, Vector3& out) {
  for (int k = 0; k < 3; ++k) {
    out[k] = p.x * m(0, k) + p.y * m(1, k) + p.z * m(2, k) + m(3, k);
  }
  const float w = p.x * m(0, 3) + p.y * m(1, 3) + p.z * m(2, 3) + m(3, 3);
  out.x = out.x / w;
  out.y = out.y / w;
  out.z = out.z / w;
}
