// Reading a stored patch as the pattern it draws: segments cut at every
// vertex lying on them, edges covered by stored segments, and the copies of
// a tile in lattice order.
#pragma once

#include <cstddef>
#include <vector>

#include "scene/scene.h"

namespace patch {

inline constexpr double tol = 1e-3;

// Does p lie on segment s, ends included?
bool onSegment(const Point& p, const Segment& s, double tolerance = tol);
// The pattern's edges: every segment cut wherever a stored end point lies
// strictly inside it or another segment crosses it.
std::vector<Segment> patternEdges(const std::vector<Segment>& segments);
// How many stored segments run along the whole of edge e.
std::size_t coverCount(const std::vector<Segment>& segments, const Segment& e);

Point plus(const Point& p, const Point& offset);
// The vector from p to q.
Point between(const Point& p, const Point& q);
// The offset i * v + j * u of the copy in row i, column j.
Point latticeOffset(int i, int j, const Point& u, const Point& v);

// Are the two angle sequences the same going round, from any start and
// either way round?
bool sameCycle(const std::vector<double>& a, const std::vector<double>& b,
               double tolerance = 1e-2);

}  // namespace patch
