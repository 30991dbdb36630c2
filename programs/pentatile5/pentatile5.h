// pentatile5: the pentagon ABCDE with right angles at C, D and E and 135
// degrees at A and B. Four quarter-turn copies about D close up into an
// octagon; two more copies cap it left and right. The six pentagons form a
// tile of 19 vertices, repeated over a 6 x 6 patch: 648 black segments.
#pragma once

#include <span>

#include "tiles/given.h"
#include "tiles/lattice.h"

namespace pentatile5 {

// T0 is A moved to the origin; T1..T4 are B, C, D, E; T5..T12 the quarter
// turns of A, B, C about D (three turns, the last without C); T13..T15 the
// left cap, T16..T18 the right cap. T3 is the octagon's centre.
using Tile = tiles::Vertices<19>;

inline constexpr Point A{3, 1, 0, 9};
inline constexpr Point B{7, 1, 0, 9};
inline constexpr Point C{9, 3, 0, 9};
inline constexpr Point D{5, 7, 0, 9};
inline constexpr Point E{1, 3, 0, 9};
inline constexpr int latticeSize = 6;

Tile buildTile(Point a, Point b, Point c, Point d, Point e);
// The 18 edges: the octagon's boundary, the two lines through T3 and the
// outer sides of the two caps.
void emitTile(const Tile& tile);
// n x n copies, moved by u = T5 - T13 along a row and v = T0 - T9 between
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

}  // namespace pentatile5
