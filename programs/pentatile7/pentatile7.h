// pentatile7: a pentagon V0..V4 completed from V0 and V4 alone, with sides
// 3√3 L, 2L, 4L, 4L and L (L = |V0 V4|) and angles 90, 150, 60, 120 and 120
// degrees. With its mirror image in the side V0V1, both turned about V3 by
// the angle there, and half-turn copies of these, eight pentagons make a
// tile of 24 vertices, repeated over a 3 x 3 patch. The pentagon's own five
// edges and one blue edge of the mirror image come first: 222 segments.
#pragma once

#include <span>

#include "tiles/given.h"
#include "tiles/lattice.h"

namespace pentatile7 {

// T0 is V0 at the origin; T1..T4 are V1..V4; T5..T7 the mirror images W2,
// W3, W4; T8..T13 the turned V0, V1, V2, W2, W3, W4; T14 and T20..T23 the
// first half-turn's images of W4, V0, V4, V3, V2; T15..T19 the second
// half-turn's images of T9, T10, V3, V2, T8.
using Tile = tiles::Vertices<24>;

inline constexpr Point G1{0, 0, 0, 9};
inline constexpr Point G2{0, 1, 0, 9};
inline constexpr int latticeSize = 3;

// The three vertices the pentagon is completed with.
struct Completion {
  Point v1, v2, v3;
};

// V1 = G1 + 3√3 L e, V2 = G2 + 4√3 L e, V3 = G2 + 4L (e turned 30 degrees),
// with e the unit vector from G1 towards (2, 0). Stores the five edges
// V0-V1, V1-V2, V2-V3, V3-V4, V0-V4 (V0 = G1, V4 = G2).
Completion buildPentagon(Point g1, Point g2);
// The mirror image of x in the line through a and b. For a horizontal line
// that is exactly (x.x, 2 a.y - x.y); a and b at the same place give no line
// and x comes back unchanged.
Point mirrorPoint(Point x, Point a, Point b);
// Also stores the mirror image's edge W4-W3 in blue.
Tile buildTile(Point v0, Point v1, Point v2, Point v3, Point v4);
// The 24 edges; sides of neighbouring pentagons on one straight line are one
// segment.
void emitTile(const Tile& tile);
// n x n copies, moved by u = T17 - T4 along a row and v = T7 - T11 between
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

}  // namespace pentatile7
