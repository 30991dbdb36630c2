// Faces cut into triangles for filling: GL fills only convex polygons
// whole, and a reshaped tile need not be convex.
#pragma once

#include <span>
#include <vector>

#include "faces/faces.h"

namespace explore {

// Appends the triangles of a simple polygon, corners counter-clockwise, to
// `out` as corner triples. A polygon no ear can be cut from (folded onto
// itself) is finished as a fan.
void triangulate(std::span<const faces::Vec2> polygon, std::vector<faces::Vec2>& out);

}  // namespace explore
