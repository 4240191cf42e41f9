// The device fuzzer's input, decoded: a texture, a clear colour, and what is done between
// BeginScene and EndScene, decoded once and then played on both devices.
//
// The bytes are read front to back; past the end every read is 0. Layout:
//   display   byte: the render scale (% 4: 1, 2, 2.25 or 3) and the view (/ 4 % 2: the
//             game's 4:3, or wide on a 16:9 display) both devices draw at; the threads one of
//             them draws on (/ 8 % 4: 1, 2, 3, or 3 again), the optimised one or (/ 32 % 2) the
//             reference one, while the other draws on one
//   texture   format byte (% 8: the seven texture formats in the devices' order, 7 for none),
//             width byte, height byte (each % 32 + 1), a pattern length (two bytes, little-
//             endian, at most the texels' size) and that many bytes (tiled over the texels,
//             zeros without), for the 8-bit format a count byte and that
//             many RGB triples (the first palette entries; the rest a grey ramp), key byte (odd:
//             a DDCKEY_SRCBLT colour key, the word that follows)
//   clear     two bytes, little-endian: the RGB 565 colour both back buffers are filled with
//   viewport  as for a viewport command below
//   commands  until the bytes run out, at most 64 of them and 8 draws; an op byte (% 5):
//     0 SetRenderState   state byte (% 52: 0 and 50, 51 are refused), word
//     1 SetLightState    state byte (% 9: 0 and 8 are refused), word
//     2 SetTransform     kind byte (% 4: 0 is refused), matrix
//     3 SetViewport2     viewport
//     4 DrawPrimitive    primitive byte (% 8 == 7: a point list, refused; odd: a line list;
//                        even: a triangle list), count byte (% 49), that many vertices
// A word is a tag byte: below 64 the tag itself (the states' enumerations, 1 naming the texture
// for D3DRENDERSTATE_TEXTUREHANDLE), below 128 the bits of the float of tag - 64, else the next
// four bytes little-endian. A float is a tag byte: below 32 one of the special values (zeros,
// ones, NaNs, infinities, extremes, denormals, screen sizes...), below 192 (tag - 112) / 8,
// below 224 the float read before with tag - 207 added to its bits (a few units in the last
// place beside it), else the next four bytes as they lie. A matrix is a byte m: even, the identity
// with m / 2 % 8 entries replaced (an index byte % 16 and a float each); odd, sixteen floats. A
// viewport is x, y, width, height as words and clip x, y, width, height, min z, max z as floats. A
// vertex is a mask byte: with 0x80 it starts as an earlier vertex of the draw (an index byte), else
// as white at the origin; bits 0-6 read x, y, z (floats), diffuse, specular (words), tu, tv.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/api/d3d.h"

namespace device_fuzz {

constexpr int kMaxCommands = 64;
constexpr int kMaxDraws = 8;
constexpr int kMaxVertices = 48;
// The value of D3DRENDERSTATE_TEXTUREHANDLE that names the input's texture.
constexpr DWORD kTextureWord = 1;

struct TextureInput {
  int format = 0;  // index into the devices' texture formats
  int width = 1;
  int height = 1;
  std::vector<std::uint8_t> texels;  // height rows of width × bytes-per-texel bytes
  PALETTEENTRY palette[256] = {};
  std::optional<DWORD> colourKey;
};

struct Command {
  enum class Kind { RenderState, LightState, Transform, Viewport, Draw };
  Kind kind = Kind::RenderState;
  DWORD state = 0;  // the render, light or transform state; the primitive of a draw
  DWORD value = 0;
  D3DMATRIX matrix{};
  D3DVIEWPORT2 viewport{};
  std::vector<D3DLVERTEX> vertices;
};

struct DeviceInput {
  float scale = 1.0f;
  bool wide = false;
  int threads = 1;                  // the drawing threads of one device
  bool threadsOnReference = false;  // which: the reference one, or the optimised one
  std::optional<TextureInput> texture;
  std::uint16_t clearColour = 0;
  D3DVIEWPORT2 viewport{};
  std::vector<Command> commands;
};

DeviceInput DecodeDeviceInput(const std::uint8_t* data, std::size_t size);

}  // namespace device_fuzz
