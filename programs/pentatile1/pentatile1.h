// pentatile1: a convex pentagon ABCDE with a right angle at B and CD parallel
// to EA, together with its half-turn copy about the midpoint of BC, makes a
// centrally symmetric octagon that tiles the plane by two translations.
// A 5 x 5 patch of it (50 pentagons) is stored as 225 black segments.
#pragma once

#include <span>

#include "tiles/given.h"
#include "tiles/lattice.h"

namespace pentatile1 {

// T0..T4: the given pentagon A, B, C, D, E moved so that A is the origin.
// T5, T6, T7: the half-turn images of D, E, A about the midpoint of BC.
// Pentagons T0 T1 T2 T3 T4 and T1 T5 T6 T7 T2; octagon T0 T1 T5 T6 T7 T2 T3 T4.
enum Vertex { T0, T1, T2, T3, T4, T5, T6, T7 };
using Tile = tiles::Vertices<8>;

// Sides AB = sqrt 5, BC = 2 sqrt 5, CD = sqrt 17, DE = 5, EA = sqrt 17.
inline constexpr Point A{1, 3, 0, 9};
inline constexpr Point B{2, 1, 0, 9};
inline constexpr Point C{6, 3, 0, 9};
inline constexpr Point D{7, 7, 0, 9};
inline constexpr Point E{2, 7, 0, 9};
inline constexpr int latticeSize = 5;

Tile buildTile(Point a, Point b, Point c, Point d, Point e);
// The nine edges: the given pentagon T0-T1-T2-T3-T4-T0, then the four sides
// of the half-turn copy it does not share, T1-T5-T6-T7-T2.
void emitTile(const Tile& tile);
// n x n copies, moved by u = T3 - T4 (the side ED) along a row and by
// v = T4 + (T3 - T2) + (T0 - T1) between rows.
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

}  // namespace pentatile1
