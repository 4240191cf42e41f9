#include "platform/raster/reference.h"

#include <algorithm>
#include <cstddef>

#include "platform/raster/pixel_math.h"

namespace platform::raster {

void ReferenceRasterizer::DrawTriangle(const TriangleSetup& triangle) const {
  const PixelRect& box = triangle.box;
  // The box lies within the scissor's columns; a band of rows narrows the scissor's rows.
  const int top = std::max(box.y0, state_.scissor.y0);
  const int bottom = std::min(box.y1, state_.scissor.y1);
  for (int y = top; y < bottom; ++y) {
    for (int x = box.x0; x < box.x1; ++x) {
      if (triangle.edges[0].Covers(x, y) && triangle.edges[1].Covers(x, y) &&
          triangle.edges[2].Covers(x, y)) {
        ShadePixel(triangle.planes, x, y);
      }
    }
  }
}

void ReferenceRasterizer::DrawLine(const LineSetup& line) const {
  const PixelRect& scissor = state_.scissor;
  int begin, end;
  LinePixelsInRows(line, scissor, begin, end);
  for (int i = begin; i < end; ++i) {
    int x, y;
    LinePixel(line, i, x, y);
    if (scissor.Contains(x, y)) ShadePixel(line.planes, x, y);
  }
}

void ReferenceRasterizer::ShadePixel(const PlaneSet& set, int x, int y) const {
  const PixelState& state = state_;
  const float dx = static_cast<float>(x - set.xr);
  const float dy = static_cast<float>(y - set.yr);
  auto at = [&](int attribute) { return EvaluatePlane(set.planes[attribute], dx, dy); };
  // With perspective off the q plane is 1 everywhere, and dividing by it changes nothing.
  const float q = at(kAttrQ);
  const float invQ = 1.0f / q;

  Colour colour{ToByte(at(kAttrDiffuseR)), ToByte(at(kAttrDiffuseG)), ToByte(at(kAttrDiffuseB)),
                ToByte(at(kAttrDiffuseA))};
  if (state.textured) {
    const float u = at(kAttrUq) * invQ;
    const float v = at(kAttrVq) * invQ;
    const TextureFilter filter = Minified(set, state, u, v, q) ? state.minFilter : state.magFilter;
    const TextureSample sample = SampleTexture(state, filter, FloorToFixed(u * state.texelScaleS),
                                               FloorToFixed(v * state.texelScaleT));
    if (sample.keyed) return;
    colour =
        CombineTexture(state.textureBlend, UnpackArgb(sample.argb), state.textureHasAlpha, colour);
  }
  if (state.specular) {
    const Colour specular{ToByte(at(kAttrSpecularR)), ToByte(at(kAttrSpecularG)),
                          ToByte(at(kAttrSpecularB)), 0};
    colour = AddSpecular(colour, specular);
  }
  if (state.fog) {
    colour = ApplyFog(colour, FogWeight(at(kAttrFogQ) * invQ), UnpackArgb(state.fogColour));
  }
  std::uint16_t& pixel =
      state.pixels[static_cast<std::ptrdiff_t>(y) * state.pitch + static_cast<std::ptrdiff_t>(x)];
  if (state.blend) {
    colour = BlendColours(state.srcBlend, state.destBlend, colour, UnpackRgb565(pixel));
  }
  pixel = PackRgb565(colour);
}

}  // namespace platform::raster
