// The software rasterizer behind the 3-D devices: it transforms, clips and draws lists of lit
// triangles and lines into a 16-bit RGB 565 picture through the fixed-function pixel pipeline
// (texture, colour key, modulate, specular, fog, blend). Standard C++ (the optimised path's span
// kernel on the compiler's SSE2 and AVX2 intrinsics, the AVX2 build chosen at run time where the
// processor has it) and deterministic: the same context and vertices draw the same pixels on every
// run, on both paths and with either instruction set.
//
// Who changes what: the 3-D device owns one RasterContext and writes its fields as Direct3D
// states, transforms and viewports arrive; the rasterizer only reads the context during a draw.
//
// How it draws (the choices the device's documentation leaves open):
// - Geometry: model → clip space by world · view · projection; clipped in homogeneous space
//   against depth 0 and 1 and the viewport's clip volume; mapped to the viewport. Screen
//   positions are snapped to 1/256 pixel. There is no depth buffer: depth only clips.
// - Triangles (the windings the cull mode keeps, judged on the clipped polygon): pixel centres
//   lie at integer coordinates and a pixel is drawn when its centre is inside, by exact integer
//   edge functions; centres exactly on an edge go to the triangle on its top or left side only,
//   so a mesh covers each pixel once.
// - Lines: one pixel per step along the longer axis, from the pixel nearest the first end to
//   the pixel nearest the last, both drawn; each pixel on the line's exact minor coordinate,
//   rounded (halves up). A line w pixels wide is w such lines side by side across its minor
//   axis, each lengthened by w − 1 pixels along its major axis (w / 2 of them before the first
//   end), so it covers what one pixel of a picture w times smaller would.
// - Interpolation: texture coordinates and the fog factor are perspective-correct when
//   perspective is on (linear on the screen when it is off); diffuse and specular colours are
//   linear on the screen (Gouraud) or the first vertex's (flat).
// - Fog is linear vertex fog on the view-space depth, computed per vertex and interpolated.
// - Filters: per pixel, the minification filter applies where one screen step (across or down)
//   moves more than one texel, the magnification filter elsewhere. Bilinear weights are 8-bit.
// - The colour-key test looks at the nearest texel, whatever the filter.
// - Arithmetic per pixel is integer on 8-bit channels: modulate and blend products are
//   x · y / 255 correctly rounded (white leaves a colour exactly as it is), specular adds
//   saturate, fog mixes with a weight of 0…256; RGB 565 is written by truncation (no dither) and
//   read for blending by bit replication. Exact formulas: pixel_math.h.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace platform::raster {

// Sixteen floats, row-major, element (row, col) at m[row * 4 + col]: the layout of D3DMATRIX.
// Points are row vectors (p' = p · M) and translation lives in row 3.
struct Matrix {
  float m[16];
};

// The identity matrix.
Matrix IdentityMatrix();
// a · b (a applied first), each element summed left to right in single precision.
Matrix Multiply(const Matrix& a, const Matrix& b);

// A lit vertex with the layout of D3DLVERTEX (32 bytes), so the device can pass the game's
// vertex arrays straight through.
struct LitVertex {
  float x, y, z;           // model-space position
  std::uint32_t reserved;  // ignored
  std::uint32_t diffuse;   // ARGB, alpha in the top byte
  std::uint32_t specular;  // ARGB; only red, green and blue are used
  float tu, tv;            // texture coordinates; (0, 0) is the top-left corner of the texture
};
static_assert(sizeof(LitVertex) == 32);

// The members of D3DVIEWPORT2 that drawing uses. The screen rectangle is dwX…dwX + dwWidth by
// dwY…dwY + dwHeight pixels; the clip volume is x/w in [dvClipX, dvClipX + dvClipWidth] and y/w
// in [dvClipY − dvClipHeight, dvClipY], mapped onto it with y pointing down. There is no depth
// buffer, so dvMinZ and dvMaxZ change nothing; they are kept so the record reads like the
// device's.
struct Viewport {
  std::uint32_t dwX = 0;
  std::uint32_t dwY = 0;
  std::uint32_t dwWidth = 0;
  std::uint32_t dwHeight = 0;
  float dvClipX = -1.0f;
  float dvClipY = 1.0f;
  float dvClipWidth = 2.0f;
  float dvClipHeight = 2.0f;
  float dvMinZ = 0.0f;
  float dvMaxZ = 1.0f;
};

// How a texel is stored, in the order the software devices offer the formats.
enum class TextureFormat : std::uint8_t {
  Palette8,  // one byte, an index into a 256-colour palette; no alpha
  Rgb565,    // 16 bits: red 0xF800, green 0x07E0, blue 0x001F; no alpha
  Rgb555,    // 16 bits: red 0x7C00, green 0x03E0, blue 0x001F; bit 15 unused
  Argb1555,  // 16 bits: alpha 0x8000 (one bit), red 0x7C00, green 0x03E0, blue 0x001F
  Argb4444,  // 16 bits: alpha 0xF000, red 0x0F00, green 0x00F0, blue 0x000F
  Xrgb8888,  // 32 bits: red 0x00FF0000, green 0x0000FF00, blue 0x000000FF; top byte unused
  Argb8888,  // 32 bits: alpha 0xFF000000, then red, green, blue
};

// The bytes one texel of the format takes in texture memory.
constexpr int TexelBytes(TextureFormat format) {
  switch (format) {
    case TextureFormat::Palette8:
      return 1;
    case TextureFormat::Xrgb8888:
    case TextureFormat::Argb8888:
      return 4;
    default:
      return 2;
  }
}

// A texture as the rasterizer reads it: raw texel memory in its own format. Channels narrower
// than 8 bits are widened by bit replication (r8 = r5 << 3 | r5 >> 2); formats without alpha
// read as opaque.
struct TextureView {
  const std::uint8_t* texels = nullptr;  // height rows, pitch bytes apart, top row first
  int width = 0;                         // 1 to 4096 texels
  int height = 0;                        // 1 to 4096 texels
  int pitch = 0;                         // bytes from one row to the next, ≥ width × texel size
  TextureFormat format = TextureFormat::Rgb565;
  const std::uint32_t* palette = nullptr;  // Palette8 only: 256 colours 0x00RRGGBB (top byte
                                           // ignored)
  bool hasColourKey = false;               // whether a source colour key is set on the texture
  // The key as a raw texel value (a palette index for Palette8). Unused bits of the format (bit
  // 15 of Rgb555, the top byte of Xrgb8888) are ignored on both sides of the comparison.
  std::uint32_t colourKey = 0;
};

// D3DSHADE_PHONG, which the software devices draw as Gouraud, maps to Gouraud.
enum class ShadeMode : std::uint8_t {
  Flat,     // every pixel takes the colours of the primitive's first vertex
  Gouraud,  // colours are interpolated linearly across the screen
};

enum class TextureFilter : std::uint8_t {
  Point,     // the nearest texel (D3DFILTER_NEAREST, and MIPNEAREST without mip levels)
  Bilinear,  // the four nearest texels weighted (D3DFILTER_LINEAR, and MIPLINEAR here)
};

enum class TextureAddress : std::uint8_t {
  Wrap,    // the texture repeats
  Mirror,  // the texture repeats, every other copy mirrored
  Clamp,   // coordinates beyond the edges take the edge texels
};

// How the texel and the interpolated diffuse colour combine (D3DRENDERSTATE_TEXTUREMAPBLEND;
// D3DTBLEND_COPY is Decal here).
enum class TextureBlend : std::uint8_t {
  Decal,          // colour = texel; alpha = texel alpha, or diffuse alpha without one
  Modulate,       // colour = texel × diffuse; alpha = texel alpha, or diffuse alpha without one
  ModulateAlpha,  // colour = texel × diffuse; alpha = texel alpha × diffuse alpha
};

// Blend factors (D3DBLEND_*). The target has no alpha, so destination alpha reads as 1.
// D3DBLEND_BOTHSRCALPHA and BOTHINVSRCALPHA are the pairs SrcAlpha/InvSrcAlpha and
// InvSrcAlpha/SrcAlpha, set by the device on both factors.
enum class BlendFactor : std::uint8_t {
  Zero,
  One,
  SrcColor,
  InvSrcColor,
  SrcAlpha,
  InvSrcAlpha,
  DestAlpha,
  InvDestAlpha,
  DestColor,
  InvDestColor,
  SrcAlphaSat,
};

// Which triangles are dropped by their winding as seen on the screen (y pointing down):
// D3DRENDERSTATE_CULLMODE.
enum class CullMode : std::uint8_t {
  None,              // both windings are drawn (D3DCULL_NONE)
  Clockwise,         // triangles whose corners run clockwise are dropped (D3DCULL_CW)
  CounterClockwise,  // triangles whose corners run counter-clockwise are dropped (D3DCULL_CCW)
};

// The exponential vertex fog modes (D3DFOG_EXP, EXP2) are not drawn: the game never asks for
// them, and the device passes them on as None.
enum class FogMode : std::uint8_t {
  None,    // no fog factor: fog leaves colours alone
  Linear,  // f = (fogEnd − z) / (fogEnd − fogStart) on the view-space depth z, clamped to 0…1;
           // with fogStart equal to fogEnd, a step: f = 0 from fogEnd on, else 1
};

// The picture drawn into: 16-bit RGB 565 pixels.
struct RenderTarget {
  std::uint16_t* pixels = nullptr;  // top row first
  int width = 0;                    // 1 to 8192
  int height = 0;                   // 1 to 8192
  int pitchPixels = 0;              // pixels (not bytes) from one row to the next, ≥ width
};

// The two implementations of the same drawing. Both draw exactly the same pixels.
enum class RasterPath : std::uint8_t {
  Reference,  // pixel by pixel, plainly written: the oracle (the "RGB" device)
  Optimised,  // spans, state-specialised loops, SSE2 or AVX2 (the "MMX" device, the game's)
};

// Everything a draw needs. Defaults are the device's initial states.
struct RasterContext {
  Matrix world = IdentityMatrix();
  Matrix view = IdentityMatrix();
  Matrix projection = IdentityMatrix();
  Viewport viewport;  // must lie inside the target
  RenderTarget target;

  // The devices start with CounterClockwise (D3DCULL_CCW) and pass their state on; the
  // rasterizer's own default draws both windings.
  CullMode cull = CullMode::None;  // D3DRENDERSTATE_CULLMODE

  std::optional<TextureView> texture;        // D3DRENDERSTATE_TEXTUREHANDLE; empty draws untextured
  bool colourKeyEnable = false;              // D3DRENDERSTATE_COLORKEYENABLE
  ShadeMode shadeMode = ShadeMode::Gouraud;  // D3DRENDERSTATE_SHADEMODE
  bool perspective = false;                  // D3DRENDERSTATE_TEXTUREPERSPECTIVE
  TextureFilter magFilter = TextureFilter::Point;      // D3DRENDERSTATE_TEXTUREMAG
  TextureFilter minFilter = TextureFilter::Point;      // D3DRENDERSTATE_TEXTUREMIN
  TextureAddress address = TextureAddress::Wrap;       // D3DRENDERSTATE_TEXTUREADDRESS
  TextureBlend textureBlend = TextureBlend::Modulate;  // D3DRENDERSTATE_TEXTUREMAPBLEND
  bool specularEnable = true;                          // D3DRENDERSTATE_SPECULARENABLE
  bool blendEnable = false;                            // D3DRENDERSTATE_BLENDENABLE
  BlendFactor srcBlend = BlendFactor::One;             // D3DRENDERSTATE_SRCBLEND
  BlendFactor destBlend = BlendFactor::Zero;           // D3DRENDERSTATE_DESTBLEND
  bool fogEnable = false;                              // D3DRENDERSTATE_FOGENABLE
  std::uint32_t fogColour = 0;      // D3DRENDERSTATE_FOGCOLOR, ARGB (alpha unused)
  FogMode fogMode = FogMode::None;  // D3DLIGHTSTATE_FOGMODE
  float fogStart = 0.0f;            // D3DLIGHTSTATE_FOGSTART, view-space depth
  float fogEnd = 1.0f;              // D3DLIGHTSTATE_FOGEND, view-space depth

  RasterPath path = RasterPath::Optimised;
  int lineWidth = 1;  // pixels across a line, 1 to kMaxLineWidth: the render scale's k, rounded
};

inline constexpr int kMaxLineWidth = 64;

// Draws vertices.size() / 3 triangles (vertices 0-1-2, 3-4-5, …; a remainder is ignored), of the
// windings the cull mode keeps. Returns false and draws nothing when the context is unusable: no
// target pixels, a target or texture of impossible size or pitch, a viewport not inside the target
// or with an empty clip volume, a Palette8 texture without palette. A triangle with a non-finite or
// absurdly large position is skipped.
bool DrawTriangleList(const RasterContext& context, std::span<const LitVertex> vertices);

// Draws vertices.size() / 2 lines (0-1, 2-3, …), lineWidth pixels wide, the last pixel included,
// with the same pixel pipeline as triangles. Fails like DrawTriangleList, and for a line width
// out of range.
bool DrawLineList(const RasterContext& context, std::span<const LitVertex> vertices);

}  // namespace platform::raster
