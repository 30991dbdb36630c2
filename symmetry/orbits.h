// How many kinds of tile, vertex and edge a drawing's symmetries leave:
// the orbits of each under its wallpaper group.
#pragma once

#include <string>
#include <vector>

#include "symmetry/group.h"
#include "symmetry/motif.h"

namespace symmetry {

struct Orbits {
  int tiles = 0, vertices = 0, edges = 0;
};

// Classes of translates joined whenever a symmetry carries one onto another.
Orbits orbitsOf(const Motif& motif, const std::vector<Operation>& symmetries, const Frame& frame,
                double near);

// "isohedral, 2-isogonal, 3-isotoxal"; a sort the drawing has none of
// inside (islands have no vertices and edges between tiles) is left out.
std::string orbitWords(const Orbits& orbits);

}  // namespace symmetry
