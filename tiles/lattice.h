// The lattice loop that repeats a tile over an n x n patch by two
// translations, and the tile translation it uses.
//
// The copy in row i, column j is the tile moved by i*v + j*u, emitted with i
// outer and j inner. Along a row each copy is the previous one moved by u, so
// the moves accumulate one transformPoint at a time; each row starts afresh
// from the given tile, moved by (i)*v in one step.
#pragma once

#include <array>
#include <cstddef>

#include "matrica/matrica"
#include "tiles/points.h"

namespace tiles {

// A tile as a fixed list of vertex points under the program's own numbering.
template <std::size_t N>
using Vertices = std::array<Point, N>;

// The tile moved by (v.x, v.y): one translation matrix applied to copies of
// the vertices, first to last.
template <std::size_t N>
Vertices<N> translateTile(Point v, const Vertices<N>& tile) {
  const Matrix move = translationMatrix(v);
  Vertices<N> moved = tile;
  for (Point& p : moved) transformPoint(move, p);
  return moved;
}

// Moves the tile so that `first`, the point its vertex 0 stands for, lies at
// the origin: vertex 0 becomes exactly (0, 0), every other vertex is moved
// by -first with one transformPoint.
template <std::size_t N>
void moveToOrigin(Vertices<N>& tile, Point first) {
  const Matrix back = translationMatrix(Point{-first.x, -first.y, 0, 9});
  tile[0].x = 0;
  tile[0].y = 0;
  for (std::size_t k = 1; k < N; ++k) transformPoint(back, tile[k]);
}

// Emits n x n copies of tile. move(vector, tile) returns the tile moved by
// the vector; emit(tile) stores one copy. n <= 0 emits nothing.
template <class Tile, class Move, class Emit>
void latticeLoop(int n, Point u, Point v, const Tile& tile, Move move,
                 Emit emit) {
  if (n <= 0) return;
  Tile current = tile;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      emit(current);
      current = move(u, current);
    }
    current = move(scaledVector(static_cast<float>(i + 1), v), tile);
  }
}

// The loop for tiles held as Vertices<N>.
template <std::size_t N, class Emit>
void latticeLoop(int n, Point u, Point v, const Vertices<N>& tile, Emit emit) {
  latticeLoop(n, u, v, tile, translateTile<N>, emit);
}

}  // namespace tiles
