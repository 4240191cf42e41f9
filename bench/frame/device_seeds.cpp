#include "bench/frame/device_seeds.h"

#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>

namespace bench {
namespace {

using capture::Command;
using Kind = capture::Command::Kind;
using Bytes = std::vector<std::uint8_t>;

constexpr int kSeedTextureSize = 16;
constexpr std::uint8_t kRawTag = 0xFF;  // a word or float follows as its four bytes

// Where a draw's vertex lands in clip space: x, y and w, in double precision.
struct ClipPosition {
  double x = 0.0;
  double y = 0.0;
  double w = 0.0;
};
using Matrix = std::array<double, 16>;

void Append(Bytes& out, std::initializer_list<std::uint8_t> bytes) {
  out.insert(out.end(), bytes);
}
void RawWord(Bytes& out, std::uint32_t value) {
  Append(out, {kRawTag, static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
               static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}
// The floats of a record as they lie, each behind the raw tag.
void RawFloats(Bytes& out, const void* floats, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, static_cast<const std::uint8_t*>(floats) + 4 * i, 4);
    RawWord(out, bits);
  }
}

// The texture scaled to 16 x 16 by taking every n-th texel, with its palette and key.
void EncodeTexture(Bytes& out, const capture::CapturedTexture& texture) {
  const int size = platform::raster::TexelBytes(texture.format);
  const int stepX = texture.width / kSeedTextureSize;
  const int stepY = texture.height / kSeedTextureSize;
  Bytes texels;
  for (int y = 0; y < kSeedTextureSize; ++y) {
    for (int x = 0; x < kSeedTextureSize; ++x) {
      const std::size_t at =
          (static_cast<std::size_t>(y * stepY) * texture.width + x * stepX) * size;
      texels.insert(texels.end(), texture.texels.begin() + at, texture.texels.begin() + at + size);
    }
  }
  Append(out,
         {static_cast<std::uint8_t>(texture.format), kSeedTextureSize - 1, kSeedTextureSize - 1,
          static_cast<std::uint8_t>(texels.size()), static_cast<std::uint8_t>(texels.size() >> 8)});
  out.insert(out.end(), texels.begin(), texels.end());
  if (texture.format == platform::raster::TextureFormat::Palette8) {
    Append(out, {255});
    for (std::size_t i = 0; i < 255 && i < texture.palette.size(); ++i) {
      const std::uint32_t colour = texture.palette[i];
      Append(out, {static_cast<std::uint8_t>(colour >> 16), static_cast<std::uint8_t>(colour >> 8),
                   static_cast<std::uint8_t>(colour)});
    }
  }
  Append(out, {texture.hasColourKey ? std::uint8_t{1} : std::uint8_t{0}});
  if (texture.hasColourKey) RawWord(out, texture.colourKey);
}

void EncodeViewport(Bytes& out, const D3DVIEWPORT2& viewport) {
  for (const DWORD word : {viewport.dwX, viewport.dwY, viewport.dwWidth, viewport.dwHeight}) {
    RawWord(out, word);
  }
  RawFloats(out, &viewport.dvClipX, 6);
}

void EncodeCommand(Bytes& out, const capture::Capture& capture, const Command& command) {
  const auto a = static_cast<std::uint8_t>(command.a);
  switch (command.kind) {
    case Kind::RenderState:
      Append(out, {0, a});
      if (command.a == D3DRENDERSTATE_TEXTUREHANDLE && command.b == 1) {
        Append(out, {1});  // the input's texture
      } else {
        RawWord(out, command.b);
      }
      return;
    case Kind::LightState:
      Append(out, {1, a});
      RawWord(out, command.b);
      return;
    case Kind::Transform:
      Append(out, {2, a, 1});
      RawFloats(out, &capture.matrices[command.b], 16);
      return;
    case Kind::Viewport:
      Append(out, {3});
      EncodeViewport(out, capture.viewports[command.b]);
      return;
    case Kind::Draw:
      Append(out, {4, command.a == D3DPT_TRIANGLELIST ? std::uint8_t{0} : std::uint8_t{1},
                   static_cast<std::uint8_t>(command.c)});
      for (std::uint32_t i = 0; i < command.c; ++i) {
        // Every field but the reserved word: x, y, z, diffuse, specular, tu, tv.
        const D3DLVERTEX& vertex = capture.vertices[command.b + i];
        Append(out, {0x7F});
        RawFloats(out, &vertex.x, 3);
        RawWord(out, vertex.color);
        RawWord(out, vertex.specular);
        RawFloats(out, &vertex.tu, 2);
      }
      return;
  }
}

Matrix ToMatrix(const D3DMATRIX& matrix) {
  float values[16];
  std::memcpy(values, &matrix, sizeof values);
  Matrix result;
  for (int i = 0; i < 16; ++i) result[i] = values[i];
  return result;
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix product;
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += a[row * 4 + k] * b[k * 4 + column];
      product[row * 4 + column] = sum;
    }
  }
  return product;
}

std::vector<ClipPosition> ClipPositions(const capture::Capture& capture, const Matrix& world,
                                        const Matrix& view, const Matrix& projection,
                                        const Command& draw) {
  const Matrix m = Multiply(Multiply(world, view), projection);
  std::vector<ClipPosition> positions;
  for (std::uint32_t i = 0; i < draw.c; ++i) {
    const D3DLVERTEX& vertex = capture.vertices[draw.b + i];
    const double x = vertex.x;
    const double y = vertex.y;
    const double z = vertex.z;
    const auto along = [&](int column) {
      return x * m[column] + y * m[4 + column] + z * m[8 + column] + m[12 + column];
    };
    positions.push_back({along(0), along(1), along(3)});
  }
  return positions;
}

// In front of the camera, some of it on the screen.
bool InSight(const std::vector<ClipPosition>& positions) {
  bool onScreen = false;
  for (const ClipPosition& p : positions) {
    if (!(p.w > 0)) return false;
    onScreen = onScreen || (std::abs(p.x) < p.w && std::abs(p.y) < 0.75 * p.w);
  }
  return onScreen;
}

bool CrossesNearPlane(const std::vector<ClipPosition>& positions) {
  bool front = false;
  bool behind = false;
  for (const ClipPosition& p : positions) {
    front = front || p.w > 0;
    behind = behind || p.w <= 0;
  }
  return front && behind;
}

using Wanted = std::function<bool(const Command&, const std::vector<ClipPosition>&)>;

// One frame's opening states, then the draws `wanted` picks (at most `mostDraws`), each after the
// world transform it is drawn with; nothing when no draw is picked.
std::optional<Bytes> FrameSeed(const capture::Capture& capture, const capture::Frame& frame,
                               const Wanted& wanted, int mostDraws = 8) {
  Bytes out;
  EncodeTexture(out, capture.textures.front());
  Append(out, {static_cast<std::uint8_t>(frame.clearColour),
               static_cast<std::uint8_t>(frame.clearColour >> 8)});
  for (const Command& command : frame.commands) {
    if (command.kind != Kind::Viewport) continue;
    EncodeViewport(out, capture.viewports[command.b]);
    break;
  }
  std::array<std::optional<Matrix>, 4> matrices;  // by transform state: world, view, projection
  const Command* pendingWorld = nullptr;
  int draws = 0;
  for (const Command& command : frame.commands) {
    const bool transform = command.kind == Kind::Transform;
    if (transform && command.a == D3DTRANSFORMSTATE_WORLD) {
      pendingWorld = &command;
      matrices[command.a] = ToMatrix(capture.matrices[command.b]);
    } else if (command.kind != Kind::Draw) {
      if (draws == 0) EncodeCommand(out, capture, command);
      if (transform && command.a < matrices.size()) {
        matrices[command.a] = ToMatrix(capture.matrices[command.b]);
      }
    } else if (draws < mostDraws && matrices[1] && matrices[2] && matrices[3] &&
               wanted(command,
                      ClipPositions(capture, *matrices[1], *matrices[2], *matrices[3], command))) {
      if (pendingWorld) EncodeCommand(out, capture, *pendingWorld);
      pendingWorld = nullptr;
      EncodeCommand(out, capture, command);
      ++draws;
    }
  }
  if (draws == 0) return std::nullopt;
  return out;
}

}  // namespace

std::vector<DeviceSeed> DeviceSeeds(const capture::Capture& capture) {
  std::vector<DeviceSeed> seeds;
  if (capture.frames.empty() || capture.textures.empty()) return seeds;
  // The course's cell is the first frame's first draw; its outline follows six vertices on.
  std::optional<std::uint32_t> cell;
  for (const Command& command : capture.frames.front().commands) {
    if (command.kind == Kind::Draw) {
      cell = command.b;
      break;
    }
  }
  if (!cell) return seeds;
  const auto isCell = [cell](const Command& command) {
    return command.kind == Kind::Draw && (command.b == *cell || command.b == *cell + 6);
  };
  const auto add = [&seeds](const char* what, std::size_t index, std::optional<Bytes> bytes) {
    if (bytes)
      seeds.push_back({std::string("title_") + what + "_" + std::to_string(index), *bytes});
  };
  const std::size_t count = capture.frames.size();
  for (const std::size_t index : {std::size_t{0}, count / 3, 2 * count / 3}) {
    const capture::Frame& frame = capture.frames[index];
    int seen = 0;  // a cell and its outline in sight: three such pairs
    add("cells", index,
        FrameSeed(capture, frame, [&](const Command& command, const auto& positions) {
          return isCell(command) && InSight(positions) && ++seen <= 6;
        }));
    if (index != count / 3) {
      add("wings", index, FrameSeed(capture, frame, [&](const Command& command, const auto&) {
            return !isCell(command);
          }));
    }
    if (index != 0) {  // the first frame's camera sees no cell through the near plane
      add("near_plane", index,
          FrameSeed(
              capture, frame,
              [&](const Command& command, const auto& positions) {
                return isCell(command) && CrossesNearPlane(positions);
              },
              2));
    }
  }
  // Each seed starts with its display byte, so that the seeds spread over the render scales,
  // views and drawing threads the fuzzer draws with.
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    seeds[i].bytes.insert(seeds[i].bytes.begin(), static_cast<std::uint8_t>(i * 3 % 64));
  }
  return seeds;
}

}  // namespace bench
