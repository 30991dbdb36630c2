// mixtile2: regular hexagons ringed by equilateral triangles, with one
// rhombus of two triangles per tile. Several stored segments run straight
// through one or two further vertices, so one segment covers two or three
// edges of the pattern. A 6 x 6 patch of the tile is stored as 432 black
// segments.
#pragma once

#include <cstddef>
#include <span>

#include "tiles/given.h"
#include "tiles/slots.h"

namespace mixtile2 {

// Vertices 1 to 12 in slots 1 to 12 of 20.
//  1..6  the hexagon, counter-clockwise; 1 and 4 are the given points.
//  7     apex of the triangle 1, 6, 7 on side 6-1.
//  8     vertex 7 turned another 60 degrees about vertex 1.
//  9, 11 vertex 7 turned 60 and 120 degrees about the hexagon's centre.
//  10    vertex 9 turned 60 degrees about vertex 2.
//  12    vertex 11 turned 60 degrees about vertex 3.
using Tile = tiles::Tile<20>;
inline constexpr std::size_t vertexCount = 12;

inline constexpr Point givenA{0, 0, 0, 9};
inline constexpr Point givenB{4, 4, 0, 9};
inline constexpr int latticeSize = 6;

void buildTile(Tile& tile, Point a, Point b);
// Twelve segments, the long ones through further vertices. There is no
// segment 1-8: triangles 1, 7, 8 and 1, 8, 9 show as one rhombus.
void emitTile(const Tile& tile);
// n x n copies, latticeSize unless told: U = vertex 3 - vertex 8 along a
// row, V = vertex 5 - vertex 9 between rows.
void tileLattice(const Tile& tile, int n = latticeSize);
// The points the construction starts from, with the program's own values.
std::span<const tiles::GivenPoint> givenPoints();
// Everything buildScene() stores, but from these given points (in
// givenPoints() order) over an n x n patch. buildScene() is
// buildSceneFrom(the given values, latticeSize). A span of any other length
// stores nothing.
void buildSceneFrom(std::span<const Point> given, int n);
void buildScene();

}  // namespace mixtile2
