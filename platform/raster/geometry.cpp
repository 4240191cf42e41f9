#include "platform/raster/geometry.h"

#include <cmath>
#include <utility>

namespace platform::raster {
namespace {

// Screen positions beyond this many pixels cannot come from a valid clip (the viewport lies inside
// a target of at most 8192 pixels); they mean a broken vertex and would overflow the edge maths.
constexpr float kMaxScreenCoordinate = 32768.0f;

constexpr int kClipPlaneCount = 6;

// q = 1/w is interpolated across the screen and inverted again at every pixel: w is kept within
// these bounds for q so that both stay normal, finite floats whatever the matrices did.
constexpr float kMinPerspectiveW = 0x1p-40f;
constexpr float kMaxPerspectiveW = 0x1p40f;

// A texture coordinate this large already addresses a texel position that saturates (texel.h);
// bounding it keeps u · q finite.
constexpr float kMaxTextureCoordinate = 0x1p20f;

float BoundedCoordinate(float value) {
  if (value != value) return 0.0f;
  value = value > -kMaxTextureCoordinate ? value : -kMaxTextureCoordinate;
  return value < kMaxTextureCoordinate ? value : kMaxTextureCoordinate;
}

float Clamp01(float value) {
  value = value > 0.0f ? value : 0.0f;  // a NaN becomes 0
  return value < 1.0f ? value : 1.0f;
}

float LinearFog(const VertexStage& stage, float depth) {
  // With start and end equal the ramp is a step: everything at or beyond the end is fog.
  if (stage.fogEnd == stage.fogStart) return depth < stage.fogEnd ? 1.0f : 0.0f;
  return Clamp01((stage.fogEnd - depth) / (stage.fogEnd - stage.fogStart));
}

// Signed distance to one clip plane, non-negative inside.
float PlaneDistance(const VertexStage& stage, const ClipVertex& v, int plane) {
  switch (plane) {
    case 0:
      return v.z;  // near: z/w ≥ 0
    case 1:
      return v.w - v.z;  // far: z/w ≤ 1
    case 2:
      return v.x - stage.xMin * v.w;  // left
    case 3:
      return stage.xMax * v.w - v.x;  // right
    case 4:
      return stage.yMax * v.w - v.y;  // top
    default:
      return v.y - stage.yMin * v.w;  // bottom
  }
}

// One bit per clip plane the vertex lies outside of.
unsigned OutCode(const VertexStage& stage, const ClipVertex& v) {
  unsigned code = 0;
  for (int plane = 0; plane < kClipPlaneCount; ++plane) {
    if (PlaneDistance(stage, v, plane) < 0.0f) code |= 1u << plane;
  }
  return code;
}

float Lerp(float from, float to, float t) {
  return from + t * (to - from);
}

// The point where the edge from an inside vertex to an outside one crosses a plane. Always
// measured from the inside end, so both triangles sharing an edge compute the same point.
ClipVertex Intersect(const ClipVertex& inside, const ClipVertex& outside, float dInside,
                     float dOutside) {
  const float t = dInside / (dInside - dOutside);
  ClipVertex r;
  r.x = Lerp(inside.x, outside.x, t);
  r.y = Lerp(inside.y, outside.y, t);
  r.z = Lerp(inside.z, outside.z, t);
  r.w = Lerp(inside.w, outside.w, t);
  r.u = Lerp(inside.u, outside.u, t);
  r.v = Lerp(inside.v, outside.v, t);
  r.fog = Lerp(inside.fog, outside.fog, t);
  for (int c = 0; c < 4; ++c) r.diffuse[c] = Lerp(inside.diffuse[c], outside.diffuse[c], t);
  for (int c = 0; c < 3; ++c) r.specular[c] = Lerp(inside.specular[c], outside.specular[c], t);
  return r;
}

// Sutherland–Hodgman against one plane; returns the new vertex count.
int ClipAgainstPlane(const VertexStage& stage, int plane, const ClipVertex* in, int count,
                     ClipVertex* out) {
  int written = 0;
  for (int i = 0; i < count; ++i) {
    const ClipVertex& current = in[i];
    const ClipVertex& next = in[(i + 1) % count];
    const float dCurrent = PlaneDistance(stage, current, plane);
    const float dNext = PlaneDistance(stage, next, plane);
    const bool currentInside = dCurrent >= 0.0f;
    if (currentInside) out[written++] = current;
    if (currentInside != (dNext >= 0.0f)) {
      out[written++] = currentInside ? Intersect(current, next, dCurrent, dNext)
                                     : Intersect(next, current, dNext, dCurrent);
    }
  }
  return written;
}

}  // namespace

VertexStage MakeVertexStage(const RasterContext& context) {
  const Viewport& vp = context.viewport;
  VertexStage stage;
  stage.worldView = Multiply(context.world, context.view);
  stage.projection = context.projection;
  stage.flat = context.shadeMode == ShadeMode::Flat;
  stage.fog = context.fogEnable && context.fogMode == FogMode::Linear;
  stage.fogStart = context.fogStart;
  stage.fogEnd = context.fogEnd;
  stage.xMin = vp.dvClipX;
  stage.xMax = vp.dvClipX + vp.dvClipWidth;
  stage.yMax = vp.dvClipY;
  stage.yMin = vp.dvClipY - vp.dvClipHeight;
  stage.left = static_cast<float>(vp.dwX);
  stage.top = static_cast<float>(vp.dwY);
  stage.scaleX = static_cast<float>(vp.dwWidth) / vp.dvClipWidth;
  stage.scaleY = static_cast<float>(vp.dwHeight) / vp.dvClipHeight;
  stage.perspective = context.perspective;
  stage.cull = context.cull;
  return stage;
}

ClipVertex TransformVertex(const VertexStage& stage, const LitVertex& vertex) {
  const float* wv = stage.worldView.m;
  float view[4];
  for (int col = 0; col < 4; ++col) {
    view[col] = vertex.x * wv[col] + vertex.y * wv[4 + col] + vertex.z * wv[8 + col] + wv[12 + col];
  }
  const float* p = stage.projection.m;
  float clip[4];
  for (int col = 0; col < 4; ++col) {
    clip[col] =
        view[0] * p[col] + view[1] * p[4 + col] + view[2] * p[8 + col] + view[3] * p[12 + col];
  }

  ClipVertex out;
  out.x = clip[0];
  out.y = clip[1];
  out.z = clip[2];
  out.w = clip[3];
  out.u = vertex.tu;
  out.v = vertex.tv;
  // Fog follows the depth in view space, before projection.
  out.fog = stage.fog ? LinearFog(stage, view[2]) : 1.0f;
  for (int c = 0; c < 3; ++c) {
    const int shift = 16 - 8 * c;  // red, green, blue
    out.diffuse[c] = static_cast<float>((vertex.diffuse >> shift) & 0xFFu);
    out.specular[c] = static_cast<float>((vertex.specular >> shift) & 0xFFu);
  }
  out.diffuse[3] = static_cast<float>(vertex.diffuse >> 24);
  return out;
}

void ApplyFlatShading(ClipVertex* vertices, int count) {
  for (int i = 1; i < count; ++i) {
    for (int c = 0; c < 4; ++c) vertices[i].diffuse[c] = vertices[0].diffuse[c];
    for (int c = 0; c < 3; ++c) vertices[i].specular[c] = vertices[0].specular[c];
  }
}

int ClipTriangle(const VertexStage& stage, const ClipVertex (&triangle)[3],
                 ClipVertex (&out)[kMaxClipVertices]) {
  const unsigned codes[3] = {OutCode(stage, triangle[0]), OutCode(stage, triangle[1]),
                             OutCode(stage, triangle[2])};
  if ((codes[0] & codes[1] & codes[2]) != 0) return 0;  // wholly outside one plane
  const unsigned crossed = codes[0] | codes[1] | codes[2];

  ClipVertex scratch[kMaxClipVertices];
  ClipVertex* from = out;
  ClipVertex* to = scratch;
  for (int i = 0; i < 3; ++i) out[i] = triangle[i];
  int count = 3;
  for (int plane = 0; plane < kClipPlaneCount && count >= 3; ++plane) {
    if ((crossed & (1u << plane)) == 0) continue;
    count = ClipAgainstPlane(stage, plane, from, count, to);
    std::swap(from, to);
  }
  if (count < 3) return 0;
  if (from != out) {
    for (int i = 0; i < count; ++i) out[i] = from[i];
  }
  return count;
}

bool ClipLine(const VertexStage& stage, ClipVertex& a, ClipVertex& b) {
  for (int plane = 0; plane < kClipPlaneCount; ++plane) {
    const float da = PlaneDistance(stage, a, plane);
    const float db = PlaneDistance(stage, b, plane);
    if (da < 0.0f && db < 0.0f) return false;
    if (da < 0.0f) {
      a = Intersect(b, a, db, da);
    } else if (db < 0.0f) {
      b = Intersect(a, b, da, db);
    }
  }
  return true;
}

bool ToScreen(const VertexStage& stage, const ClipVertex& vertex, ScreenVertex& out) {
  if (!(vertex.w > 0.0f)) return false;
  const float invW = 1.0f / vertex.w;
  const float sx = stage.left + (vertex.x * invW - stage.xMin) * stage.scaleX;
  const float sy = stage.top + (stage.yMax - vertex.y * invW) * stage.scaleY;
  // Written so that a NaN fails too.
  if (!(std::fabs(sx) <= kMaxScreenCoordinate && std::fabs(sy) <= kMaxScreenCoordinate)) {
    return false;
  }
  // Snapped to the nearest 1/256 pixel; sx · 256 + 0.5 is exact in double.
  out.x = static_cast<std::int64_t>(std::floor(static_cast<double>(sx) * kSubPixelOne + 0.5));
  out.y = static_cast<std::int64_t>(std::floor(static_cast<double>(sy) * kSubPixelOne + 0.5));

  float perspectiveW = vertex.w > kMinPerspectiveW ? vertex.w : kMinPerspectiveW;
  perspectiveW = perspectiveW < kMaxPerspectiveW ? perspectiveW : kMaxPerspectiveW;
  const float q = stage.perspective ? 1.0f / perspectiveW : 1.0f;
  float* a = out.attributes;
  a[kAttrQ] = q;
  a[kAttrUq] = BoundedCoordinate(vertex.u) * q;
  a[kAttrVq] = BoundedCoordinate(vertex.v) * q;
  a[kAttrFogQ] = vertex.fog * q;
  for (int c = 0; c < 4; ++c) a[kAttrDiffuseR + c] = vertex.diffuse[c];
  for (int c = 0; c < 3; ++c) a[kAttrSpecularR + c] = vertex.specular[c];
  return true;
}

bool Culled(CullMode cull, const ScreenVertex* polygon, int count) {
  if (cull == CullMode::None) return false;
  // Twice the area by the shoelace formula; positions are bounded (ToScreen), so it fits.
  std::int64_t area = 0;
  for (int i = 0; i < count; ++i) {
    const ScreenVertex& a = polygon[i];
    const ScreenVertex& b = polygon[(i + 1) % count];
    area += a.x * b.y - b.x * a.y;
  }
  if (area == 0) return true;
  return cull == CullMode::Clockwise ? area > 0 : area < 0;
}

}  // namespace platform::raster
