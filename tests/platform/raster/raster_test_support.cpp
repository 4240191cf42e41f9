#include "tests/platform/raster/raster_test_support.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace raster_test {

using namespace platform::raster;

int Canvas::Count(std::uint16_t value) const {
  return static_cast<int>(std::count(pixels.begin(), pixels.end(), value));
}

RasterContext PixelContext(Canvas& canvas) {
  RasterContext context;
  context.target = canvas.Target();
  context.viewport.dwWidth = static_cast<std::uint32_t>(canvas.width);
  context.viewport.dwHeight = static_cast<std::uint32_t>(canvas.height);
  context.viewport.dvClipX = 0.0f;
  context.viewport.dvClipWidth = static_cast<float>(canvas.width);
  context.viewport.dvClipY = 0.0f;
  context.viewport.dvClipHeight = static_cast<float>(canvas.height);
  return context;
}

LitVertex AtPixel(float x, float y, std::uint32_t diffuse, float tu, float tv) {
  return LitVertex{x, -y, 0.5f, 0, diffuse, 0xFF000000u, tu, tv};
}

namespace {

struct Vec {
  float x, y, z;
};

Vec Normalised(Vec v) {
  const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return Vec{v.x / length, v.y / length, v.z / length};
}

Vec Cross(Vec a, Vec b) {
  return Vec{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(Vec a, Vec b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

}  // namespace

RasterContext GameContext(Canvas& canvas, const float eye[3], const float target[3]) {
  RasterContext context;
  context.target = canvas.Target();
  context.viewport = Viewport{0, 0, 640, 480, -1.0f, 0.75f, 2.0f, 1.5f, 0.0f, 1.0f};

  const Vec e{eye[0], eye[1], eye[2]};
  const Vec forward = Normalised(Vec{target[0] - e.x, target[1] - e.y, target[2] - e.z});
  const Vec right = Normalised(Cross(Vec{0, 1, 0}, forward));
  const Vec up = Cross(forward, right);
  Matrix view = IdentityMatrix();
  const Vec axes[3] = {right, up, forward};
  for (int col = 0; col < 3; ++col) {
    view.m[0 * 4 + col] = axes[col].x;
    view.m[1 * 4 + col] = axes[col].y;
    view.m[2 * 4 + col] = axes[col].z;
    view.m[3 * 4 + col] = -Dot(axes[col], e);
  }
  context.view = view;

  // c = cos(half fov), s = sin(half fov) with c / s = 2.5; depth 0 at 1, 1 at 150.
  const float c = 0.9284767f, s = 0.3713907f, q = s / (1.0f - 1.0f / 150.0f);
  Matrix projection{};
  projection.m[0] = c;
  projection.m[5] = c;
  projection.m[10] = q;
  projection.m[11] = s;
  projection.m[14] = -q;
  context.projection = projection;
  return context;
}

TestTexture::TestTexture(int width, int height, TextureFormat format)
    : width(width),
      height(height),
      format(format),
      bytes(static_cast<std::size_t>(width) * height * 4, 0),
      palette(256, 0) {}

TextureView TestTexture::View() const {
  TextureView view;
  view.texels = bytes.data();
  view.width = width;
  view.height = height;
  const int bytesPerTexel =
      format == TextureFormat::Palette8                                          ? 1
      : (format == TextureFormat::Xrgb8888 || format == TextureFormat::Argb8888) ? 4
                                                                                 : 2;
  view.pitch = width * bytesPerTexel;
  view.format = format;
  view.palette = palette.data();
  view.hasColourKey = hasColourKey;
  view.colourKey = colourKey;
  return view;
}

void TestTexture::Set(int x, int y, std::uint32_t raw) {
  const int bytesPerTexel = View().pitch / width;
  std::memcpy(&bytes[(static_cast<std::size_t>(y) * width + x) * bytesPerTexel], &raw,
              bytesPerTexel);
}

}  // namespace raster_test
