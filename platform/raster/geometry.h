// The vertex stage shared by both paths: world · view · projection, the per-vertex fog factor,
// clipping in homogeneous space, and the viewport mapping to sub-pixel screen positions.
#pragma once

#include <cstdint>

#include "platform/raster/raster.h"

namespace platform::raster {

// What is interpolated from the vertices to the pixels, as planes over the screen. The first four
// are divided by w when perspective is on (q is 1/w), so that u = uq / q is perspective-correct;
// with perspective off q is 1 everywhere. Colours are plain 0…255 values, linear on the screen.
enum Attribute : int {
  kAttrQ,
  kAttrUq,
  kAttrVq,
  kAttrFogQ,
  kAttrDiffuseR,
  kAttrDiffuseG,
  kAttrDiffuseB,
  kAttrDiffuseA,
  kAttrSpecularR,
  kAttrSpecularG,
  kAttrSpecularB,
  kAttrCount,
};

// Screen positions are fixed point with this many fraction bits; pixel centres are integers.
inline constexpr int kSubPixelBits = 8;
inline constexpr std::int64_t kSubPixelOne = std::int64_t{1} << kSubPixelBits;

// A vertex in homogeneous clip space, with everything that is interpolated along a clipped edge.
struct ClipVertex {
  float x, y, z, w;
  float u, v;
  float fog;          // the fog factor, 1 (no fog) to 0 (all fog colour)
  float diffuse[4];   // red, green, blue, alpha, 0…255
  float specular[3];  // red, green, blue, 0…255
};

// A vertex placed on the screen, ready for triangle or line set-up.
struct ScreenVertex {
  std::int64_t x, y;  // position in 1/256 pixel
  float attributes[kAttrCount];
};

// The most corners a clipped triangle can have. Exactly, a convex polygon gains at most one
// corner per plane; in float arithmetic the corners made by one plane can lie on either side of
// the next, so only the bound that holds for any polygon is safe. Each vertex's side of a plane
// is fixed, and a pass keeps the inside vertices and adds one per change of side around the
// polygon. The changes bound the runs of inside vertices and of outside ones, two changes per
// run of each, so n vertices with k inside come out as at most k + 2 · min(k, n − k) ≤ ⌊3n / 2⌋.
// Over the six planes: 3 → 4 → 6 → 9 → 13 → 19 → 28.
constexpr int MaxCornersAfterPlanes(int planes) {
  int corners = 3;
  for (int i = 0; i < planes; ++i) corners = corners * 3 / 2;
  return corners;
}
inline constexpr int kMaxClipVertices = MaxCornersAfterPlanes(6);
static_assert(kMaxClipVertices == 28);

// Everything the vertex stage needs, taken from the context once per draw.
struct VertexStage {
  Matrix worldView;  // world · view: model space to view space, where fog is measured
  Matrix projection;
  bool flat = false;  // flat shading: the first vertex's colours for the whole primitive
  bool fog = false;   // compute the linear fog factor; otherwise it is 1
  float fogStart = 0.0f;
  float fogEnd = 1.0f;
  // The clip volume: x/w in [xMin, xMax], y/w in [yMin, yMax], z/w in [0, 1].
  float xMin = 0.0f, xMax = 0.0f, yMin = 0.0f, yMax = 0.0f;
  // The viewport mapping: sx = left + (x/w − xMin) · scaleX, sy = top + (yMax − y/w) · scaleY.
  float left = 0.0f, top = 0.0f, scaleX = 0.0f, scaleY = 0.0f;
  bool perspective = false;  // interpolate texture coordinates and fog divided by w
  CullMode cull = CullMode::None;
};

// Builds the stage from a context whose viewport has been checked.
VertexStage MakeVertexStage(const RasterContext& context);

// Model space to clip space, with the vertex's colours, texture coordinates and fog factor.
ClipVertex TransformVertex(const VertexStage& stage, const LitVertex& vertex);

// Gives every vertex the first one's colours (flat shading), before clipping makes new ones.
void ApplyFlatShading(ClipVertex* vertices, int count);

// Clips a triangle to the clip volume. Writes the resulting convex polygon to out and returns its
// vertex count: 0 when nothing is left, otherwise 3 to kMaxClipVertices. An edge shared by two
// triangles is cut at the same points in both, so clipped neighbours still meet exactly.
int ClipTriangle(const VertexStage& stage, const ClipVertex (&triangle)[3],
                 ClipVertex (&out)[kMaxClipVertices]);

// Clips a line to the clip volume in place. Returns false when nothing is left.
bool ClipLine(const VertexStage& stage, ClipVertex& a, ClipVertex& b);

// Maps a clipped vertex to the screen. Returns false for a position that cannot be drawn (w not
// positive, or a non-finite or absurdly large result), in which case the primitive is dropped.
// The attributes come out finite: q = 1/w from a w kept within 2^±40, texture coordinates within
// ±2^20 (a NaN becomes 0).
bool ToScreen(const VertexStage& stage, const ClipVertex& vertex, ScreenVertex& out);

// Whether the cull mode drops the polygon of `count` screen vertices, by the sign of its area:
// positive when its corners run clockwise on the screen, whose y points down. With culling on, a
// polygon of no area is dropped too; it has no winding to be kept for.
bool Culled(CullMode cull, const ScreenVertex* polygon, int count);

}  // namespace platform::raster
