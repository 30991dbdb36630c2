// pentatile8: a pentagon ABCDE given by A, B and E, completed with a
// 60-degree angle at B (C is A turned -60 degrees about B) and a 120-degree
// angle at D with DC = DE. Six copies turned about B in steps of -60 degrees
// close up into a hexagonal rosette of 19 vertices, repeated over a 5 x 5
// patch: 600 black segments.
#pragma once

#include <span>

#include "tiles/given.h"
#include "tiles/lattice.h"

namespace pentatile8 {

// T0 is A moved to the origin; T1..T4 are B, C, D, E; then the turns about
// B of C, D, E by -60 degrees once (T5..T7), twice (T8..T10), three times
// (T11..T13) and four times (T14..T16), and of D and E five times (T17,
// T18). T1 is the rosette's centre.
using Tile = tiles::Vertices<19>;

inline constexpr Point A{1, 0, 0, 9};
inline constexpr Point B{5, 0, 0, 9};
inline constexpr Point E{0, 1, 0, 9};
inline constexpr int latticeSize = 5;

// The two vertices the pentagon is completed with.
struct Completion {
  Point c;
  Point d;
};

// C = A turned -60 degrees about B; D = E + (|EC| / √3) times the direction
// of EC turned +30 degrees: the apex of the isosceles triangle over EC with
// 30-degree base angles.
Completion buildPentagon(Point a, Point b, Point e);
Tile buildTile(Point a, Point b, Point c, Point d, Point e);
// The 24 edges: the rosette's outline from T0, then its six spokes from T1.
void emitTile(const Tile& tile);
// n x n copies, moved by u = T13 - T0 along a row and v = T15 - T3 between
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

}  // namespace pentatile8
