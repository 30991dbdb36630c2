// The planar subdivision a set of segments draws, before any measuring: end
// points welded (faces/weld.h), the segments noded and polygonized by GEOS,
// and the topology read back as nodes, the edges around each node and the
// face on each side.
#pragma once

#include <span>
#include <vector>

#include "faces/faces.h"

namespace faces {

// More crossings than this and the drawing is refused as too tangled.
inline constexpr std::size_t maxCrossings = 5000;

struct Node {
  Vec2 at;             // a welded end point, or where GEOS found segments cross
  bool endPoint;       // a drawn segment ends here; otherwise segments cross here
};

// An edge leaving a node, and the face on its left (-1: none, the outside).
struct Spoke {
  int to;
  int leftFace;
  double angle;  // direction, radians
};

struct Subdivision {
  std::vector<Node> nodes;
  std::vector<std::vector<int>> rings;     // per face, its nodes counter-clockwise
  std::vector<std::vector<Spoke>> spokes;  // per node, counter-clockwise by angle
  std::vector<Vec2> dangles, cuts;         // a point on each such edge
  double enclosedArea = 0;                 // of the union of all faces
};

// Throws std::invalid_argument for a non-finite coordinate or a drawing
// whose segments cross more than maxCrossings times, run too closely along
// one another by the thousand, or meet too many at one point.
Subdivision subdivide(std::span<const Segment2> segments);

}  // namespace faces
