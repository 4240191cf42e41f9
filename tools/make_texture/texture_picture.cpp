#include "tools/make_texture/texture_picture.h"

#include <optional>

#include "tools/make_texture/butterfly_wing.h"
#include "tools/make_texture/floor_tile.h"

namespace {

constexpr int kHalf = kTextureSize / 2;
constexpr int kSubsamples = 4;  // per side of a texel: 16 samples smooth the inner edges

// The floor square shows u 0.01..0.99 and v 0.01..0.49; the wing quad u 0.01..0.99 and
// v 0.99 (root) up to 0.51 (tip). Painting in those units makes both square in the game.
constexpr double kInset = 0.01;
constexpr double kSpanU = 0.98;
constexpr double kSpanV = 0.48;

// Texture coordinate of sample `index` (0..kSubsamples-1) inside texel `texel`.
double SampleCoordinate(int texel, int index) {
  return (texel + (index + 0.5) / kSubsamples) / kTextureSize;
}

Colour Average(const Colour& sum, int count) {
  return Scale(sum, 1.0 / count);
}

void PaintFloor(RgbImage& image) {
  const FloorTile tile;
  for (int y = 0; y < kHalf; ++y) {
    for (int x = 0; x < kTextureSize; ++x) {
      Colour sum{0, 0, 0};
      for (int j = 0; j < kSubsamples; ++j) {
        for (int i = 0; i < kSubsamples; ++i) {
          const Point p{(SampleCoordinate(x, i) - kInset) / kSpanU,
                        (SampleCoordinate(y, j) - kInset) / kSpanV};
          sum = Add(sum, tile.ColourAt(p));
        }
      }
      image.At(x, y) = ToRgb(Average(sum, kSubsamples * kSubsamples));
    }
  }
}

// A texel belongs to the wing when at least half its samples do, and then takes the average of
// those samples only: inner edges are smoothed, while the outline never fades towards black,
// which would leave a dirty near-black fringe around the keyed-out background.
void PaintWing(RgbImage& image) {
  const ButterflyWing wing;
  for (int y = kHalf; y < kTextureSize; ++y) {
    for (int x = 0; x < kTextureSize; ++x) {
      Colour sum{0, 0, 0};
      int covered = 0;
      for (int j = 0; j < kSubsamples; ++j) {
        for (int i = 0; i < kSubsamples; ++i) {
          const Point p{(SampleCoordinate(x, i) - kInset) / kSpanU,
                        (1.0 - kInset - SampleCoordinate(y, j)) / kSpanV};
          if (const std::optional<Colour> colour = wing.ColourAt(p)) {
            sum = Add(sum, *colour);
            ++covered;
          }
        }
      }
      const bool inside = covered * 2 >= kSubsamples * kSubsamples;
      image.At(x, y) = inside ? ToRgb(Average(sum, covered)) : Rgb{0, 0, 0};
    }
  }
}

}  // namespace

RgbImage PaintTexture() {
  RgbImage image(kTextureSize, kTextureSize);
  PaintFloor(image);
  PaintWing(image);
  // The cell outlines are drawn with texture coordinates (0, 0) while this texture is selected:
  // a white texel there lets their own colour through unchanged.
  image.At(0, 0) = Rgb{255, 255, 255};
  return image;
}
