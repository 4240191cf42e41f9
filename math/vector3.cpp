#include "math/vector3.h"

#include <cmath>

Vector3 Subtract(const Vector3& a, const Vector3& b) {
  return Vector3(a.x - b.x, a.y - b.y, a.z - b.z);
}

Vector3 Divide(const Vector3& v, float k) {
  return Vector3(v.x / k, v.y / k, v.z / k);
}

float LengthSquared(const Vector3& v) {
  return v.x * v.x + v.y * v.y + v.z * v.z;
}

float Length(const Vector3& v) {
  return static_cast<float>(std::sqrt(static_cast<double>(LengthSquared(v))));
}

Vector3 Normalize(const Vector3& v) {
  return Divide(v, Length(v));
}

float Dot(const Vector3& a, const Vector3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector3 Cross(const Vector3& a, const Vector3& b) {
  return Vector3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
