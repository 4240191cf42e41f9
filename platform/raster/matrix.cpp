#include "platform/raster/raster.h"

namespace platform::raster {

Matrix IdentityMatrix() {
  Matrix identity{};
  for (int i = 0; i < 4; ++i) identity.m[i * 4 + i] = 1.0f;
  return identity;
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix out{};
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a.m[row * 4 + k] * b.m[k * 4 + col];
      out.m[row * 4 + col] = sum;
    }
  }
  return out;
}

}  // namespace platform::raster
