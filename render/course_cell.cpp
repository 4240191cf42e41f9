#include "render/course_cell.h"

#include "math/matrix4.h"
#include "platform/api/d3d.h"
#include "record/course_grid.h"
#include "record/game_globals.h"
#include "render/d3d_matrix.h"

namespace {

// The floor samples the upper half of the one texture, inset by 0.01 from its edges.
constexpr float kInsetLow = 0.01f;
constexpr float kInsetHigh = 0.99f;
constexpr float kFloorBottom = 0.49f;
constexpr D3DCOLOR kWhite = 0xFFFFFFFFu;
constexpr D3DCOLOR kOutlineGreen = 0xFF00FF00u;
constexpr D3DCOLOR kOutlineSpecular = 0xFFFFFF38u;
constexpr float kSize = 30.0f;

D3DLVERTEX Vertex(float x, float y, float z, D3DCOLOR diffuse, D3DCOLOR specular, float tu,
                  float tv) {
  return D3DLVERTEX{x, y, z, 0, diffuse, specular, tu, tv};
}

// Path cells get no specular colour; the goal's value makes its floor glow red. The product is
// not limited to a byte: what spills into the alpha byte vanishes in the OR.
D3DCOLOR FloorSpecular(std::int32_t value) {
  return 0xFF000000u | ((static_cast<std::uint32_t>(value) - 1u) * 255u << 16);
}

// Two triangles sharing the edge from (30, 0, 0) to (0, 0, 30); culling is off, so their
// windings don't matter.
void BuildFloor(D3DLVERTEX (&floor)[6], D3DCOLOR specular) {
  floor[0] = Vertex(kSize, 0, kSize, kWhite, specular, kInsetHigh, kInsetLow);
  floor[1] = Vertex(0, 0, kSize, kWhite, specular, kInsetLow, kInsetLow);
  floor[2] = Vertex(kSize, 0, 0, kWhite, specular, kInsetHigh, kFloorBottom);
  floor[3] = Vertex(kSize, 0, 0, kWhite, specular, kInsetHigh, kFloorBottom);
  floor[4] = Vertex(0, 0, kSize, kWhite, specular, kInsetLow, kInsetLow);
  floor[5] = Vertex(0, 0, 0, kWhite, specular, kInsetLow, kFloorBottom);
}

// The four vertical edges and the top square of a 30-unit cube; the floor stands in for the
// bottom edges. Texture coordinates are 0, where the texture's corner texel is white.
void BuildOutline(D3DLVERTEX (&outline)[16]) {
  const float ends[8][2][3] = {
      {{0, 0, 0}, {0, kSize, 0}},
      {{0, kSize, 0}, {0, kSize, kSize}},
      {{0, kSize, kSize}, {0, 0, kSize}},
      {{0, kSize, kSize}, {kSize, kSize, kSize}},
      {{kSize, kSize, kSize}, {kSize, 0, kSize}},
      {{kSize, kSize, kSize}, {kSize, kSize, 0}},
      {{kSize, kSize, 0}, {kSize, 0, 0}},
      {{0, kSize, 0}, {kSize, kSize, 0}},
  };
  for (int segment = 0; segment < 8; ++segment) {
    for (int end = 0; end < 2; ++end) {
      const float* p = ends[segment][end];
      outline[segment * 2 + end] =
          Vertex(p[0], p[1], p[2], kOutlineGreen, kOutlineSpecular, 0.0f, 0.0f);
    }
  }
}

void SetCellTransform(IDirect3DDevice2* device, std::int32_t row, std::int32_t column) {
  Matrix4 world;
  SetTranslation(world, static_cast<float>(column * 30), 0.0f, static_cast<float>(row * 30));
  D3DMATRIX matrix = ToDeviceMatrix(world);
  device->SetTransform(D3DTRANSFORMSTATE_WORLD, &matrix);
}

}  // namespace

void DrawCourseCell(std::int32_t row, std::int32_t column, std::int32_t value) {
  IDirect3DDevice2* device = globals.device;
  D3DLVERTEX floor[6];
  BuildFloor(floor, FloorSpecular(value));
  SetCellTransform(device, row, column);
  device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_LVERTEX, floor, 6, D3DDP_WAIT);

  D3DLVERTEX outline[16];
  BuildOutline(outline);
  SetCellTransform(device, row, column);
  device->DrawPrimitive(D3DPT_LINELIST, D3DVT_LVERTEX, outline, 16, D3DDP_WAIT);
}
