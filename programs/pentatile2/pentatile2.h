// pentatile2: a convex pentagon ABCDE whose side BC is parallel to EA and
// twice as long, and whose side ED rises at 60 degrees. The tile holds six
// pentagons: the given one, a translated copy, a joining pentagon between
// the two with one constructed vertex F, and the half-turn images of these
// three about the midpoint of CD. The joining pentagon is not congruent to
// the given one and is a little larger, so neighbouring copies overlap
// slightly. A 5 x 5 patch of the tile is stored as 575 black segments.
#pragma once

#include <span>

#include "tiles/given.h"
#include "tiles/lattice.h"

namespace pentatile2 {

// T0..T4: the given pentagon A, B, C, D, E moved so that A is the origin.
// H is the half-turn about the midpoint of CD, w = (E - A) + (D - B).
// T5, T6, T7: H of E, A, B.     T8..T12: A..E moved by w.
// T13..T17: H of T8..T12.       T18: F = E + |BC| u.     T19: H of F.
// Pentagons: T0 T1 T2 T3 T4, T8 T9 T10 T11 T12, joining T4 T18 T8 T9 T3, and
// their half-turn images T6 T7 T3 T2 T5, T13 T14 T15 T16 T17, T5 T19 T13 T14 T2.
enum Vertex {
  T0, T1, T2, T3, T4, T5, T6, T7, T8, T9,
  T10, T11, T12, T13, T14, T15, T16, T17, T18, T19
};
using Tile = tiles::Vertices<20>;

inline constexpr Point A{2, 1, 0, 9};
inline constexpr Point B{7, 1, 0, 9};
inline constexpr Point C{5, 5, 0, 9};
inline constexpr Point E{1, 3, 0, 9};
inline constexpr float dX = 3.5f;  // D = (3.5, d)
inline constexpr int latticeSize = 5;

// d = 2.5 sqrt 3 + 3, taken in double and stored as a float (7.3301272).
float computeD();

Tile buildTile(Point a, Point b, Point c, Point d, Point e);
// The 23 edges, each side shared by two pentagons of the tile once.
void emitTile(const Tile& tile);
// n x n copies, moved by u = T7 - T0 along a row and v = T12 - T16 between
// rows.
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

}  // namespace pentatile2
