// What one period of a drawing holds: its tiles, the tiling's vertices and
// its edges, each gathered into classes of translates.
//
// A tiling's vertices are the points where three or more tiles meet, and
// its edges are the lines between two vertices along which two tiles meet.
// A point where a tile's straight side runs on through a corner of others
// (5.5.(5)) is a vertex, and it splits that side into two edges; a point
// where only two tiles meet is none, even where both turn there, and the
// edge runs on through it.
#pragma once

#include <vector>

#include "faces/faces.h"
#include "symmetry/frame.h"

namespace symmetry {

// One class of translates: where one member lies in the period, what it is
// (a face's class, a vertex's configuration; edges are all alike), how many
// members the drawing has, and for faces the corners around its centre.
struct Translates {
  Vec2 st;
  int kind = 0;
  int count = 0;
  std::vector<Vec2> corners;
  // Too few members to be part of the pattern: the drawing's edge, a hole.
  bool sparse = false;
};

struct Motif {
  std::vector<Translates> tiles, vertices, edges;
};

// Faces that are lone and unlike all others are left out; so are edges
// that reach the drawing's boundary. A class of tiles with fewer than a
// third of the members of the largest is sparse; a class of vertices or
// edges is sparse when every member touches a tile that is sparse or left
// out.
Motif motifOf(const faces::Analysis& analysis, const Frame& frame, double near);

}  // namespace symmetry
