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

// Two periods of a lattice brought to its shortest (Lagrange and Gauss):
// the nearest multiple of the shorter is taken off the longer until none
// can be; each keeps its name.
inline void reduceBasis(Vec2& a, Vec2& b) {
  for (int step = 0; step < 100; ++step) {
    const bool aShorter = dot(a, a) <= dot(b, b);
    Vec2& shorter = aShorter ? a : b;
    Vec2& longer = aShorter ? b : a;
    const double k = std::round(dot(shorter, longer) / dot(shorter, shorter));
    if (k == 0) return;
    longer = minus(longer, times(k, shorter));
  }
}

// How far p lies from the segment s-e.
inline double distanceToSegment(Vec2 p, Vec2 s, Vec2 e) {
  const auto distance = [](Vec2 a, Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); };
  const double dx = e.x - s.x, dy = e.y - s.y, squared = dx * dx + dy * dy;
  const double t = squared > 0 ? ((p.x - s.x) * dx + (p.y - s.y) * dy) / squared : 0;
  if (!(t > 0)) return distance(p, s);
  if (t >= 1) return distance(p, e);
  return distance(p, {s.x + t * dx, s.y + t * dy});
}

}  // namespace faces
