#include "bench/peer/gl_playback.h"

#include <GL/osmesa.h>

#include <bit>

#include "platform/raster/texel.h"

namespace peer {
namespace {

using capture::Command;
using platform::raster::TextureFormat;

// GL 1.2–3.2 names that gl.h may not carry.
constexpr GLenum kBgra = 0x80E1;
constexpr GLenum kColorSum = 0x8458;
constexpr GLenum kMirroredRepeat = 0x8370;
constexpr GLenum kClampToEdge = 0x812F;
constexpr GLenum kFirstVertexConvention = 0x8E4D;
constexpr GLenum kSecondaryColorArray = 0x845E;

// The texels as 8-bit RGBA; with `keyed`, the colour-key texels get alpha 0 and the rest 255.
std::vector<std::uint8_t> Rgba(const capture::CapturedTexture& texture, bool keyed) {
  platform::raster::TextureView view;
  view.texels = texture.texels.data();
  view.width = texture.width;
  view.height = texture.height;
  view.pitch = static_cast<int>(texture.texels.size() / static_cast<std::size_t>(texture.height));
  view.format = texture.format;
  view.palette = texture.palette.empty() ? nullptr : texture.palette.data();
  const std::uint32_t keyMask = platform::raster::TexelKeyMask(texture.format);
  std::vector<std::uint8_t> rgba;
  rgba.reserve(static_cast<std::size_t>(texture.width) * texture.height * 4);
  for (int y = 0; y < texture.height; ++y) {
    for (int x = 0; x < texture.width; ++x) {
      const std::uint32_t raw = platform::raster::ReadRawTexel(view, x, y);
      const std::uint32_t argb = platform::raster::DecodeTexel(texture.format, raw, view.palette);
      std::uint8_t alpha = static_cast<std::uint8_t>(argb >> 24);
      if (keyed) alpha = (raw & keyMask) == (texture.colourKey & keyMask) ? 0 : 255;
      rgba.insert(rgba.end(),
                  {static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
                   static_cast<std::uint8_t>(argb), alpha});
    }
  }
  return rgba;
}

GLuint Upload(const capture::CapturedTexture& texture, bool keyed) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  const std::vector<std::uint8_t> rgba = Rgba(texture, keyed);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texture.width, texture.height, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, rgba.data());
  return name;
}

GLint FilterOf(DWORD filter) {
  return filter == D3DFILTER_NEAREST || filter == D3DFILTER_MIPNEAREST ? GL_NEAREST : GL_LINEAR;
}

GLint AddressOf(DWORD address) {
  if (address == D3DTADDRESS_MIRROR) return kMirroredRepeat;
  if (address == D3DTADDRESS_CLAMP || address == D3DTADDRESS_BORDER) return kClampToEdge;
  return GL_REPEAT;
}

GLenum BlendOf(DWORD blend) {
  switch (blend) {
    case D3DBLEND_ZERO:
      return GL_ZERO;
    case D3DBLEND_SRCCOLOR:
      return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
      return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
      return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
      return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
      return GL_ONE;  // the target has no alpha: it reads as 1
    case D3DBLEND_INVDESTALPHA:
      return GL_ZERO;
    case D3DBLEND_DESTCOLOR:
      return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
      return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT:
      return GL_SRC_ALPHA_SATURATE;
    default:
      return GL_ONE;
  }
}

// a · b for row-vector matrices.
D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
  const auto x = std::bit_cast<std::array<float, 16>>(a);
  const auto y = std::bit_cast<std::array<float, 16>>(b);
  std::array<float, 16> r{};
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      for (int k = 0; k < 4; ++k) r[row * 4 + col] += x[row * 4 + k] * y[k * 4 + col];
    }
  }
  return std::bit_cast<D3DMATRIX>(r);
}

// From the device's clip space (x/w over the viewport's clip volume, z/w in 0…1) to GL's
// (everything in −1…1), for row vectors.
D3DMATRIX ClipAdjustment(const D3DVIEWPORT2& v) {
  const float sx = 2.0f / v.dvClipWidth;
  const float sy = 2.0f / v.dvClipHeight;
  const float tx = -2.0f * v.dvClipX / v.dvClipWidth - 1.0f;
  const float ty = -2.0f * (v.dvClipY - v.dvClipHeight) / v.dvClipHeight - 1.0f;
  return D3DMATRIX{sx, 0, 0, 0, 0, sy, 0, 0, 0, 0, 2, 0, tx, ty, -1, 1};
}

}  // namespace

bool GlPlayback::SetUp(const capture::Capture& capture) {
  capture_ = &capture;
  secondaryColorPointer_ = reinterpret_cast<void (*)(GLint, GLenum, GLsizei, const void*)>(
      OSMesaGetProcAddress("glSecondaryColorPointer"));
  provokingVertex_ = reinterpret_cast<void (*)(GLenum)>(OSMesaGetProcAddress("glProvokingVertex"));
  if (!secondaryColorPointer_ || !provokingVertex_) return false;

  // A new software device's states, as the game's platform documents them.
  render_[D3DRENDERSTATE_TEXTUREADDRESS] = D3DTADDRESS_WRAP;
  render_[D3DRENDERSTATE_SHADEMODE] = D3DSHADE_GOURAUD;
  render_[D3DRENDERSTATE_TEXTUREMAG] = D3DFILTER_NEAREST;
  render_[D3DRENDERSTATE_TEXTUREMIN] = D3DFILTER_NEAREST;
  render_[D3DRENDERSTATE_SRCBLEND] = D3DBLEND_ONE;
  render_[D3DRENDERSTATE_DESTBLEND] = D3DBLEND_ZERO;
  render_[D3DRENDERSTATE_TEXTUREMAPBLEND] = D3DTBLEND_MODULATE;
  render_[D3DRENDERSTATE_SPECULARENABLE] = TRUE;
  light_[D3DLIGHTSTATE_FOGMODE] = D3DFOG_NONE;
  light_[D3DLIGHTSTATE_FOGSTART] = std::bit_cast<DWORD>(0.0f);
  light_[D3DLIGHTSTATE_FOGEND] = std::bit_cast<DWORD>(1.0f);

  for (const capture::CapturedTexture& texture : capture.textures) {
    Textures names;
    names.plain = Upload(texture, false);
    if (texture.hasColourKey) names.keyed = Upload(texture, true);
    textures_.push_back(names);
  }
  glDisable(GL_DITHER);
  glDisable(GL_CULL_FACE);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glEnable(GL_SCISSOR_TEST);
  glAlphaFunc(GL_GREATER, 0.5f);
  provokingVertex_(kFirstVertexConvention);  // flat shading takes the first vertex, as D3D does
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glEnableClientState(kSecondaryColorArray);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  return glGetError() == GL_NO_ERROR;
}

void GlPlayback::DrawFrame(const capture::Frame& frame) {
  const auto channel = [](int value, int bits) {
    return static_cast<float>(value) / static_cast<float>((1 << bits) - 1);
  };
  glDisable(GL_SCISSOR_TEST);
  glClearColor(channel(frame.clearColour >> 11, 5), channel((frame.clearColour >> 5) & 0x3F, 6),
               channel(frame.clearColour & 0x1F, 5), 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  for (const Command& command : frame.commands) Run(command);
  glFinish();
}

void GlPlayback::Run(const Command& command) {
  switch (command.kind) {
    case Command::Kind::RenderState:
      render_[command.a] = command.b;
      break;
    case Command::Kind::LightState:
      light_[command.a] = command.b;
      break;
    case Command::Kind::Transform:
      transforms_[command.a - D3DTRANSFORMSTATE_WORLD] = capture_->matrices[command.b];
      break;
    case Command::Kind::Viewport:
      viewport_ = capture_->viewports[command.b];
      break;
    case Command::Kind::Draw:
      Draw(command.a == D3DPT_LINELIST ? GL_LINES : GL_TRIANGLES, &capture_->vertices[command.b],
           static_cast<GLsizei>(command.c));
      break;
  }
}

void GlPlayback::ApplyTexture() {
  const DWORD number = render_[D3DRENDERSTATE_TEXTUREHANDLE];
  if (number == 0) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    return;
  }
  const Textures& names = textures_[number - 1];
  const bool keyed = render_[D3DRENDERSTATE_COLORKEYENABLE] != 0 && names.keyed != 0;
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, keyed ? names.keyed : names.plain);
  if (keyed) {
    glEnable(GL_ALPHA_TEST);
  } else {
    glDisable(GL_ALPHA_TEST);
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER,
                  FilterOf(render_[D3DRENDERSTATE_TEXTUREMAG]));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                  FilterOf(render_[D3DRENDERSTATE_TEXTUREMIN]));
  const GLint address = AddressOf(render_[D3DRENDERSTATE_TEXTUREADDRESS]);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, address);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, address);
  const DWORD blend = render_[D3DRENDERSTATE_TEXTUREMAPBLEND];
  const bool decal = blend == D3DTBLEND_DECAL || blend == D3DTBLEND_COPY;
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, decal ? GL_REPLACE : GL_MODULATE);
}

void GlPlayback::ApplyStates() {
  ApplyTexture();
  glShadeModel(render_[D3DRENDERSTATE_SHADEMODE] == D3DSHADE_FLAT ? GL_FLAT : GL_SMOOTH);
  if (render_[D3DRENDERSTATE_SPECULARENABLE] != 0) {
    glEnable(kColorSum);
  } else {
    glDisable(kColorSum);
  }
  if (render_[D3DRENDERSTATE_BLENDENABLE] != 0) {
    glEnable(GL_BLEND);
    DWORD source = render_[D3DRENDERSTATE_SRCBLEND];
    DWORD destination = render_[D3DRENDERSTATE_DESTBLEND];
    if (source == D3DBLEND_BOTHSRCALPHA)
      source = D3DBLEND_SRCALPHA, destination = D3DBLEND_INVSRCALPHA;
    if (source == D3DBLEND_BOTHINVSRCALPHA)
      source = D3DBLEND_INVSRCALPHA, destination = D3DBLEND_SRCALPHA;
    glBlendFunc(BlendOf(source), BlendOf(destination));
  } else {
    glDisable(GL_BLEND);
  }
  const bool fog =
      render_[D3DRENDERSTATE_FOGENABLE] != 0 && light_[D3DLIGHTSTATE_FOGMODE] == D3DFOG_LINEAR;
  if (fog) {
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, std::bit_cast<float>(light_[D3DLIGHTSTATE_FOGSTART]));
    glFogf(GL_FOG_END, std::bit_cast<float>(light_[D3DLIGHTSTATE_FOGEND]));
    const DWORD colour = render_[D3DRENDERSTATE_FOGCOLOR];
    const GLfloat rgba[4] = {static_cast<float>((colour >> 16) & 0xFF) / 255.0f,
                             static_cast<float>((colour >> 8) & 0xFF) / 255.0f,
                             static_cast<float>(colour & 0xFF) / 255.0f, 1.0f};
    glFogfv(GL_FOG_COLOR, rgba);
  } else {
    glDisable(GL_FOG);
  }
}

void GlPlayback::ApplyTransforms() {
  const D3DVIEWPORT2& v = viewport_;
  const GLint bottom =
      static_cast<GLint>(capture_->height) - static_cast<GLint>(v.dwY + v.dwHeight);
  glViewport(static_cast<GLint>(v.dwX), bottom, static_cast<GLsizei>(v.dwWidth),
             static_cast<GLsizei>(v.dwHeight));
  glScissor(static_cast<GLint>(v.dwX), bottom, static_cast<GLsizei>(v.dwWidth),
            static_cast<GLsizei>(v.dwHeight));
  // A row-major row-vector matrix read as GL's column-major array is its transpose, which is
  // what GL's column vectors want: world · view becomes view then world.
  glMatrixMode(GL_PROJECTION);
  const D3DMATRIX projection = Multiply(transforms_[2], ClipAdjustment(v));
  glLoadMatrixf(&projection._11);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(&transforms_[1]._11);
  glMultMatrixf(&transforms_[0]._11);
}

void GlPlayback::Draw(GLenum primitive, const D3DLVERTEX* vertices, GLsizei count) {
  ApplyStates();
  ApplyTransforms();
  constexpr GLsizei kStride = sizeof(D3DLVERTEX);
  glVertexPointer(3, GL_FLOAT, kStride, &vertices->x);
  glColorPointer(kBgra, GL_UNSIGNED_BYTE, kStride, &vertices->color);
  secondaryColorPointer_(kBgra, GL_UNSIGNED_BYTE, kStride, &vertices->specular);
  glTexCoordPointer(2, GL_FLOAT, kStride, &vertices->tu);
  glDrawArrays(primitive, 0, count);
}

}  // namespace peer
