#include "tools/make_texture/floor_tile.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>

#include "tools/make_texture/noise.h"

namespace {

constexpr double kGroutWidth = 0.012;   // mossy joint at the tile's edge; doubled between tiles
constexpr double kFrameWidth = 0.075;   // carved frame, measured from the tile's edge
constexpr double kBevelWidth = 0.014;   // lit or shaded slope on each side of the frame
constexpr double kMortarHalf = 0.0065;  // half the width of the joints between flagstones
constexpr int kStonesPerSide = 3;       // flagstones on a jittered 3 by 3 grid

constexpr Colour kGrout{78, 98, 52};
constexpr Colour kFrameStone{138, 128, 110};
constexpr Colour kMortar{92, 104, 66};
constexpr Colour kMoss{84, 122, 50};

// Weathered stone colours; each flagstone takes one of them.
constexpr Colour kStoneTints[] = {
    {156, 152, 142}, {172, 158, 128}, {164, 138, 112}, {138, 144, 148}, {150, 146, 122}};

constexpr std::uint32_t kSeedLayout = 11;
constexpr std::uint32_t kSeedGrain = 23;
constexpr std::uint32_t kSeedMoss = 37;
constexpr std::uint32_t kSeedFrame = 41;

// Fine speckle and broad blotches: the stone's grain, kept gentle so that it does not shimmer
// when the floor is seen at a glancing angle.
double StoneGrain(Point p, std::uint32_t seed) {
  const double blotches = FractalNoise(p.x * 7.0, p.y * 7.0, 3, seed);
  const double speckle = ValueNoise(p.x * 60.0, p.y * 60.0, seed + 100);
  return 0.86 + 0.2 * blotches + 0.06 * speckle;
}

// Distance from p to the border between the nearest and second-nearest site, and the index of
// the nearest.
struct VoronoiHit {
  std::size_t nearest;
  double borderDistance;
};

template <typename Stones>
VoronoiHit NearestStone(const Stones& stones, Point p) {
  std::size_t best = 0;
  double bestSquared = std::numeric_limits<double>::max();
  for (std::size_t i = 0; i < stones.size(); ++i) {
    const double dx = p.x - stones[i].centre.x;
    const double dy = p.y - stones[i].centre.y;
    const double squared = dx * dx + dy * dy;
    if (squared < bestSquared) {
      bestSquared = squared;
      best = i;
    }
  }
  // The border to each other site is the perpendicular bisector; its distance from p is
  // (d_other^2 - d_best^2) / (2 |site_other - site_best|).
  double border = std::numeric_limits<double>::max();
  for (std::size_t i = 0; i < stones.size(); ++i) {
    if (i == best) continue;
    const double dx = p.x - stones[i].centre.x;
    const double dy = p.y - stones[i].centre.y;
    const double separation = Distance(stones[i].centre, stones[best].centre);
    border = std::min(border, (dx * dx + dy * dy - bestSquared) / (2.0 * separation));
  }
  return {best, border};
}

}  // namespace

FloorTile::FloorTile() {
  const double inner = kFrameWidth;
  const double cell = (1.0 - 2.0 * inner) / kStonesPerSide;
  for (int row = 0; row < kStonesPerSide; ++row) {
    for (int column = 0; column < kStonesPerSide; ++column) {
      const double jitterX = (HashUnit(column, row, kSeedLayout) - 0.5) * 0.55;
      const double jitterY = (HashUnit(column, row, kSeedLayout + 1) - 0.5) * 0.55;
      const Point centre{inner + cell * (column + 0.5 + jitterX),
                         inner + cell * (row + 0.5 + jitterY)};
      const std::uint32_t pick = HashPoint(column, row, kSeedLayout + 2) % std::size(kStoneTints);
      flagstones_.push_back({centre, kStoneTints[pick]});
    }
  }
}

Colour FloorTile::ColourAt(Point p) const {
  const double edgeDistance = std::min(std::min(p.x, 1.0 - p.x), std::min(p.y, 1.0 - p.y));
  if (edgeDistance < kFrameWidth) return FrameColour(p, edgeDistance);
  return FlagstonesColour(p, edgeDistance - kFrameWidth);
}

Colour FloorTile::FrameColour(Point p, double edgeDistance) const {
  if (edgeDistance < kGroutWidth) {
    return Scale(kGrout, 0.85 + 0.3 * FractalNoise(p.x * 30.0, p.y * 30.0, 2, kSeedMoss));
  }
  Colour stone = Scale(kFrameStone, StoneGrain(p, kSeedFrame));
  // Light falls from the top-left of the tile: slopes facing it are brighter.
  const bool nearLeftOrTop = std::min(p.x, p.y) <= std::min(1.0 - p.x, 1.0 - p.y);
  const double outerSlope = edgeDistance - kGroutWidth;
  const double innerSlope = kFrameWidth - edgeDistance;
  if (outerSlope < kBevelWidth) {
    stone = Scale(stone, nearLeftOrTop ? 1.22 : 0.74);
  } else if (innerSlope < kBevelWidth) {
    stone = Scale(stone, nearLeftOrTop ? 0.78 : 1.16);
  }
  return stone;
}

Colour FloorTile::FlagstonesColour(Point p, double frameDistance) const {
  const VoronoiHit hit = NearestStone(flagstones_, p);
  const double jointDistance = std::min(hit.borderDistance, frameDistance);
  const double moss = FractalNoise(p.x * 9.0, p.y * 9.0, 3, kSeedMoss);
  if (jointDistance < kMortarHalf) {
    return Mix(kMortar, kMoss, SmoothStep(0.35, 0.7, moss));
  }
  const Flagstone& stone = flagstones_[hit.nearest];
  const std::uint32_t seed = kSeedGrain + static_cast<std::uint32_t>(hit.nearest);
  Colour colour = Scale(stone.tint, StoneGrain(p, seed));
  // Worn, rounded edges: the stone darkens as it falls towards the joint.
  colour = Scale(colour, 0.78 + 0.22 * SmoothStep(0.0, 0.03, jointDistance - kMortarHalf));
  // Moss creeps out of the joints where the noise is high.
  const double creep = SmoothStep(0.55, 0.72, moss) * (1.0 - SmoothStep(0.01, 0.06, jointDistance));
  return Mix(colour, kMoss, creep * 0.85);
}
