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
  double x = 0, y = 0;
};

// The pentagon every tile is made of: side i runs from vertex i to i + 1,
// angle i is the interior angle at vertex i.
struct Pentagon {
  std::vector<double> sides;
  std::vector<double> angles;
  double area = 0;
};

struct Camera {
  double centerX = 0, centerY = 0, eyeDistance = 0;
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

  int latticeSize = 0;
  int edgesPerCopy = 0;
  int segmentCount = 0;
  // Segments stored before the first copy.
  int storedBefore = 0;
  // Of each copy's edges, the one that starts at T0.
  int edgeFromOrigin = 0;
  // Indices of segments stored in blue; all others are black.
  std::vector<int> blue;

  // The pentagons of one tile, by tile vertex.
  std::vector<std::vector<int>> pentagons;
  Pentagon shape;
  Vec u, v;  // the lattice vectors
  double cellArea = 0;

  std::vector<double> lengths;  // ascending
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
  Camera camera;
  int distinctSegments = 0;  // 0 where no count is known
};

const std::vector<Tiling>& tilings();

inline std::ostream& operator<<(std::ostream& out, const Tiling& t) {
  return out << t.name;
}

}  // namespace pentagons58
