// One butterfly wing on its own square: a forewing overlapping a hindwing, with veins, eye
// spots and a dark rim, in warm rust colours.
#pragma once

#include <optional>
#include <vector>

#include "tools/make_texture/colour.h"
#include "tools/make_texture/shapes.h"

class ButterflyWing {
 public:
  ButterflyWing();

  // The wing's colour at p, or nothing where p lies outside the wing. p is in wing units: x runs
  // along the body from the rear (0) to the front (1), y from the wing root (0) out to the tip
  // (1). Inside the wing the colour is never dark enough to be taken for the black colour key.
  std::optional<Colour> ColourAt(Point p) const;

 private:
  struct Lobe {
    Polyline outline;
    std::vector<Polyline> veins;
    Point root;       // where the veins meet; the furry base lies around it
    Point eyeCentre;  // centre of the lobe's eye spot
    double eyeRadius;
  };

  Colour LobeColour(const Lobe& lobe, Point p, bool isForewing) const;

  Lobe forewing_;
  Lobe hindwing_;
};
