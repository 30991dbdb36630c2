// pentatile3: a convex pentagon ABCDE, symmetric about x = 5.5, with angles
// of 120 degrees at A, B and D and right angles at C and E. Three copies
// turned about D by 0, 120 and 240 degrees close up into a regular hexagon
// of side 5 centred on D, which tiles the plane by two translations.
// A 6 x 6 patch of it (108 pentagons) is stored as 324 black segments.
//
// The program reports its progress on standard output with three words,
// run together without line ends: "gotovooooo", "gotovooooo11" and
// "gotovooooo22".
#pragma once

#include <span>

#include "tiles/given.h"
#include "tiles/lattice.h"

namespace pentatile3 {

// T0..T4: the given pentagon A, B, C, D, E moved so that A is the origin.
// R is the turn by 120 degrees about D. T5, T6, T7: R of A, B, C.
// T8, T9: R twice of A, B.
// Pentagons T0 T1 T2 T3 T4, T5 T6 T7 T3 T2 and T8 T9 T4 T3 T7; hexagon
// T0 T1 T5 T6 T8 T9 around its centre T3.
enum Vertex { T0, T1, T2, T3, T4, T5, T6, T7, T8, T9 };
using Tile = tiles::Vertices<10>;

// The two heights that need sqrt 3, taken in double and stored as floats:
// c1 = 5 sqrt 3 / 4 + 1 (3.1650636), c2 = 15 / (2 sqrt 3) + 1 (5.3301272).
struct Heights {
  float c1;
  float c2;
};
Heights computeHeights();

// A = (3, 1), B = (8, 1), C = (9.25, c1), D = (5.5, c2), E = (1.75, c1).
inline constexpr Point A{3, 1, 0, 9};
inline constexpr Point B{8, 1, 0, 9};
inline constexpr float cX = 9.25f;
inline constexpr float dX = 5.5f;
inline constexpr float eX = 1.75f;
inline constexpr int latticeSize = 6;

// Writes "gotovooooo22" once the turned vertices are made.
Tile buildTile(Point a, Point b, Point c, Point d, Point e);
// The nine edges: the six hexagon sides T0-T1-T5-T6-T8-T9-T0, then the three
// spokes T2-T3, T3-T4 and T3-T7.
void emitTile(const Tile& tile);
// n x n copies, moved by u = T5 along a row and v = T8 between rows (the tile
// starts at the origin, so these vertices are the vectors themselves).
void tileLattice(int n, const Tile& tile);
// The points the construction starts from, with the program's own values.
std::span<const tiles::GivenPoint> givenPoints();
// Everything buildScene() stores, but from these given points (in
// givenPoints() order) over an n x n patch. buildScene() is
// buildSceneFrom(the given values, latticeSize). A span of any other length
// stores nothing.
void buildSceneFrom(std::span<const Point> given, int n);
// Everything the program does before it opens its window, progress words
// included; each word is flushed as soon as it is written. buildSceneFrom
// writes the same three words.
void buildScene();

}  // namespace pentatile3
