#include "math/camera.h"

#include <cmath>

void SetViewMatrix(Matrix4& out, const Vector3& eye, const Vector3& target, float roll) {
  const Vector3 worldUp(0.0f, 1.0f, 0.0f);
  SetIdentity(out);

  const Vector3 forward = Normalize(Subtract(target, eye));
  Vector3 right = Cross(worldUp, forward);
  // up is formed from right before right is normalised; the rounding depends on that order.
  Vector3 up = Cross(forward, right);
  right = Normalize(right);
  up = Normalize(up);

  out(0, 0) = right.x;
  out(1, 0) = right.y;
  out(2, 0) = right.z;
  out(0, 1) = up.x;
  out(1, 1) = up.y;
  out(2, 1) = up.z;
  out(0, 2) = forward.x;
  out(1, 2) = forward.y;
  out(2, 2) = forward.z;
  out(3, 0) = -Dot(right, eye);
  out(3, 1) = -Dot(up, eye);
  out(3, 2) = -Dot(forward, eye);

  if (roll != 0.0f) {
    Matrix4 rotation;
    SetRotationZ(rotation, -roll);
    const Matrix4 view = out;
    MultiplyMatrix(rotation, view, out);
  }
}

void SetProjectionMatrix(Matrix4& out, float nearPlane, float farPlane, float fieldOfView) {
  const double half = static_cast<double>(fieldOfView * 0.5f);
  const float c = static_cast<float>(std::cos(half));
  const float s = static_cast<float>(std::sin(half));
  const float q = s / (1.0f - nearPlane / farPlane);

  SetZero(out);
  out(0, 0) = c;
  out(1, 1) = c;
  out(2, 2) = q;
  out(3, 2) = -q * nearPlane;
  out(2, 3) = s;
}
