#include "fuzz/device_input.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace device_fuzz {
namespace {

using Limits = std::numeric_limits<float>;

// Values where arithmetic goes wrong: signed zeros, NaNs, infinities, the extremes, denormals,
// numbers that vanish or overflow once multiplied, and the screen's own sizes.
const float kSpecialFloats[32] = {0.0f,
                                  -0.0f,
                                  1.0f,
                                  -1.0f,
                                  0.5f,
                                  2.0f,
                                  Limits::quiet_NaN(),
                                  -Limits::quiet_NaN(),
                                  Limits::infinity(),
                                  -Limits::infinity(),
                                  Limits::max(),
                                  -Limits::max(),
                                  Limits::min(),
                                  Limits::denorm_min(),
                                  1e-40f,
                                  -1e-40f,
                                  1e30f,
                                  -1e30f,
                                  1e-7f,
                                  1e-30f,
                                  640.0f,
                                  480.0f,
                                  320.0f,
                                  240.0f,
                                  0.75f,
                                  -0.75f,
                                  1.5f,
                                  1e7f,
                                  16777216.0f,
                                  0.99999994f,
                                  1.0000001f,
                                  150.0f};

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool AtEnd() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint32_t Raw32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t{Byte()} << (8 * i);
    return value;
  }
  float Float() {
    const std::uint8_t tag = Byte();
    if (tag < 32) {
      last_ = kSpecialFloats[tag];
    } else if (tag < 192) {
      last_ = static_cast<float>(tag - 112) / 8.0f;
    } else if (tag < 224) {
      // A few units in the last place beside the float before: just on either side of a
      // clip plane, or an edge that is nearly a point.
      last_ = std::bit_cast<float>(std::bit_cast<std::uint32_t>(last_) + (tag - 207));
    } else {
      last_ = std::bit_cast<float>(Raw32());
    }
    return last_;
  }
  DWORD Word() {
    const std::uint8_t tag = Byte();
    if (tag < 64) return tag;
    if (tag < 128) return std::bit_cast<DWORD>(static_cast<float>(tag - 64));
    return Raw32();
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
  float last_ = 0.0f;
};

int TexelBytes(int format) {
  if (format == 0) return 1;
  return format >= 5 ? 4 : 2;
}

TextureInput DecodeTexture(Reader& in, int format) {
  TextureInput texture;
  texture.format = format;
  texture.width = in.Byte() % 32 + 1;
  texture.height = in.Byte() % 32 + 1;
  texture.texels.resize(static_cast<std::size_t>(texture.width) * texture.height *
                        TexelBytes(format));
  const std::uint8_t low = in.Byte();
  std::vector<std::uint8_t> pattern(
      std::min<std::size_t>(low | in.Byte() << 8, texture.texels.size()));
  for (std::uint8_t& byte : pattern) byte = in.Byte();
  for (std::size_t i = 0; i < texture.texels.size() && !pattern.empty(); ++i) {
    texture.texels[i] = pattern[i % pattern.size()];
  }
  if (format == 0) {
    const int given = in.Byte();
    for (int i = 0; i < 256; ++i) {
      const auto grey = static_cast<BYTE>(i);
      texture.palette[i] = PALETTEENTRY{grey, grey, grey, 0};
      if (i < given) texture.palette[i] = PALETTEENTRY{in.Byte(), in.Byte(), in.Byte(), 0};
    }
  }
  if (in.Byte() % 2 == 1) texture.colourKey = in.Word();
  return texture;
}

D3DMATRIX DecodeMatrix(Reader& in) {
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const std::uint8_t mode = in.Byte();
  if (mode % 2 == 1) {
    for (float& entry : m) entry = in.Float();
  } else {
    for (int replaced = 0; replaced < mode / 2 % 8; ++replaced) {
      const int index = in.Byte() % 16;
      m[index] = in.Float();
    }
  }
  return std::bit_cast<D3DMATRIX>(m);
}

D3DVIEWPORT2 DecodeViewport(Reader& in) {
  D3DVIEWPORT2 viewport{};
  viewport.dwSize = D3DVIEWPORT2_SIZE;
  viewport.dwX = in.Word();
  viewport.dwY = in.Word();
  viewport.dwWidth = in.Word();
  viewport.dwHeight = in.Word();
  viewport.dvClipX = in.Float();
  viewport.dvClipY = in.Float();
  viewport.dvClipWidth = in.Float();
  viewport.dvClipHeight = in.Float();
  viewport.dvMinZ = in.Float();
  viewport.dvMaxZ = in.Float();
  return viewport;
}

D3DLVERTEX DecodeVertex(Reader& in, const std::vector<D3DLVERTEX>& earlier) {
  const std::uint8_t mask = in.Byte();
  D3DLVERTEX v{};
  v.color = 0xFFFFFFFF;
  if ((mask & 0x80) != 0 && !earlier.empty()) v = earlier[in.Byte() % earlier.size()];
  if (mask & 0x01) v.x = in.Float();
  if (mask & 0x02) v.y = in.Float();
  if (mask & 0x04) v.z = in.Float();
  if (mask & 0x08) v.color = in.Word();
  if (mask & 0x10) v.specular = in.Word();
  if (mask & 0x20) v.tu = in.Float();
  if (mask & 0x40) v.tv = in.Float();
  return v;
}

Command DecodeDraw(Reader& in) {
  Command draw;
  draw.kind = Command::Kind::Draw;
  const std::uint8_t primitive = in.Byte();
  draw.state = primitive % 8 == 7   ? D3DPT_POINTLIST
               : primitive % 2 == 1 ? D3DPT_LINELIST
                                    : D3DPT_TRIANGLELIST;
  const int count = in.Byte() % (kMaxVertices + 1);
  for (int i = 0; i < count; ++i) draw.vertices.push_back(DecodeVertex(in, draw.vertices));
  return draw;
}

}  // namespace

DeviceInput DecodeDeviceInput(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  DeviceInput input;
  static constexpr float kScales[4] = {1.0f, 2.0f, 2.25f, 3.0f};
  const int display = in.Byte();
  input.scale = kScales[display % 4];
  input.wide = display / 4 % 2 != 0;
  input.threads = std::min(display / 8 % 4 + 1, 3);
  input.threadsOnReference = display / 32 % 2 != 0;
  const int format = in.Byte() % 8;
  if (format < 7) input.texture = DecodeTexture(in, format);
  const std::uint8_t low = in.Byte();
  input.clearColour = static_cast<std::uint16_t>(low | in.Byte() << 8);
  input.viewport = DecodeViewport(in);
  int draws = 0;
  while (!in.AtEnd() && input.commands.size() < kMaxCommands && draws < kMaxDraws) {
    Command command;
    switch (in.Byte() % 5) {
      case 0:
        command.kind = Command::Kind::RenderState;
        command.state = in.Byte() % 52;
        command.value = in.Word();
        break;
      case 1:
        command.kind = Command::Kind::LightState;
        command.state = in.Byte() % 9;
        command.value = in.Word();
        break;
      case 2:
        command.kind = Command::Kind::Transform;
        command.state = in.Byte() % 4;
        command.matrix = DecodeMatrix(in);
        break;
      case 3:
        command.kind = Command::Kind::Viewport;
        command.viewport = DecodeViewport(in);
        break;
      default:
        command = DecodeDraw(in);
        ++draws;
        break;
    }
    input.commands.push_back(std::move(command));
  }
  return input;
}

}  // namespace device_fuzz
