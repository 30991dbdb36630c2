// mixtile6: regular hexagons and triangles alternating round every vertex.
// The tile is one hexagon with triangles on two neighbouring sides; a 7 x 7
// patch of it is stored as 490 black segments.
#pragma once

#include <cstddef>
#include <span>

#include "tiles/given.h"
#include "tiles/slots.h"

namespace mixtile6 {

// Vertices 1 to 8 in slots 1 to 8 of 30.
//  1..6  the hexagon, counter-clockwise; 1 and 4 are the given points.
//  7     apex of the triangle 4, 5, 7 outside side 4-5.
//  8     apex of the triangle 5, 6, 8 outside side 5-6.
using Tile = tiles::Tile<30>;
inline constexpr std::size_t vertexCount = 8;

inline constexpr Point givenA{0, 0, 0, 9};
inline constexpr Point givenB{5, 5, 0, 9};
inline constexpr int latticeSize = 7;

void buildTile(Tile& tile, Point a, Point b);
void emitTile(const Tile& tile);
// n x n copies, latticeSize unless told: U = vertex 5 - vertex 2 along a
// row, V = vertex 6 - vertex 3 between rows, 60 degrees apart.
void tileLattice(const Tile& tile, int n = latticeSize);
// The points the construction starts from, with the program's own values.
std::span<const tiles::GivenPoint> givenPoints();
// Everything buildScene() stores, but from these given points (in
// givenPoints() order) over an n x n patch. buildScene() is
// buildSceneFrom(the given values, latticeSize). A span of any other length
// stores nothing.
void buildSceneFrom(std::span<const Point> given, int n);
void buildScene();

}  // namespace mixtile6
