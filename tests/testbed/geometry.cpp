#include "tests/testbed/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace testbed {

double distance(const Point& p, const Point& q) {
  return std::hypot(double(q.x) - p.x, double(q.y) - p.y);
}

double length(const Segment& s) { return distance(s.a, s.b); }

static bool near(const Point& p, const Point& q, double tol) {
  return distance(p, q) <= tol;
}

bool sameEdge(const Segment& s, const Segment& t, double tol) {
  return (near(s.a, t.a, tol) && near(s.b, t.b, tol)) ||
         (near(s.a, t.b, tol) && near(s.b, t.a, tol));
}

std::size_t distinctEdgeCount(const std::vector<Segment>& segments,
                              double tol) {
  std::vector<Segment> distinct;
  for (const Segment& s : segments) {
    bool seen = std::any_of(distinct.begin(), distinct.end(),
                            [&](const Segment& t) { return sameEdge(s, t, tol); });
    if (!seen) distinct.push_back(s);
  }
  return distinct.size();
}

std::vector<double> lengthSet(const std::vector<Segment>& segments,
                              double tol) {
  std::vector<double> lengths;
  for (const Segment& s : segments) lengths.push_back(length(s));
  std::sort(lengths.begin(), lengths.end());
  std::vector<double> set;
  for (double l : lengths)
    if (set.empty() || l - set.back() > tol) set.push_back(l);
  return set;
}

Span span(const std::vector<Segment>& segments) {
  Span s{INFINITY, -INFINITY, INFINITY, -INFINITY};
  for (const Segment& seg : segments)
    for (const Point& p : {seg.a, seg.b}) {
      s.minX = std::min(s.minX, double(p.x));
      s.maxX = std::max(s.maxX, double(p.x));
      s.minY = std::min(s.minY, double(p.y));
      s.maxY = std::max(s.maxY, double(p.y));
    }
  return s;
}

double signedArea(const std::vector<Point>& polygon) {
  double twice = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const Point& p = polygon[i];
    const Point& q = polygon[(i + 1) % polygon.size()];
    twice += double(p.x) * q.y - double(q.x) * p.y;
  }
  return twice / 2;
}

std::vector<double> sideLengths(const std::vector<Point>& polygon) {
  std::vector<double> sides;
  for (std::size_t i = 0; i < polygon.size(); ++i)
    sides.push_back(distance(polygon[i], polygon[(i + 1) % polygon.size()]));
  return sides;
}

std::vector<double> interiorAngles(const std::vector<Point>& polygon) {
  const double orientation = signedArea(polygon) >= 0 ? 1 : -1;
  const std::size_t n = polygon.size();
  std::vector<double> angles;
  for (std::size_t i = 0; i < n; ++i) {
    const Point& prev = polygon[(i + n - 1) % n];
    const Point& here = polygon[i];
    const Point& next = polygon[(i + 1) % n];
    const double ax = double(prev.x) - here.x, ay = double(prev.y) - here.y;
    const double bx = double(next.x) - here.x, by = double(next.y) - here.y;
    // Counter-clockwise turn from the next side to the previous one, measured
    // inside the polygon.
    double turn = std::atan2(bx * ay - by * ax, bx * ax + by * ay) * 180 /
                  std::numbers::pi;
    turn *= orientation;
    if (turn < 0) turn += 360;
    angles.push_back(turn);
  }
  return angles;
}

std::vector<double> Star::gaps() const {
  std::vector<double> result;
  for (std::size_t i = 0; i < directions.size(); ++i) {
    double next = i + 1 < directions.size() ? directions[i + 1]
                                            : directions[0] + 360;
    result.push_back(next - directions[i]);
  }
  return result;
}

std::vector<Star> vertexStars(const std::vector<Segment>& segments,
                              double tol) {
  std::vector<Star> stars;
  auto starAt = [&](const Point& p) -> Star& {
    for (Star& s : stars)
      if (near(s.at, p, tol)) return s;
    stars.push_back(Star{p, {}});
    return stars.back();
  };
  auto addDirection = [&](const Point& from, const Point& to) {
    double d = std::atan2(double(to.y) - from.y, double(to.x) - from.x) * 180 /
               std::numbers::pi;
    if (d < 0) d += 360;
    std::vector<double>& dirs = starAt(from).directions;
    for (double e : dirs)
      if (std::fabs(e - d) < 1e-2 || std::fabs(std::fabs(e - d) - 360) < 1e-2)
        return;
    dirs.push_back(d);
  };
  for (const Segment& s : segments) {
    if (near(s.a, s.b, tol)) continue;
    addDirection(s.a, s.b);
    addDirection(s.b, s.a);
  }
  for (Star& s : stars) std::sort(s.directions.begin(), s.directions.end());
  return stars;
}

}  // namespace testbed
