// The drawn segments made exact where they are meant to meet: end points
// closer than weldRadius become one point (their mean), an end point that
// close to the inside of another segment cuts it there, and copies of one
// edge become one segment. What is left to node is where segments cross.
#pragma once

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

#include "faces/faces.h"
#include "faces/grid_hash.h"

namespace faces {

// The drawn coordinates carry float noise of about 1e-5; the shapes of the
// tilings differ by far more than 1e-2.
inline constexpr double weldRadius = 2e-3;

struct Welded {
  std::vector<Vec2> points;
  std::vector<std::pair<int, int>> segments;  // indices into points, lower first
};

// Welds end points and leaves out duplicates and segments of no length.
Welded weldEnds(std::span<const Segment2> drawn);

// The welded segments filed by the cells they pass through, so that the few
// that run near a point are found without scanning them all.
class SegmentCells {
 public:
  explicit SegmentCells(const Welded& w);
  // Calls visit(k), once or more, for every segment k that passes within
  // half a cell of p, and maybe for others.
  template <class Visit>
  void forNear(Vec2 p, Visit visit) const { cells_.forNear(p, visit); }
  // The same for every segment that passes near segment k.
  template <class Visit>
  void forNearSegment(const Welded& w, int k, Visit visit) const {
    forSamples(w, k, [&](Vec2 p) { cells_.forNear(p, visit); });
  }

 private:
  // Points along segment k no more than half a cell apart, ends included.
  template <class Visit>
  void forSamples(const Welded& w, int k, Visit visit) const;

  double cell_;
  GridHash cells_;
};

// How many pairs of segments cross, counting no further than `limit`.
std::size_t countCrossings(const Welded& w, const SegmentCells& cells, std::size_t limit);

// Cuts every segment at the welded points that lie on it (within
// weldRadius, away from its ends), then leaves out the copies this makes.
void cutAtPoints(Welded& w, const SegmentCells& cells);

}  // namespace faces
