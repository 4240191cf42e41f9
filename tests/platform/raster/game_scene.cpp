#include "tests/platform/raster/game_scene.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <vector>

namespace raster_test {

using namespace platform::raster;

namespace {

std::uint32_t ReadLe32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// Reads a 256 × 256, 24-bit, bottom-up BMP into the texture; false for anything else.
bool LoadTextureBmp(TestTexture& texture) {
  std::ifstream file(TIRRAVEL_SOURCE_DIR "/assets/Texture.bmp", std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                        std::istreambuf_iterator<char>());
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
  const std::uint32_t offset = ReadLe32(bytes, 10);
  if (ReadLe32(bytes, 18) != 256 || ReadLe32(bytes, 22) != 256 || bytes[28] != 24) return false;
  if (bytes.size() < offset + 256u * 256u * 3u) return false;
  for (int row = 0; row < 256; ++row) {
    const std::size_t source = offset + static_cast<std::size_t>(255 - row) * 256 * 3;
    for (int x = 0; x < 256; ++x) {
      const std::uint8_t* bgr = &bytes[source + x * 3];
      texture.Set(x, row, std::uint32_t{bgr[2]} << 16 | std::uint32_t{bgr[1]} << 8 | bgr[0]);
    }
  }
  return true;
}

// Stone-grey squares above, a red wing shape on black below, white at the top-left texel.
void PaintStandIn(TestTexture& texture) {
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      std::uint32_t colour;
      if (y < 128) {
        const std::uint32_t grey = 90 + ((x / 16 + y / 16) % 2) * 60 + (x * 7 + y * 3) % 23;
        colour = grey << 16 | grey << 8 | (grey - 20);
      } else {
        const int dx = x - 128, dy = y - 192;
        colour = dx * dx + dy * dy * 3 < 110 * 110 ? 0xC03020u + (x % 32) : 0;
      }
      texture.Set(x, y, colour);
    }
  }
  texture.Set(0, 0, 0xFFFFFF);
}

Matrix Translation(float x, float y, float z) {
  Matrix m = IdentityMatrix();
  m.m[12] = x;
  m.m[13] = y;
  m.m[14] = z;
  return m;
}

Matrix RotationZ(float angle) {
  Matrix m = IdentityMatrix();
  const float c = static_cast<float>(std::cos(angle)), s = static_cast<float>(std::sin(angle));
  m.m[0] = c;
  m.m[1] = s;
  m.m[4] = -s;
  m.m[5] = c;
  return m;
}

LitVertex Vertex(float x, float y, float z, std::uint32_t diffuse, std::uint32_t specular, float tu,
                 float tv) {
  return LitVertex{x, y, z, 0, diffuse, specular, tu, tv};
}

// Draws a list at once, or keeps it in the queue.
void Triangles(const RasterContext& context, std::span<const LitVertex> list, DrawQueue* keep) {
  if (keep) {
    keep->AddTriangleList(context, list);
  } else {
    DrawTriangleList(context, list);
  }
}

void Lines(const RasterContext& context, std::span<const LitVertex> list, DrawQueue* keep) {
  if (keep) {
    keep->AddLineList(context, list);
  } else {
    DrawLineList(context, list);
  }
}

void DrawCell(RasterContext& context, int row, int column, int value, DrawQueue* keep) {
  const std::uint32_t s = 0xFF000000u | (static_cast<std::uint32_t>(value - 1) * 255u) << 16;
  const LitVertex floor[6] = {
      Vertex(30, 0, 30, 0xFFFFFFFF, s, 0.99f, 0.01f), Vertex(0, 0, 30, 0xFFFFFFFF, s, 0.01f, 0.01f),
      Vertex(30, 0, 0, 0xFFFFFFFF, s, 0.99f, 0.49f),  Vertex(30, 0, 0, 0xFFFFFFFF, s, 0.99f, 0.49f),
      Vertex(0, 0, 30, 0xFFFFFFFF, s, 0.01f, 0.01f),  Vertex(0, 0, 0, 0xFFFFFFFF, s, 0.01f, 0.49f)};
  const float corners[16][3] = {{0, 0, 0},    {0, 30, 0},  {0, 30, 0},   {0, 30, 30},
                                {0, 30, 30},  {0, 0, 30},  {0, 30, 30},  {30, 30, 30},
                                {30, 30, 30}, {30, 0, 30}, {30, 30, 30}, {30, 30, 0},
                                {30, 30, 0},  {30, 0, 0},  {0, 30, 0},   {30, 30, 0}};
  LitVertex outline[16];
  for (int i = 0; i < 16; ++i) {
    outline[i] = Vertex(corners[i][0], corners[i][1], corners[i][2], 0xFF00FF00, 0xFFFFFF38, 0, 0);
  }
  context.world = Translation(static_cast<float>(column * 30), 0, static_cast<float>(row * 30));
  Triangles(context, floor, keep);
  Lines(context, outline, keep);
}

// A pattern of gaps over the whole grid (the start cell, row 1 column 1, is floor), with the
// goal cell where the game has it.
int CellValue(int row, int column) {
  if (row == 16 && column == 18) return 200;
  return (row * 7 + column * 3) % 5 == 2 ? 0 : 1;
}

}  // namespace

GameScene::GameScene() : texture(256, 256, TextureFormat::Xrgb8888) {
  if (!LoadTextureBmp(texture)) PaintStandIn(texture);
  texture.hasColourKey = true;
  texture.colourKey = 0;
}

void GameScene::Draw(RasterContext context, float wingAngle, DrawQueue* keep) const {
  context.texture = texture.View();
  for (int row = 0; row < 20; ++row) {
    for (int column = 0; column < 20; ++column) {
      if (CellValue(row, column) != 0) DrawCell(context, row, column, CellValue(row, column), keep);
    }
  }
  const LitVertex wing[6] = {Vertex(0, 3, 3, 0xFFFFFFFF, 0xFF000000, 0.99f, 0.51f),
                             Vertex(0, 3, 0, 0xFFFFFFFF, 0xFF000000, 0.01f, 0.51f),
                             Vertex(0, 0, 3, 0xFFFFFFFF, 0xFF000000, 0.99f, 0.99f),
                             Vertex(0, 0, 3, 0xFFFFFFFF, 0xFF000000, 0.99f, 0.99f),
                             Vertex(0, 3, 0, 0xFFFFFFFF, 0xFF000000, 0.01f, 0.51f),
                             Vertex(0, 0, 0, 0xFFFFFFFF, 0xFF000000, 0.01f, 0.99f)};
  const Matrix position = Translation(45, 0, 45);
  context.world = Multiply(RotationZ(wingAngle), position);
  Triangles(context, wing, keep);
  context.world = Multiply(RotationZ(-wingAngle), position);
  Triangles(context, wing, keep);
}

RasterContext GameSceneContext(Canvas& canvas, const float eye[3], const float target[3],
                               bool bilinear, RasterPath path) {
  RasterContext context = GameContext(canvas, eye, target);
  context.path = path;
  context.colourKeyEnable = true;
  context.perspective = true;
  context.blendEnable = true;
  context.destBlend = BlendFactor::InvSrcAlpha;
  context.fogEnable = true;
  context.fogColour = 0xFF000000;
  context.fogMode = FogMode::Linear;
  context.fogStart = 10.1f;
  context.fogEnd = 50.0f;
  context.minFilter = bilinear ? TextureFilter::Bilinear : TextureFilter::Point;
  return context;
}

}  // namespace raster_test
