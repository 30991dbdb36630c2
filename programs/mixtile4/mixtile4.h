// mixtile4: regular dodecagons and triangles, every vertex surrounded by two
// dodecagons and a triangle. Only the dodecagon is stored: neighbouring
// copies meet edge to edge and the triangles are the gaps between three of
// them. A 6 x 6 patch is stored as 432 black segments.
#pragma once

#include <cstddef>
#include <span>

#include "tiles/given.h"
#include "tiles/slots.h"

namespace mixtile4 {

// Vertices 1 to 12 in slots 1 to 12 of 30: the dodecagon, clockwise; 1 and 7
// are the given points.
using Tile = tiles::Tile<30>;
inline constexpr std::size_t vertexCount = 12;

inline constexpr Point givenA{0, 0, 0, 9};
inline constexpr Point givenB{5, 5, 0, 9};
inline constexpr int latticeSize = 6;

void buildTile(Tile& tile, Point a, Point b);
void emitTile(const Tile& tile);
// n x n copies, latticeSize unless told: U = vertex 9 - vertex 4 along a
// row, V = vertex 7 - vertex 2 between rows, each twice the apothem, across
// opposite sides.
void tileLattice(const Tile& tile, int n = latticeSize);
// The points the construction starts from, with the program's own values.
std::span<const tiles::GivenPoint> givenPoints();
// Everything buildScene() stores, but from these given points (in
// givenPoints() order) over an n x n patch. buildScene() is
// buildSceneFrom(the given values, latticeSize). A span of any other length
// stores nothing.
void buildSceneFrom(std::span<const Point> given, int n);
void buildScene();

}  // namespace mixtile4
