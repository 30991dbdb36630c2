// deltatile: any triangle with its half-turn copy about the midpoint of a
// side makes a parallelogram, which tiles the plane by two translations.
// A 6 x 6 patch of it (72 triangles) is stored as 180 black segments.
#pragma once

#include <span>

#include "tiles/given.h"
#include "tiles/lattice.h"

namespace deltatile {

// A, B, C: the given triangle moved so that A is the origin; D: the half-turn
// image of C about the midpoint of A-B. Parallelogram A, D, B, C.
enum Vertex { A, B, C, D };
using Tile = tiles::Vertices<4>;

inline constexpr Point P1{2, 1, 0, 9};
inline constexpr Point P2{6, 0, 0, 9};
inline constexpr Point P3{5, 3, 0, 9};
inline constexpr int latticeSize = 6;

Tile buildTile(Point p1, Point p2, Point p3);
// The five edges: A-B, B-C, C-A, D-A, D-B.
void emitTile(const Tile& tile);
// n x n copies, moved by u = A - C along a row and v = B - C between rows.
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

}  // namespace deltatile
