// mixtile5: regular octagons and squares, every vertex surrounded by two
// octagons and a square. Only the octagon is stored: neighbouring copies
// meet edge to edge and the squares are the gaps between four of them. A
// 6 x 6 patch is stored as 288 black segments.
#pragma once

#include <cstddef>
#include <span>

#include "tiles/given.h"
#include "tiles/slots.h"

namespace mixtile5 {

// Vertices 1 to 8 in slots 1 to 8 of 30: the octagon, clockwise; 1 and 5 are
// the given points.
using Tile = tiles::Tile<30>;
inline constexpr std::size_t vertexCount = 8;

inline constexpr Point givenA{0, 0, 0, 9};
inline constexpr Point givenB{5, 5, 0, 9};
inline constexpr int latticeSize = 6;

void buildTile(Tile& tile, Point a, Point b);
void emitTile(const Tile& tile);
// n x n copies, latticeSize unless told: U = vertex 2 - vertex 5 along a
// row, V = vertex 7 - vertex 4 between rows, perpendicular, each twice the
// apothem.
void tileLattice(const Tile& tile, int n = latticeSize);
// The points the construction starts from, with the program's own values.
std::span<const tiles::GivenPoint> givenPoints();
// Everything buildScene() stores, but from these given points (in
// givenPoints() order) over an n x n patch. buildScene() is
// buildSceneFrom(the given values, latticeSize). A span of any other length
// stores nothing.
void buildSceneFrom(std::span<const Point> given, int n);
void buildScene();

}  // namespace mixtile5
