// Tiles held in numbered slots: a fixed array of points whose vertices are
// numbered from 1, with slot 0 and every slot above the vertex count left at
// the default point (0, 0, 0, colour 9). The multi-shape tilings build their
// tiles this way, each with its own vertex count N.
#pragma once

#include <array>
#include <cstddef>

#include "matrica/matrica"
#include "tiles/lattice.h"

namespace tiles {

// S slots, all starting at the default point.
template <std::size_t S>
using Tile = std::array<Point, S>;

// Copies vertices 1 to N of src into dst; slot 0 and the slots above N of dst
// keep whatever they hold.
template <std::size_t N, std::size_t S>
void copyTile(Tile<S>& dst, const Tile<S>& src) {
  static_assert(N < S, "vertices 1 to N must fit the slots");
  for (std::size_t k = 1; k <= N; ++k) dst[k] = src[k];
}

// dst becomes src moved by (v.x, v.y); dst and src may be the same tile.
template <std::size_t N, std::size_t S>
void translateTile(Tile<S>& dst, const Tile<S>& src, Point v) {
  const Matrix move = translationMatrix(v);
  copyTile<N>(dst, src);
  for (std::size_t k = 1; k <= N; ++k) transformPoint(move, dst[k]);
}

// Vertex k becomes the image of vertex source under m: first the copy, then
// the transformation in place.
template <std::size_t S>
void placeImage(Tile<S>& tile, std::size_t k, std::size_t source,
                const Matrix& m) {
  tile[k] = tile[source];
  transformPoint(m, tile[k]);
}

// A regular 2h-gon in vertices 1 to 2h from its opposite corners a (vertex 1)
// and b (vertex h + 1) and the turn of one step about their midpoint (negative
// for clockwise numbering): both halves are walked at once, vertex k from
// vertex k - 1 and vertex k + h from vertex k + h - 1.
template <std::size_t S>
void regularPolygon(Tile<S>& tile, Point a, Point b, std::size_t h,
                    float stepDegrees) {
  const Matrix step = rotationAbout(stepDegrees, midpoint(a, b));
  tile[1] = a;
  tile[h + 1] = b;
  for (std::size_t k = 2; k <= h; ++k) {
    tile[k] = tile[k - 1];
    tile[k + h] = tile[k + h - 1];
    transformPoint(step, tile[k]);
    transformPoint(step, tile[k + h]);
  }
}

// n x n copies of a slotted tile: the lattice loop with the copy moved into a
// fresh tile, so that only vertices 1 to N ever leave the default.
template <std::size_t N, std::size_t S, class Emit>
void slotLattice(int n, Point u, Point v, const Tile<S>& tile, Emit emit) {
  auto move = [](Point by, const Tile<S>& from) {
    Tile<S> moved{};
    translateTile<N>(moved, from, by);
    return moved;
  };
  latticeLoop(n, u, v, tile, move, emit);
}

}  // namespace tiles
