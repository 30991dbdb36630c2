// pentatile4: a convex pentagon ABCDE with right angles at A and C. Copies
// turned by a quarter-turn fit against those corners: the tile holds the
// given pentagon, its turn by 270 degrees about A, its quarter-turn about C,
// and its half-turn about the midpoint between B and the turned image of D.
// A 4 x 4 patch of the tile (64 pentagons) is stored as 192 black segments.
//
// The program reports its progress on standard output with the one word
// "gotovooooo11", without a line end.
#pragma once

#include <span>

#include "tiles/given.h"
#include "tiles/lattice.h"

namespace pentatile4 {

// T0..T4: the given pentagon A, B, C, D, E moved so that A is the origin.
// R1: 270 degrees about A; T5, T6, T7 = R1 of B, C, D.
// R2: 90 degrees about C; T9, T8 = R2 of A, B.
// R3: half-turn about the midpoint of T1 and T7; T10, T11 = R3 of E, D.
// Pentagons T0 T1 T2 T3 T4, T0 T5 T6 T7 T1, T9 T8 T2 T1 T7, T9 T7 T6 T11 T10.
enum Vertex { T0, T1, T2, T3, T4, T5, T6, T7, T8, T9, T10, T11 };
using Tile = tiles::Vertices<12>;

// Sides AB = 5, BC = CD = 2 sqrt 2, DE = sqrt 26, EA = 5.
inline constexpr Point A{1, 1, 0, 9};
inline constexpr Point B{6, 1, 0, 9};
inline constexpr Point C{8, 3, 0, 9};
inline constexpr Point D{6, 5, 0, 9};
inline constexpr Point E{1, 6, 0, 9};
inline constexpr int latticeSize = 4;

Tile buildTile(Point a, Point b, Point c, Point d, Point e);
// The twelve edges: boundary edges 1-6 and 12, shared sides 7-11. Edges
// T4-T5, T3-T8 and T5-T11 each run straight through a vertex (T0, T2, T6)
// and cover two pentagon sides.
void emitTile(const Tile& tile);
// n x n copies, moved by u = T3 - T5 along a row and v = T4 - T11 between
// rows.
void tileLattice(int n, const Tile& tile);
// The points the construction starts from, with the program's own values.
std::span<const tiles::GivenPoint> givenPoints();
// Everything buildScene() stores, but from these given points (in
// givenPoints() order) over an n x n patch. buildScene() is
// buildSceneFrom(the given values, latticeSize). A span of any other length
// stores nothing.
void buildSceneFrom(std::span<const Point> given, int n);
// Everything the program does before it opens its window, the progress word
// (flushed at once) included. buildSceneFrom writes the same word.
void buildScene();

}  // namespace pentatile4
