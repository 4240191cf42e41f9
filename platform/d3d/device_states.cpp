#include "platform/d3d/device_states.h"

#include <bit>

namespace platform::d3d {
namespace {

raster::TextureFilter FilterOf(DWORD filter) {
  // With one level the mip filters sample as their in-level filter does: MIPNEAREST and
  // LINEARMIPNEAREST (a blend of two levels' nearest texels) the nearest texel, MIPLINEAR and
  // LINEARMIPLINEAR bilinearly.
  switch (filter) {
    case D3DFILTER_LINEAR:
    case D3DFILTER_MIPLINEAR:
    case D3DFILTER_LINEARMIPLINEAR:
      return raster::TextureFilter::Bilinear;
    default:
      return raster::TextureFilter::Point;
  }
}

raster::TextureAddress AddressOf(DWORD address) {
  switch (address) {
    case D3DTADDRESS_MIRROR:
      return raster::TextureAddress::Mirror;
    case D3DTADDRESS_CLAMP:
    case D3DTADDRESS_BORDER:
      return raster::TextureAddress::Clamp;
    default:
      return raster::TextureAddress::Wrap;
  }
}

raster::TextureBlend TextureBlendOf(DWORD blend) {
  switch (blend) {
    case D3DTBLEND_DECAL:
    case D3DTBLEND_COPY:
      return raster::TextureBlend::Decal;
    case D3DTBLEND_MODULATEALPHA:
      return raster::TextureBlend::ModulateAlpha;
    default:
      return raster::TextureBlend::Modulate;
  }
}

raster::BlendFactor BlendOf(DWORD blend) {
  using raster::BlendFactor;
  switch (blend) {
    case D3DBLEND_ZERO:
      return BlendFactor::Zero;
    case D3DBLEND_SRCCOLOR:
      return BlendFactor::SrcColor;
    case D3DBLEND_INVSRCCOLOR:
      return BlendFactor::InvSrcColor;
    case D3DBLEND_SRCALPHA:
      return BlendFactor::SrcAlpha;
    case D3DBLEND_INVSRCALPHA:
      return BlendFactor::InvSrcAlpha;
    case D3DBLEND_DESTALPHA:
      return BlendFactor::DestAlpha;
    case D3DBLEND_INVDESTALPHA:
      return BlendFactor::InvDestAlpha;
    case D3DBLEND_DESTCOLOR:
      return BlendFactor::DestColor;
    case D3DBLEND_INVDESTCOLOR:
      return BlendFactor::InvDestColor;
    case D3DBLEND_SRCALPHASAT:
      return BlendFactor::SrcAlphaSat;
    default:
      return BlendFactor::One;
  }
}

raster::CullMode CullOf(DWORD cull) {
  switch (cull) {
    case D3DCULL_CW:
      return raster::CullMode::Clockwise;
    case D3DCULL_CCW:
      return raster::CullMode::CounterClockwise;
    default:
      return raster::CullMode::None;
  }
}

}  // namespace

// A new software device. The game sets most of these every frame; the ones it never touches
// (specular on, modulate, source blend ONE, nearest magnification, wrap, no dithering, the last
// pixel of a line drawn) decide how its picture looks.
DeviceStates::DeviceStates() : render{}, light{} {
  render[D3DRENDERSTATE_TEXTUREHANDLE] = 0;
  render[D3DRENDERSTATE_TEXTUREADDRESS] = D3DTADDRESS_WRAP;
  render[D3DRENDERSTATE_TEXTUREADDRESSU] = D3DTADDRESS_WRAP;
  render[D3DRENDERSTATE_TEXTUREADDRESSV] = D3DTADDRESS_WRAP;
  render[D3DRENDERSTATE_TEXTUREPERSPECTIVE] = FALSE;
  render[D3DRENDERSTATE_ZENABLE] = D3DZB_FALSE;
  render[D3DRENDERSTATE_FILLMODE] = D3DFILL_SOLID;
  render[D3DRENDERSTATE_SHADEMODE] = D3DSHADE_GOURAUD;
  render[D3DRENDERSTATE_ZWRITEENABLE] = TRUE;
  render[D3DRENDERSTATE_LASTPIXEL] = FALSE;
  render[D3DRENDERSTATE_TEXTUREMAG] = D3DFILTER_NEAREST;
  render[D3DRENDERSTATE_TEXTUREMIN] = D3DFILTER_NEAREST;
  render[D3DRENDERSTATE_SRCBLEND] = D3DBLEND_ONE;
  render[D3DRENDERSTATE_DESTBLEND] = D3DBLEND_ZERO;
  render[D3DRENDERSTATE_TEXTUREMAPBLEND] = D3DTBLEND_MODULATE;
  render[D3DRENDERSTATE_CULLMODE] = D3DCULL_CCW;
  render[D3DRENDERSTATE_ZFUNC] = D3DCMP_LESSEQUAL;
  render[D3DRENDERSTATE_ALPHAFUNC] = D3DCMP_ALWAYS;
  render[D3DRENDERSTATE_DITHERENABLE] = FALSE;
  render[D3DRENDERSTATE_BLENDENABLE] = FALSE;
  render[D3DRENDERSTATE_FOGENABLE] = FALSE;
  render[D3DRENDERSTATE_SPECULARENABLE] = TRUE;
  render[D3DRENDERSTATE_FOGCOLOR] = 0;
  render[D3DRENDERSTATE_COLORKEYENABLE] = FALSE;
  light[D3DLIGHTSTATE_FOGMODE] = D3DFOG_NONE;
  light[D3DLIGHTSTATE_FOGSTART] = std::bit_cast<DWORD>(0.0f);
  light[D3DLIGHTSTATE_FOGEND] = std::bit_cast<DWORD>(1.0f);
  light[D3DLIGHTSTATE_FOGDENSITY] = std::bit_cast<DWORD>(1.0f);
}

void ApplyStates(const DeviceStates& states, raster::RasterContext& context) {
  const auto& r = states.render;
  context.cull = CullOf(r[D3DRENDERSTATE_CULLMODE]);
  context.colourKeyEnable = r[D3DRENDERSTATE_COLORKEYENABLE] != 0;
  context.shadeMode = r[D3DRENDERSTATE_SHADEMODE] == D3DSHADE_FLAT ? raster::ShadeMode::Flat
                                                                   : raster::ShadeMode::Gouraud;
  context.perspective = r[D3DRENDERSTATE_TEXTUREPERSPECTIVE] != 0;
  context.magFilter = FilterOf(r[D3DRENDERSTATE_TEXTUREMAG]);
  context.minFilter = FilterOf(r[D3DRENDERSTATE_TEXTUREMIN]);
  context.address = AddressOf(r[D3DRENDERSTATE_TEXTUREADDRESS]);
  context.textureBlend = TextureBlendOf(r[D3DRENDERSTATE_TEXTUREMAPBLEND]);
  context.specularEnable = r[D3DRENDERSTATE_SPECULARENABLE] != 0;
  context.blendEnable = r[D3DRENDERSTATE_BLENDENABLE] != 0;
  context.srcBlend = BlendOf(r[D3DRENDERSTATE_SRCBLEND]);
  context.destBlend = BlendOf(r[D3DRENDERSTATE_DESTBLEND]);
  // The "both" blends set the pair of factors from the source blend alone.
  if (r[D3DRENDERSTATE_SRCBLEND] == D3DBLEND_BOTHSRCALPHA) {
    context.srcBlend = raster::BlendFactor::SrcAlpha;
    context.destBlend = raster::BlendFactor::InvSrcAlpha;
  } else if (r[D3DRENDERSTATE_SRCBLEND] == D3DBLEND_BOTHINVSRCALPHA) {
    context.srcBlend = raster::BlendFactor::InvSrcAlpha;
    context.destBlend = raster::BlendFactor::SrcAlpha;
  }
  context.fogEnable = r[D3DRENDERSTATE_FOGENABLE] != 0;
  context.fogColour = r[D3DRENDERSTATE_FOGCOLOR];
  // Vertex fog is linear here; the exponential modes are not offered by these devices.
  context.fogMode = states.light[D3DLIGHTSTATE_FOGMODE] == D3DFOG_LINEAR ? raster::FogMode::Linear
                                                                         : raster::FogMode::None;
  context.fogStart = std::bit_cast<float>(states.light[D3DLIGHTSTATE_FOGSTART]);
  context.fogEnd = std::bit_cast<float>(states.light[D3DLIGHTSTATE_FOGEND]);
}

}  // namespace platform::d3d
