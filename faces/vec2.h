// A point or a vector of the plane in doubles, and the few operations on it
// that the analysis, the periods and the symmetries all use.
#pragma once

#include <cmath>

namespace faces {

struct Vec2 {
  double x = 0, y = 0;
};

inline Vec2 plus(Vec2 p, Vec2 q) { return {p.x + q.x, p.y + q.y}; }
inline Vec2 minus(Vec2 p, Vec2 q) { return {p.x - q.x, p.y - q.y}; }
inline Vec2 times(double k, Vec2 p) { return {k * p.x, k * p.y}; }
inline double dot(Vec2 p, Vec2 q) { return p.x * q.x + p.y * q.y; }
inline double cross(Vec2 p, Vec2 q) { return p.x * q.y - p.y * q.x; }
// Plain sqrt rather than hypot: these lengths are far from overflow, and
// fits and searches take many of them.
inline double length(Vec2 p) { return std::sqrt(dot(p, p)); }

}  // namespace faces
