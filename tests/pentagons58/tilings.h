// The four pentagon tilings 5 to 8 as one table, so that every scene and
// geometry test runs over all of them alike.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "scene/scene.h"

namespace pentagons58 {

struct Vec {
  double x, y;
};

// The pentagon every tile is made of: side i runs from vertex i to i + 1,
// angle i is the interior angle at vertex i.
struct Pentagon {
  std::vector<double> sides;
  std::vector<double> angles;
  double area;
};

struct Camera {
  double centerX, centerY, eyeDistance;
};

struct Tiling {
  std::string name;
  // Stores everything the program stores before its window opens.
  std::function<void()> buildScene;
  // The program's tile, T0 first.
  std::function<std::vector<Point>()> tile;
  // An empty scene holding only what tileLattice of the program's tile
  // stores with count n.
  std::function<void(int)> lattice;

  int latticeSize;
  int edgesPerCopy;
  // Segments stored before the first copy.
  int storedBefore;
  // Of each copy's edges, the one that starts at T0.
  int edgeFromOrigin;
  int segmentCount;
  // Indices of segments stored in blue; all others are black.
  std::vector<int> blue;

  // The pentagons of one tile, by tile vertex.
  std::vector<std::vector<int>> pentagons;
  Pentagon shape;
  Vec u, v;  // the lattice vectors
  double cellArea;

  std::vector<double> lengths;
  double minX, maxX, minY, maxY;
  Camera camera;
  int distinctSegments;  // 0 where no count is known
};

const std::vector<Tiling>& tilings();

inline std::ostream& operator<<(std::ostream& out, const Tiling& t) {
  return out << t.name;
}

}  // namespace pentagons58
