// A three-component single-precision vector. The operations the camera needs are free
// functions that return fresh values and leave their inputs alone.
#pragma once

struct Vector3 {
  float x;
  float y;
  float z;

  // Default construction leaves the components uninitialised, like a plain record.
  Vector3() = default;
  constexpr Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

  // Component 0 is x, 1 is y, 2 is z; the index is not checked.
  float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
  const float& operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
};

Vector3 Subtract(const Vector3& a, const Vector3& b);
Vector3 Divide(const Vector3& v, float k);
float LengthSquared(const Vector3& v);
// The square root is taken in double precision and stored as a float.
float Length(const Vector3& v);
// Three divisions by the length; a zero vector yields NaNs (no caller passes one).
Vector3 Normalize(const Vector3& v);
float Dot(const Vector3& a, const Vector3& b);
Vector3 Cross(const Vector3& a, const Vector3& b);
