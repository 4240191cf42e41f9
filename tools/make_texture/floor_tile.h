// The floor of one course cell: mossy flagstones inside a carved stone frame. Laid edge to edge
// the frames form the course's grid, which reads even far away in the fog.
#pragma once

#include <vector>

#include "tools/make_texture/colour.h"
#include "tools/make_texture/shapes.h"

class FloorTile {
 public:
  FloorTile();

  // The colour at p, in tile units: x and y run 0..1 across the part of the tile the game
  // shows; outside that the frame simply continues. Never black, the colour key.
  Colour ColourAt(Point p) const;

 private:
  struct Flagstone {
    Point centre;  // the Voronoi site the stone grows around
    Colour tint;   // the stone's own colour before weathering
  };

  Colour FrameColour(Point p, double edgeDistance) const;
  Colour FlagstonesColour(Point p, double frameDistance) const;

  std::vector<Flagstone> flagstones_;
};
