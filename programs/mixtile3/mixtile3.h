// mixtile3: regular dodecagons, hexagons and squares, every vertex
// surrounded by a square, a hexagon and a dodecagon. The tile is one
// dodecagon with squares on three alternate sides and the two hexagons
// between them; a 6 x 6 patch of it is stored as 972 black segments.
#pragma once

#include <cstddef>
#include <span>

#include "tiles/given.h"
#include "tiles/slots.h"

namespace mixtile3 {

// Vertices 1 to 22 in slots 1 to 22 of 30.
//  1..12   the dodecagon, clockwise; 1 and 7 are the given points.
//  13, 14  outer corners of the square 5, 6, 13, 14.
//  17, 18  outer corners of the square 3, 4, 17, 18.
//  21, 22  outer corners of the square 1, 2, 21, 22.
//  15, 16  far corners of the hexagon 4, 5, 14, 15, 16, 17.
//  19, 20  far corners of the hexagon 2, 3, 18, 19, 20, 21.
using Tile = tiles::Tile<30>;
inline constexpr std::size_t vertexCount = 22;

inline constexpr Point givenA{0, 0, 0, 9};
inline constexpr Point givenB{5, 5, 0, 9};
inline constexpr int latticeSize = 6;

void buildTile(Tile& tile, Point a, Point b);
void emitTile(const Tile& tile);
// n x n copies, latticeSize unless told: U = vertex 7 - vertex 21 along a
// row, V = vertex 8 - vertex 16 between rows.
void tileLattice(const Tile& tile, int n = latticeSize);
// The points the construction starts from, with the program's own values.
std::span<const tiles::GivenPoint> givenPoints();
// Everything buildScene() stores, but from these given points (in
// givenPoints() order) over an n x n patch. buildScene() is
// buildSceneFrom(the given values, latticeSize). A span of any other length
// stores nothing.
void buildSceneFrom(std::span<const Point> given, int n);
void buildScene();

}  // namespace mixtile3
