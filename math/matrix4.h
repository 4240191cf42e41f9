// A 4×4 single-precision matrix with the memory layout of D3DMATRIX: sixteen floats, row-major,
// element (row, col) at index row × 4 + col. Points are row vectors (p' = p · M), translation
// lives in row 3, and A · B applies A first. Angles are radians.
#pragma once

#include "math/vector3.h"

struct Matrix4 {
  float m[16];

  // Default construction leaves the elements uninitialised, like a plain record.
  Matrix4() = default;

  // Writable element (row, col); indices are not checked.
  float& operator()(int row, int col) { return m[row * 4 + col]; }
  const float& operator()(int row, int col) const { return m[row * 4 + col]; }
};

// Every builder overwrites all sixteen elements of its target.
void SetIdentity(Matrix4& m);
void SetZero(Matrix4& m);
void SetTranslation(Matrix4& m, float x, float y, float z);
void SetScale(Matrix4& m, float x, float y, float z);
// The rotations evaluate sine and cosine in double precision and store them as floats.
void SetRotationX(Matrix4& m, float angle);
void SetRotationY(Matrix4& m, float angle);
void SetRotationZ(Matrix4& m, float angle);

// out = a · b, each partial sum rounded to float. out must be neither a nor b.
void MultiplyMatrix(const Matrix4& a, const Matrix4& b, Matrix4& out);
// out = p · m divided by w. out must not be p; w = 0 divides by zero (no caller passes it).
void TransformPoint(const Matrix4& m, const Vector3& p, Vector3& out);
