// Drawings for the symmetry tests: polygons drawn as segments, and a
// drawing moved, turned, mirrored and scaled as a whole.
#pragma once

#include <vector>

#include "faces/faces.h"
#include "faces/periods.h"

namespace symmetry_test {

using faces::Segment2;
using faces::Vec2;

// Each polygon's sides, corner k to corner k + 1.
std::vector<Segment2> outlines(const std::vector<std::vector<Vec2>>& polygons);

// A similarity of the plane: mirror in the x axis (when asked), scale,
// turn by `turn` degrees, then move by `shift`.
struct Placement {
  const char* name;
  double turn = 0, scale = 1;
  bool mirrored = false;
  Vec2 shift;
  Vec2 operator()(Vec2 p) const;
};

std::vector<Segment2> placed(const std::vector<Segment2>& drawing, const Placement& where);

}  // namespace symmetry_test
