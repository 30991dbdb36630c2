#include "tests/mixtiles/patch.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "tests/testbed/geometry.h"

namespace patch {

bool onSegment(const Point& p, const Segment& s, double tolerance) {
  const double dx = double(s.b.x) - s.a.x, dy = double(s.b.y) - s.a.y;
  const double px = double(p.x) - s.a.x, py = double(p.y) - s.a.y;
  const double len = std::hypot(dx, dy);
  if (len == 0) return std::hypot(px, py) <= tolerance;
  const double along = (px * dx + py * dy) / len;
  const double across = std::fabs(px * dy - py * dx) / len;
  return across <= tolerance && along >= -tolerance && along <= len + tolerance;
}

std::vector<Segment> patternEdges(const std::vector<Segment>& segments) {
  std::vector<Point> vertices;
  auto addVertex = [&](const Point& p) {
    for (const Point& q : vertices)
      if (testbed::distance(p, q) <= tol) return;
    vertices.push_back(p);
  };
  for (const Segment& s : segments) {
    addVertex(s.a);
    addVertex(s.b);
  }
  // Where two segments cross: a vertex that no stored segment ends at.
  for (std::size_t i = 0; i < segments.size(); ++i)
    for (std::size_t j = i + 1; j < segments.size(); ++j) {
      const Segment& s = segments[i];
      const Segment& t = segments[j];
      const double rx = double(s.b.x) - s.a.x, ry = double(s.b.y) - s.a.y;
      const double qx = double(t.b.x) - t.a.x, qy = double(t.b.y) - t.a.y;
      const double cross = rx * qy - ry * qx;
      // Parallel, or the same edge stored twice with float noise.
      if (std::fabs(cross) < 1e-4 * std::hypot(rx, ry) * std::hypot(qx, qy))
        continue;
      const double wx = double(t.a.x) - s.a.x, wy = double(t.a.y) - s.a.y;
      const double along = (wx * qy - wy * qx) / cross;
      const Point at{float(s.a.x + along * rx), float(s.a.y + along * ry), 0, 9};
      if (onSegment(at, s) && onSegment(at, t)) addVertex(at);
    }

  std::vector<Segment> edges;
  for (const Segment& s : segments) {
    const double len = testbed::length(s);
    std::vector<std::pair<double, Point>> cuts{{0.0, s.a}, {len, s.b}};
    for (const Point& v : vertices) {
      if (!onSegment(v, s)) continue;
      const double at = testbed::distance(s.a, v);
      if (at > tol && at < len - tol) cuts.push_back({at, v});
    }
    std::sort(cuts.begin(), cuts.end(),
              [](const auto& l, const auto& r) { return l.first < r.first; });
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k)
      edges.push_back(Segment{cuts[k].second, cuts[k + 1].second, s.color});
  }
  return edges;
}

std::size_t coverCount(const std::vector<Segment>& segments,
                       const Segment& e) {
  return std::count_if(segments.begin(), segments.end(), [&](const Segment& s) {
    return onSegment(e.a, s) && onSegment(e.b, s);
  });
}

Point plus(const Point& p, const Point& offset) {
  return Point{p.x + offset.x, p.y + offset.y, p.z, p.color};
}

Point between(const Point& p, const Point& q) {
  return Point{q.x - p.x, q.y - p.y, 0, 9};
}

Point latticeOffset(int i, int j, const Point& u, const Point& v) {
  return Point{float(double(i) * v.x + double(j) * u.x),
               float(double(i) * v.y + double(j) * u.y), 0, 9};
}

bool sameCycle(const std::vector<double>& a, const std::vector<double>& b,
               double tolerance) {
  if (a.size() != b.size()) return false;
  const std::size_t n = a.size();
  for (int way : {1, -1})
    for (std::size_t start = 0; start < n; ++start) {
      bool all = true;
      for (std::size_t k = 0; k < n && all; ++k) {
        const std::size_t step = way > 0 ? k : n - k;
        all = std::fabs(a[(start + step) % n] - b[k]) <= tolerance;
      }
      if (all) return true;
    }
  return n == 0;
}

}  // namespace patch
