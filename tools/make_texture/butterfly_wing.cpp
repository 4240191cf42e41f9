#include "tools/make_texture/butterfly_wing.h"

#include <algorithm>
#include <cstdint>

#include "tools/make_texture/noise.h"

namespace {

constexpr int kStepsPerSpan = 8;
constexpr int kVeinSteps = 16;
constexpr double kRimWidth = 0.011;    // the thin dark edge all round the wing
constexpr double kBorderWidth = 0.05;  // the dark band along the outer margins
constexpr double kVeinHalf = 0.0042;

constexpr Colour kRim{40, 20, 10};
constexpr Colour kBorder{74, 46, 36};
constexpr Colour kVein{66, 34, 24};
constexpr Colour kGroundInner{176, 54, 32};
constexpr Colour kGroundOuter{214, 92, 42};
constexpr Colour kFur{104, 66, 46};
constexpr Colour kCream{236, 214, 150};
constexpr Colour kEyeDark{52, 34, 46};
constexpr Colour kEyeBlue{78, 120, 206};
constexpr Colour kEyeBlueLight{150, 186, 236};
constexpr Colour kWhite{246, 242, 230};

constexpr std::uint32_t kSeedScales = 5;
constexpr std::uint32_t kSeedFur = 7;
constexpr std::uint32_t kSeedEye = 9;

// Lays a stroke from `from` to `to` that bows sideways by `bend` (a fraction of its length).
Polyline Vein(Point from, Point to, double bend) {
  const Point middle{(from.x + to.x) * 0.5, (from.y + to.y) * 0.5};
  const Point control{middle.x - (to.y - from.y) * bend, middle.y + (to.x - from.x) * bend};
  return CurvedStroke(from, control, to, kVeinSteps);
}

// The forewing's dark border carries two cream bars across the leading edge and two white
// dots by the tip.
Colour ForewingBorder(Point p) {
  // The bars slant back towards the body, as the scales run along the wing.
  const double along = p.y + (p.x - 0.8) * 0.6;
  const bool leadingEdge = p.x > 0.8 && p.y < 0.85;
  if (leadingEdge && ((along > 0.4 && along < 0.45) || (along > 0.54 && along < 0.6))) {
    return kCream;
  }
  if (Distance(p, {0.875, 0.905}) < 0.013 || Distance(p, {0.815, 0.905}) < 0.01) return kWhite;
  return kBorder;
}

// A peacock-style eye: a cream ring round a dark ring round a blue iris with a dark pupil and a
// white glint. `r` is the distance from the centre as a fraction of the radius.
Colour EyeSpot(Colour ground, Point p, Point centre, double radius) {
  const double r = Distance(p, centre) / radius;
  if (r > 1.0) return ground;
  if (r > 0.8) return kCream;
  if (r > 0.64) return kEyeDark;
  const Point glint{centre.x + radius * 0.18, centre.y + radius * 0.2};
  if (Distance(p, glint) < radius * 0.1) return kWhite;
  if (r < 0.26) return kEyeDark;
  return Mix(kEyeBlueLight, kEyeBlue, SmoothStep(0.26, 0.64, r));
}

// The hindwing's eye is a dark disc sprinkled with blue scales inside a pale ring.
Colour SprinkledEye(Colour ground, Point p, Point centre, double radius) {
  const double r = Distance(p, centre) / radius;
  if (r > 1.0) return ground;
  if (r > 0.84) return Mix(kCream, Colour{196, 180, 160}, SmoothStep(0.84, 1.0, r));
  const double sprinkle = ValueNoise(p.x * 70.0, p.y * 70.0, kSeedEye);
  const double ring = 1.0 - SmoothStep(0.15, 0.35, (r - 0.45) * (r - 0.45) * 8.0);
  return Mix(kEyeDark, kEyeBlue, SmoothStep(0.5, 0.75, sprinkle) * ring);
}

}  // namespace

ButterflyWing::ButterflyWing() {
  forewing_.outline = SmoothLoop({{0.50, 0.03},
                                  {0.62, 0.03},
                                  {0.74, 0.035},
                                  {0.82, 0.14},
                                  {0.87, 0.32},
                                  {0.91, 0.52},
                                  {0.94, 0.72},
                                  {0.955, 0.86},
                                  {0.925, 0.945},
                                  {0.85, 0.96},
                                  {0.74, 0.925},
                                  {0.63, 0.85},
                                  {0.53, 0.74},
                                  {0.44, 0.62},
                                  {0.385, 0.50},
                                  {0.375, 0.40},
                                  {0.41, 0.28},
                                  {0.46, 0.14}},
                                 kStepsPerSpan);
  forewing_.root = {0.61, 0.04};
  const Point cellRear{0.58, 0.45};
  const Point cellFront{0.80, 0.50};
  forewing_.veins = {
      Vein(forewing_.root, {0.905, 0.6}, 0.12), Vein(forewing_.root, cellFront, 0.06),
      Vein(forewing_.root, cellRear, -0.08),    Vein(cellRear, cellFront, -0.05),
      Vein(cellFront, {0.945, 0.8}, 0.04),      Vein(cellFront, {0.89, 0.95}, 0.02),
      Vein({0.76, 0.495}, {0.77, 0.93}, 0.0),   Vein({0.71, 0.485}, {0.655, 0.875}, -0.02),
      Vein({0.65, 0.47}, {0.555, 0.77}, -0.04), Vein(cellRear, {0.46, 0.65}, -0.04),
      Vein(cellRear, {0.39, 0.50}, -0.06),      Vein({0.57, 0.04}, {0.39, 0.38}, -0.1),
  };
  forewing_.eyeCentre = {0.80, 0.755};
  forewing_.eyeRadius = 0.1;

  hindwing_.outline = SmoothLoop({{0.58, 0.03},
                                  {0.565, 0.16},
                                  {0.53, 0.30},
                                  {0.49, 0.44},
                                  {0.43, 0.555},
                                  {0.35, 0.64},
                                  {0.25, 0.66},
                                  {0.155, 0.625},
                                  {0.085, 0.535},
                                  {0.045, 0.425},
                                  {0.04, 0.30},
                                  {0.055, 0.19},
                                  {0.10, 0.10},
                                  {0.19, 0.05},
                                  {0.32, 0.03},
                                  {0.45, 0.03}},
                                 kStepsPerSpan);
  hindwing_.root = {0.50, 0.04};
  const Point hindCell{0.36, 0.30};
  hindwing_.veins = {
      Vein(hindwing_.root, hindCell, -0.1),     Vein(hindwing_.root, {0.51, 0.42}, 0.06),
      Vein(hindCell, {0.45, 0.56}, 0.04),       Vein(hindCell, {0.34, 0.65}, 0.02),
      Vein(hindCell, {0.22, 0.66}, -0.02),      Vein(hindCell, {0.12, 0.59}, -0.04),
      Vein(hindCell, {0.055, 0.45}, -0.04),     Vein(hindCell, {0.04, 0.31}, -0.04),
      Vein(hindwing_.root, {0.12, 0.09}, 0.08),
  };
  hindwing_.eyeCentre = {0.225, 0.405};
  hindwing_.eyeRadius = 0.115;
}

std::optional<Colour> ButterflyWing::ColourAt(Point p) const {
  if (Contains(forewing_.outline, p)) return LobeColour(forewing_, p, true);
  if (Contains(hindwing_.outline, p)) return LobeColour(hindwing_, p, false);
  return std::nullopt;
}

Colour ButterflyWing::LobeColour(const Lobe& lobe, Point p, bool isForewing) const {
  const double edge = DistanceToLoop(lobe.outline, p);
  if (edge < kRimWidth) return kRim;
  const double fromRoot = Distance(p, lobe.root);

  // Ground: deeper red near the body, brighter towards the margins, with a grain of scales.
  Colour colour = Mix(kGroundInner, kGroundOuter, SmoothStep(0.1, 0.55, fromRoot));
  colour = Scale(colour, 0.93 + 0.12 * ValueNoise(p.x * 90.0, p.y * 90.0, kSeedScales));
  const double fur = 1.0 - SmoothStep(0.08, 0.2, fromRoot);
  const double streaks = ValueNoise(p.x * 110.0, p.y * 14.0, kSeedFur);
  colour = Mix(colour, Scale(kFur, 0.85 + 0.3 * streaks), fur);

  double vein = 1.0;
  for (const Polyline& stroke : lobe.veins) vein = std::min(vein, DistanceToStroke(stroke, p));
  if (vein < kVeinHalf) colour = kVein;

  colour = isForewing ? EyeSpot(colour, p, lobe.eyeCentre, lobe.eyeRadius)
                      : SprinkledEye(colour, p, lobe.eyeCentre, lobe.eyeRadius);

  // The dark band runs along the outer margins only; towards the body it narrows away, so the
  // forewing's inner edge lies on the hindwing as a thin line.
  const double band = kBorderWidth * SmoothStep(0.3, 0.6, fromRoot);
  if (edge < kRimWidth + band) {
    colour = isForewing ? ForewingBorder(p) : kBorder;
  }
  return colour;
}
