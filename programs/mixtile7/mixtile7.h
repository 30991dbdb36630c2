// mixtile7: columns of squares alternating with columns of triangles, every
// vertex surrounded by three triangles and two squares. The tile is one
// square with a triangle on each of two opposite sides; an 8 x 8 patch of it
// is stored as 512 black segments of length 5.
#pragma once

#include <cstddef>
#include <span>

#include "tiles/given.h"
#include "tiles/slots.h"

namespace mixtile7 {

// Vertices 1 to 6 in slots 1 to 6 of 30.
//  1..4  the square, counter-clockwise; 1 and 3 are the given points.
//  5     apex of the triangle 2, 5, 3 outside side 2-3.
//  6     apex of the triangle 4, 6, 1 outside side 4-1.
using Tile = tiles::Tile<30>;
inline constexpr std::size_t vertexCount = 6;

inline constexpr Point givenA{0, 0, 0, 9};
inline constexpr Point givenB{5, 5, 0, 9};
inline constexpr int latticeSize = 8;

void buildTile(Tile& tile, Point a, Point b);
void emitTile(const Tile& tile);
// n x n copies, latticeSize unless told: U = vertex 4 - vertex 1 (one
// square up) along a row, V = vertex 6 - vertex 2 (one column pair left, half
// a square up) between rows.
void tileLattice(const Tile& tile, int n = latticeSize);
// The points the construction starts from, with the program's own values.
std::span<const tiles::GivenPoint> givenPoints();
// Everything buildScene() stores, but from these given points (in
// givenPoints() order) over an n x n patch. buildScene() is
// buildSceneFrom(the given values, latticeSize). A span of any other length
// stores nothing.
void buildSceneFrom(std::span<const Point> given, int n);
void buildScene();

}  // namespace mixtile7
