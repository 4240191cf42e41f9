#pragma once

#include <bit>

#include "math/matrix4.h"
#include "platform/api/d3d.h"

// A Matrix4 has D3DMATRIX's layout, so it crosses to the device bit for bit.
inline D3DMATRIX ToDeviceMatrix(const Matrix4& matrix) {
  static_assert(sizeof(Matrix4) == sizeof(D3DMATRIX));
  return std::bit_cast<D3DMATRIX>(matrix);
}
