// pentatile6: a pentagon ABCDE given by A, D and E only. C lies 2√2 right of
// D, and B is the apex of the isosceles triangle over AC with a 45-degree
// angle at B. Four pentagons meet at B: the pentagon, its half-turn about the
// midpoint of BC, its turn about B by the angle at B, and that turned copy's
// half-turn about the midpoint of B and its image of A. The tile of 13
// vertices is repeated over a 3 x 3 patch: 144 black segments.
#pragma once

#include <span>

#include "tiles/given.h"
#include "tiles/lattice.h"

namespace pentatile6 {

// T0 is A moved to the origin; T1..T4 are B, C, D, E; T5..T7 the half-turn
// images of D, E, A about the midpoint of BC; T8..T10 the turned images of
// D, E, A about B; T11, T12 the second half-turn's images of A and T8.
using Tile = tiles::Vertices<13>;

inline constexpr Point A{3, 1, 0, 9};
inline constexpr Point D{3, 5, 0, 9};
inline constexpr Point E{1, 3, 0, 9};
inline constexpr int latticeSize = 3;

// The two vertices the pentagon is completed with.
struct Completion {
  Point c;
  Point b;
};

// The shift from D to C: √2 + √2 in double, kept as a float.
float sideShift();
// The equal legs of the isosceles triangle over a-c with a 45-degree apex.
float legLength(Point a, Point c);
// C = D + (k, 0); B = A + L * (direction of C turned -67.5 degrees about A).
Completion completePentagon(Point a, Point d);

// The angle at b between b-a and b-c, in degrees.
float cornerAngle(Point a, Point b, Point c);
Tile buildTile(Point a, Point b, Point c, Point d, Point e);
// The 16 edges: the twelve-sided outline from T0, then the four sides from
// T1 between its pentagons.
void emitTile(const Tile& tile);
// n x n copies, moved by u = T12 - T3 along a row and v = T9 - T3 between
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

}  // namespace pentatile6
