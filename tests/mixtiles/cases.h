// The eight tilings of this folder as one table: what each stores and the
// geometry its patch must have. Vertices are named by each program's own
// numbering (quadtile's A to F are 0 to 5).
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "scene/scene.h"
#include "tests/testbed/geometry.h"

namespace cases {

struct VertexAt {
  int k;
  double x, y;
};

// Edge p-q of a copy lies on edge r-s of the copy moved by du * U + dv * V.
struct Overlap {
  int p, q, r, s;
  int du, dv;
};

struct Tiling {
  std::string name;
  void (*buildScene)();
  // The tile after buildTile, every slot.
  std::function<std::vector<Point>()> tile;
  // The same tile after translateTile onto itself by a vector; empty for a
  // tile that is not held in numbered slots.
  std::function<std::vector<Point>(Point)> movedInPlace;
  std::size_t vertexCount;
  int n;
  int segmentsPerTile;
  std::size_t segmentCount;
  // The first copy's segments as vertex pairs, first end point first.
  std::vector<std::pair<int, int>> firstCopy;
  std::vector<VertexAt> vertices;  // to four decimals
  std::vector<double> lengths;     // ascending
  testbed::Span span;              // to four decimals
  Point u, v;                      // along a row, between rows
  std::vector<Overlap> overlaps;
  // Angles between consecutive edges round every interior vertex, in turn
  // (either way round), or as a set when anyOrder.
  std::vector<double> starGaps;
  bool anyOrder = false;
  // Vertices of the tile whose star differs, by their number.
  std::map<int, std::vector<double>> otherStars = {};
};

const std::vector<Tiling>& all();

// Test output names a case by its program.
void PrintTo(const Tiling& tiling, std::ostream* out);

}  // namespace cases
