// quadtile: any quadrilateral with its half-turn copy about the midpoint of a
// side makes a hexagon whose opposite sides are parallel and equal, which
// tiles the plane by two translations. A 5 x 5 patch of it (50
// quadrilaterals) is stored as 175 black segments.
#pragma once

#include <span>

#include "tiles/given.h"
#include "tiles/lattice.h"

namespace quadtile {

// A, B, C, D: the given quadrilateral moved so that A is the origin; E and F:
// the half-turn images of D and C about the midpoint of A-B. Quadrilateral
// A, B, C, D and its copy B, A, F, E make the hexagon A, F, E, B, C, D.
enum Vertex { A, B, C, D, E, F };
using Tile = tiles::Vertices<6>;

inline constexpr Point P1{2, 1, 0, 9};
inline constexpr Point P2{6, 0, 0, 9};
inline constexpr Point P3{5, 4, 0, 9};
inline constexpr Point P4{3, 6, 0, 9};
inline constexpr int latticeSize = 5;

Tile buildTile(Point p1, Point p2, Point p3, Point p4);
// The seven edges: the quadrilateral A-B, B-C, C-D, D-A, then the three
// sides of the copy it does not share, E-B, E-F, F-A.
void emitTile(const Tile& tile);
// n x n copies, moved by u = C - A along a row and v = D - F between rows.
void tileLattice(int n, const Tile& tile);
// The points the construction starts from, with the program's own values.
std::span<const tiles::GivenPoint> givenPoints();
// Everything buildScene() stores, but from these given points (in
// givenPoints() order) over an n x n patch. buildScene() is
// buildSceneFrom(the given values, latticeSize). A span of any other length
// stores nothing.
void buildSceneFrom(std::span<const Point> given, int n);
// Everything the program stores before it opens its window.
void buildScene();

}  // namespace quadtile
