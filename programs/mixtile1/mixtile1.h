// mixtile1: regular hexagons, squares and triangles, every vertex surrounded
// by a hexagon, a square, a triangle and a square. The tile is one hexagon
// with squares on three consecutive sides and the two triangles between
// them; a 10 x 10 patch of it is stored as 1700 black segments of length
// 2 * sqrt(2).
#pragma once

#include <cstddef>
#include <span>

#include "tiles/given.h"
#include "tiles/slots.h"

namespace mixtile1 {

// Vertices 1 to 12 in slots 1 to 12 of 20.
//  1..6   the hexagon, counter-clockwise; 1 and 4 are the given points.
//  7, 8   outer corners of the square 6, 7, 8, 1.
//  9, 10  outer corners of the square 1, 9, 10, 2.
//  11, 12 outer corners of the square 2, 11, 12, 3.
// Triangles 1, 8, 9 and 2, 10, 11 fill the gaps between the squares.
using Tile = tiles::Tile<20>;
inline constexpr std::size_t vertexCount = 12;

inline constexpr Point givenA{0, 0, 0, 9};
inline constexpr Point givenB{4, 4, 0, 9};
inline constexpr int latticeSize = 10;

// Writes vertices 1 to 12 from the opposite hexagon corners a and b.
void buildTile(Tile& tile, Point a, Point b);
void emitTile(const Tile& tile);
// n x n copies, latticeSize unless told: U = vertex 4 - vertex 7 along a
// row, V = vertex 9 - vertex 5 between rows.
void tileLattice(const Tile& tile, int n = latticeSize);
// The points the construction starts from, with the program's own values.
std::span<const tiles::GivenPoint> givenPoints();
// Everything buildScene() stores, but from these given points (in
// givenPoints() order) over an n x n patch. buildScene() is
// buildSceneFrom(the given values, latticeSize). A span of any other length
// stores nothing.
void buildSceneFrom(std::span<const Point> given, int n);
void buildScene();

}  // namespace mixtile1
