// What each of the four pentagon tilings is meant to store, read off its
// geometry, next to hooks into the program's own construction.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "scene/scene.h"

namespace pentagons14 {

struct Xy {
  double x, y;
};

// Scene segment `index`, from `from` to `to`.
struct StoredEdge {
  std::size_t index;
  Xy from, to;
};

// A pentagon by tile vertex numbers, listed as the images of A, B, C, D, E.
using Pentagon = std::vector<int>;

// Tile vertex `at` is the midpoint of the side `from`-`to`.
struct Midpoint {
  int at, from, to;
};

struct Tiling {
  std::string name;
  std::function<void()> buildScene;          // all the program does before its window
  std::function<std::vector<Point>()> tile;  // buildTile of the given vertices
  std::function<void(int)> tileLattice;      // of that tile, with count n
  std::string words;                         // on standard output

  std::vector<Pentagon> congruent;           // the given pentagon first
  std::vector<double> sides, angles;         // of the given one; NaN: angle not stated
  double area;
  std::vector<Pentagon> joining;             // pentagons of another shape
  std::vector<double> joiningSides;
  double joiningArea, tileArea, cellArea;    // tileArea: all pentagons of one tile
  std::vector<Midpoint> midpoints;

  int count;                                 // n x n copies
  std::size_t edgesPerCopy;
  Xy u, v, lastCopy;                         // lastCopy: offset of the n²-th copy
  std::vector<StoredEdge> firstEdges;
  std::vector<double> lengths;               // ascending
  Xy spanMin, spanMax;
  std::size_t distinct;                      // 0: not stated
};

const std::vector<Tiling>& tilings();

inline void PrintTo(const Tiling& t, std::ostream* os) { *os << t.name; }

template <class Tile>
std::vector<Point> asVector(const Tile& tile) {
  return std::vector<Point>(tile.begin(), tile.end());
}

}  // namespace pentagons14
