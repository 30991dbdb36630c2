#include "shape/reach.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace shape {

namespace {

// Distances as shares of the program's own shape size.
constexpr double coincide = 0.01;   // two points closer than this are one
constexpr double flat = 0.01;       // corners closer than this to one line
constexpr double touching = 0.005;  // a corner this close to another side
constexpr double farOut = 10;       // a point this far from the shape's middle
constexpr double reach = 12;        // the box a dragged point stays in
constexpr double sceneReach = 1000; // no sane scene draws beyond this

double distance(Point p, Point q) { return std::hypot(double(p.x) - q.x, double(p.y) - q.y); }

// Twice the signed area of the triangle p, q, r.
double cross(Point p, Point q, Point r) {
  return (double(q.x) - p.x) * (double(r.y) - p.y) - (double(q.y) - p.y) * (double(r.x) - p.x);
}

double distanceToSide(Point x, Point a, Point b) {
  const double ex = double(b.x) - a.x, ey = double(b.y) - a.y, length2 = ex * ex + ey * ey;
  double t = length2 > 0 ? ((double(x.x) - a.x) * ex + (double(x.y) - a.y) * ey) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(x.x - (a.x + t * ex), x.y - (a.y + t * ey));
}

bool properlyCross(Point a, Point b, Point c, Point d) {
  const double abc = cross(a, b, c), abd = cross(a, b, d);
  const double cda = cross(c, d, a), cdb = cross(c, d, b);
  return ((abc > 0 && abd < 0) || (abc < 0 && abd > 0)) &&
         ((cda > 0 && cdb < 0) || (cda < 0 && cdb > 0));
}

// "A and B", "A, B and C".
std::string listed(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (k > 0) text += k + 1 == names.size() ? " and " : ", ";
    text += names[k];
  }
  return text;
}

std::optional<std::string> coincidence(std::span<const tiles::GivenPoint> names,
                                       std::span<const Point> p, double size) {
  for (std::size_t i = 0; i < p.size(); ++i)
    for (std::size_t j = i + 1; j < p.size(); ++j)
      if (distance(p[i], p[j]) < coincide * size)
        return "degenerate: " + listed({names[i].name, names[j].name}) + " coincide";
  return std::nullopt;
}

// All corners near the line through the two farthest apart.
std::optional<std::string> collinearity(std::span<const tiles::GivenPoint> names,
                                        std::span<const Point> p) {
  std::size_t a = 0, b = 0;
  for (std::size_t i = 0; i < p.size(); ++i)
    for (std::size_t j = i + 1; j < p.size(); ++j)
      if (distance(p[i], p[j]) > distance(p[a], p[b])) a = i, b = j;
  const double length = distance(p[a], p[b]);
  for (const Point& x : p)
    if (std::abs(cross(p[a], p[b], x)) / length > flat * length) return std::nullopt;
  std::vector<std::string> all;
  for (const tiles::GivenPoint& g : names) all.push_back(g.name);
  return "degenerate: " + listed(all) + " are collinear";
}

// Two sides of the polygon that are not neighbours cross or touch.
std::optional<std::string> selfCrossing(std::span<const tiles::GivenPoint> names,
                                        std::span<const Point> p, double size) {
  const std::size_t n = p.size();
  auto side = [&](std::size_t k) {
    return std::string(names[k].name) + "-" + names[(k + 1) % n].name;
  };
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i + 2; j < n; ++j) {
      if (i == 0 && j == n - 1) continue;  // neighbours round the end
      const Point a = p[i], b = p[(i + 1) % n], c = p[j], d = p[(j + 1) % n];
      const bool touch = std::min({distanceToSide(a, c, d), distanceToSide(b, c, d),
                                   distanceToSide(c, a, b), distanceToSide(d, a, b)}) <
                         touching * size;
      if (touch || properlyCross(a, b, c, d))
        return "degenerate: sides " + side(i) + " and " + side(j) + " cross";
    }
  return std::nullopt;
}

bool finite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

std::optional<std::string> degeneracy(std::span<const tiles::GivenPoint> names,
                                      std::span<const Point> points, const Layout& layout) {
  if (names.size() != points.size()) return "degenerate: the points do not fit the program";
  for (std::size_t k = 0; k < points.size(); ++k) {
    const Point& p = points[k];
    if (!finite(p)) return "degenerate: " + std::string(names[k].name) + " is not a number";
    if (std::hypot(p.x - layout.centre.x, p.y - layout.centre.y) > farOut * layout.size)
      return "degenerate: " + std::string(names[k].name) + " thrown too far";
  }
  if (auto what = coincidence(names, points, layout.size)) return what;
  if (layout.corners) {
    if (auto what = collinearity(names, points)) return what;
    if (auto what = selfCrossing(names, points, layout.size)) return what;
  }
  return std::nullopt;
}

std::optional<std::string> sceneDegeneracy(const SceneStore& scene, const Layout& layout) {
  const double limit =
      sceneReach * layout.size + std::abs(layout.centre.x) + std::abs(layout.centre.y);
  for (const Segment& s : scene.segments)
    for (const Point& p : {s.a, s.b})
      if (!finite(p) || std::abs(p.x) > limit || std::abs(p.y) > limit)
        return "degenerate: the construction throws its drawing too far";
  return std::nullopt;
}

Point heldInReach(Point p, const Layout& layout) {
  const double r = reach * layout.size;
  const double x = std::isfinite(p.x) ? p.x : layout.centre.x;
  const double y = std::isfinite(p.y) ? p.y : layout.centre.y;
  p.x = float(std::clamp(x, layout.centre.x - r, layout.centre.x + r));
  p.y = float(std::clamp(y, layout.centre.y - r, layout.centre.y + r));
  p.z = 0;
  return p;
}

}  // namespace shape
