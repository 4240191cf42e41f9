#include "platform/raster/pixel_state.h"

#include <cmath>

#include "platform/raster/texel.h"

namespace platform::raster {
namespace {

constexpr int kMaxTargetSize = 8192;

bool TargetUsable(const RenderTarget& target) {
  return target.pixels != nullptr && target.width >= 1 && target.width <= kMaxTargetSize &&
         target.height >= 1 && target.height <= kMaxTargetSize &&
         target.pitchPixels >= target.width;
}

bool ViewportUsable(const Viewport& vp, const RenderTarget& target) {
  const bool insideTarget =
      vp.dwWidth >= 1 && vp.dwHeight >= 1 && vp.dwX <= static_cast<std::uint32_t>(target.width) &&
      vp.dwY <= static_cast<std::uint32_t>(target.height) && vp.dwWidth <= target.width - vp.dwX &&
      vp.dwHeight <= target.height - vp.dwY;
  const bool clipVolume = std::isfinite(vp.dvClipX) && std::isfinite(vp.dvClipY) &&
                          vp.dvClipWidth > 0.0f && std::isfinite(vp.dvClipWidth) &&
                          vp.dvClipHeight > 0.0f && std::isfinite(vp.dvClipHeight);
  return insideTarget && clipVolume;
}

bool TextureUsable(const TextureView& texture) {
  return texture.texels != nullptr && texture.width >= 1 && texture.width <= kMaxTextureSize &&
         texture.height >= 1 && texture.height <= kMaxTextureSize &&
         texture.pitch >= texture.width * TexelBytes(texture.format) &&
         (texture.format != TextureFormat::Palette8 || texture.palette != nullptr);
}

}  // namespace

bool MakePixelState(const RasterContext& context, PixelState& out) {
  const RenderTarget& target = context.target;
  if (!TargetUsable(target) || !ViewportUsable(context.viewport, target)) return false;
  if (context.texture && !TextureUsable(*context.texture)) return false;

  const Viewport& vp = context.viewport;
  out.pixels = target.pixels;
  out.pitch = target.pitchPixels;
  out.scissor =
      PixelRect{static_cast<int>(vp.dwX), static_cast<int>(vp.dwY),
                static_cast<int>(vp.dwX + vp.dwWidth), static_cast<int>(vp.dwY + vp.dwHeight)};

  out.perspective = context.perspective;
  out.textured = context.texture.has_value();
  out.texture = context.texture.value_or(TextureView{});
  const TextureView& texture = out.texture;
  out.texelScaleS = static_cast<float>(texture.width * 256);
  out.texelScaleT = static_cast<float>(texture.height * 256);
  out.textureWidth = static_cast<float>(texture.width);
  out.textureHeight = static_cast<float>(texture.height);
  out.textureHasAlpha = FormatHasAlpha(texture.format);
  out.magFilter = context.magFilter;
  out.minFilter = context.minFilter;
  out.address = context.address;
  out.keyTest = out.textured && context.colourKeyEnable && texture.hasColourKey;
  out.keyMask = TexelKeyMask(texture.format);
  out.key = texture.colourKey & out.keyMask;
  out.textureBlend = context.textureBlend;

  out.specular = context.specularEnable;
  // Without a fog mode the factor is 1 everywhere, which leaves every colour as it is.
  out.fog = context.fogEnable && context.fogMode == FogMode::Linear;
  out.fogColour = context.fogColour & 0x00FFFFFFu;
  out.blend = context.blendEnable;
  out.srcBlend = context.srcBlend;
  out.destBlend = context.destBlend;
  return true;
}

}  // namespace platform::raster
