// Which copies of a unit, repeated by two periods, meet a view of the
// plane: the endless drawing needs only those.
#pragma once

#include <span>
#include <vector>

#include "shape/layout.h"

namespace explore {

using shape::Layout;
using shape::Vec;

// Rows i (along v) and columns j (along u) of copies, both ranges whole.
struct CellRange {
  int i0 = 0, i1 = -1, j0 = 0, j1 = -1;
  long long count() const;
};

// The unit's reach in lattice coordinates: a point of the unit is a u + b v
// with a and b within these bounds.
struct UnitExtent {
  double a0 = 0, a1 = 0, b0 = 0, b1 = 0;
};

// Do u and v span the plane, rather than (nearly) one line?
bool spanPlane(Vec u, Vec v);

// The lattice coordinates (a, b) of p = a u + b v; false when u and v do not
// span the plane.
bool latticeCoordinates(Vec p, Vec u, Vec v, double& a, double& b);

// The unit's reach in lattice coordinates; all zero when u and v do not
// span the plane.
UnitExtent extentOf(std::span<const Segment> unit, Vec u, Vec v);

// The copies i v + j u of a unit of that extent that may meet the convex
// region with these corners (in drawing coordinates, any order).
CellRange cellsMeeting(std::span<const Vec> corners, Vec u, Vec v, const UnitExtent& unit);

// At most `most` copies: the range cut down evenly about the middle.
CellRange atMost(CellRange range, long long most);

}  // namespace explore
