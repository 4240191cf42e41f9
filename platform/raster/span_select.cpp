#include <bit>
#include <cstdint>

#include "platform/raster/span.h"

#include "platform/pixel/lane_choice.h"
#include "platform/raster/pixel_math.h"

namespace platform::raster {
namespace {

// The kernel reads texels as whole rows of a power-of-two length, wraps by masking, and knows
// two formats; it blends only as the game does (or not at all).
bool KernelServes(const PixelState& state) {
  const TextureView& texture = state.texture;
  const int bytes = TexelBytes(texture.format);
  const bool format =
      texture.format == TextureFormat::Xrgb8888 || texture.format == TextureFormat::Palette8;
  const bool blend = !state.blend || (state.srcBlend == BlendFactor::One &&
                                      state.destBlend == BlendFactor::InvSrcAlpha);
  return state.textured && format && state.textureBlend == TextureBlend::Modulate &&
         state.address == TextureAddress::Wrap && std::has_single_bit(unsigned(texture.width)) &&
         std::has_single_bit(unsigned(texture.height)) && texture.pitch % bytes == 0 &&
         std::has_single_bit(unsigned(texture.pitch / bytes)) &&
         reinterpret_cast<std::uintptr_t>(texture.texels) % bytes == 0 && blend;
}

}  // namespace

void SetSpanPrimitive(SpanInputs& inputs, const PlaneSet& planes, bool smooth,
                      std::uint32_t diffuse, std::uint32_t specular) {
  inputs.planes = &planes;
  inputs.smooth = smooth;
  inputs.diffuse = diffuse;
  inputs.specular = specular;
  const PixelState& state = *inputs.state;
  // x · 255 / 255 rounds back to x, and x + 0 is x; the kernel's formats carry no alpha, so an
  // opaque diffuse colour makes every source pixel opaque, which keeps nothing of the target.
  inputs.modulate = smooth || diffuse != 0xFFFFFFFFu;
  inputs.addSpecular = state.specular && (smooth || (specular & 0x00FFFFFFu) != 0);
  const bool opaque = !smooth && (diffuse >> 24) == 0xFFu;
  inputs.mayBlend = state.blend && !opaque;
  // A fog plane of zeros gives every pixel the factor 0 (or a NaN where q is 0), so weight 0.
  const Plane& fog = planes.planes[kAttrFogQ];
  inputs.foggedOut = state.fog && opaque && fog.base == 0.0f && fog.gx == 0.0f && fog.gy == 0.0f;
}

KernelDrawers SelectKernelDrawers(const PixelState& state, SpanInputs& inputs) {
  if (!KernelServes(state)) return {};
  inputs.state = &state;
  inputs.fog565 = PackRgb565(UnpackArgb(state.fogColour));
  inputs.pitchShift =
      std::countr_zero(unsigned(state.texture.pitch / TexelBytes(state.texture.format)));
  if (pixel::LanesAreAvx512()) return SelectKernelDrawersAvx512(state.texture.format, state.fog);
  if (pixel::LanesAreAvx2()) return SelectKernelDrawersAvx2(state.texture.format, state.fog);
  return SelectKernelDrawersSse2(state.texture.format, state.fog);
}

}  // namespace platform::raster
