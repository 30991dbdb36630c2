#include "family/moves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "family/congruent.h"
#include "family/linear.h"

namespace family {

namespace {

using faces::cross;
using faces::dot;
using faces::length;
using faces::minus;
using faces::plus;
using faces::times;

// A tile's corner turning less than this (a sine) has gone straight.
constexpr double cornerSine = 2e-3;
// Closest a corner may come to a side of its tile that it is not on, as a
// share of the period's size, and at least this far in the plane: the face
// analysis welds points nearer than 0.002.
constexpr double clearance = 0.004;
constexpr double leastClearance = 0.005;
// How far the period may shrink or grow from where it started.
constexpr double leastScale = 0.2, mostScale = 5;
// A tile thinner and smaller than these shares of the typical tile is a
// sliver (the face analysis says so at 0.1 and 0.05).
constexpr double sliverWidth = 0.12, sliverArea = 0.06;
// Nor may every tile be squashed alike: a tile's width stays above this
// share of the typical tile's size (the period's area shared among them).
constexpr double leastWidth = 0.04;
// Halvings when a move stops at the last shape that tiles.
constexpr int searchSteps = 16;

double degreesOf(double radians) { return radians * 180 / std::numbers::pi; }

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
  return v[v.size() / 2];
}

using faces::distanceToSegment;

double segmentsApart(Vec2 a, Vec2 b, Vec2 c, Vec2 d) {
  const double abc = cross(minus(b, a), minus(c, a)), abd = cross(minus(b, a), minus(d, a));
  const double cda = cross(minus(d, c), minus(a, c)), cdb = cross(minus(d, c), minus(b, c));
  if (((abc > 0) != (abd > 0)) && ((cda > 0) != (cdb > 0))) return 0;
  return std::min({distanceToSegment(a, c, d), distanceToSegment(b, c, d), distanceToSegment(c, a, b),
                   distanceToSegment(d, a, b)});
}

// Of the face's corners at ring places `candidates`, the orbit to name: one
// that can move, if any.
int blamed(const Family& f, const Face& face, std::initializer_list<std::size_t> candidates) {
  int named = -1;
  for (std::size_t k : candidates) {
    const int orbit = f.vertices[face.ring[k % face.ring.size()].vertex].orbit;
    if (orbit < 0) continue;  // a crossing follows the sides
    if (named < 0) named = orbit;
    if (f.orbits[orbit].free > 0) return orbit;
  }
  return named;
}

Fault faultAt(const Family& f, int orbit, const std::string& what) {
  return {orbit, (orbit >= 0 ? f.orbits[orbit].name + " " : std::string("the periods ")) + what};
}

Vec2 toLattice(const Family& f, const Shape& s, Vec2 p) {
  const Vec2 d = minus(p, f.origin);
  const double det = cross(s.u, s.v);
  return {cross(d, s.v) / det, cross(s.u, d) / det};
}

using symmetry::inverse;
Vec2 map(const Matrix& m, Vec2 p) { return symmetry::applyLinear(m, p); }

Vec2 along(const Shape& s, Vec2 st) { return {st.x * s.u.x + st.y * s.v.x, st.x * s.u.y + st.y * s.v.y}; }

// Orbit k's representative aimed at lattice place `target`, held to its
// freedom, with everything else as it is.
Shape aimed(const Family& f, const Shape& s, const std::vector<Vec2>& st, int k, Vec2 target) {
  Shape out = s;
  const Orbit& o = f.orbits[k];
  if (o.straight && !o.crossing) {
    const Vec2 a = {st[o.straight->from.vertex].x + o.straight->from.i,
                    st[o.straight->from.vertex].y + o.straight->from.j};
    const Vec2 c = {st[o.straight->to.vertex].x + o.straight->to.i,
                    st[o.straight->to.vertex].y + o.straight->to.j};
    const Vec2 d = along(s, minus(c, a));
    out.t[k] = dot(along(s, minus(target, a)), d) / dot(d, d);
  } else if (o.free == 2) {
    out.at[k] = target;
  } else if (o.free == 1) {
    const Vec2 d = along(s, o.along);
    const double lambda = dot(along(s, minus(target, s.at[k])), d) / dot(d, d);
    out.at[k] = plus(s.at[k], times(lambda, o.along));
  }
  return out;
}

Shape blend(const Shape& a, const Shape& b, double w) {
  Shape out = a;
  out.u = plus(a.u, times(w, minus(b.u, a.u)));
  out.v = plus(a.v, times(w, minus(b.v, a.v)));
  for (std::size_t k = 0; k < a.at.size(); ++k) {
    out.at[k] = plus(a.at[k], times(w, minus(b.at[k], a.at[k])));
    out.t[k] = a.t[k] + w * (b.t[k] - a.t[k]);
  }
  for (std::size_t e = 0; e < a.bends.size() && e < b.bends.size(); ++e)
    if (a.bends[e].size() == b.bends[e].size())
      for (std::size_t k = 0; k < a.bends[e].size(); ++k)
        out.bends[e][k] = plus(a.bends[e][k], times(w, minus(b.bends[e][k], a.bends[e][k])));
  return out;
}

// The candidate when it tiles; otherwise the last shape toward it that
// does, and what stopped it.
bool goToward(const Family& f, Shape& s, const Shape& candidate, Fault* stopped) {
  const std::optional<Fault> fault = faultOf(f, candidate);
  if (!fault) {
    s = candidate;
    return true;
  }
  if (stopped) *stopped = *fault;
  if (faultOf(f, s)) return false;
  double good = 0, bad = 1;
  for (int k = 0; k < searchSteps; ++k) {
    const double mid = (good + bad) / 2;
    (faultOf(f, blend(s, candidate, mid)) ? bad : good) = mid;
  }
  if (good == 0) return false;
  s = blend(s, candidate, good);
  return true;
}

bool finite(Vec2 p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

std::optional<Fault> faultOf(const Family& f, const Shape& s) {
  const double det = cross(s.u, s.v);
  if (!(det > 0) || !std::isfinite(det)) return faultAt(f, -1, "fold onto one line");
  const double size = std::sqrt(det);
  if (size < leastScale * f.size) return faultAt(f, -1, "shrink too far");
  if (size > mostScale * f.size) return faultAt(f, -1, "grow too far");
  const double near = std::max(clearance * size, leastClearance);
  const std::vector<Vec2> st = placed(f, s);
  std::vector<double> angleSum(f.vertices.size(), 0), widths, areas;
  for (int fi = 0; fi < int(f.faces.size()); ++fi) {
    const Face& face = f.faces[fi];
    const std::size_t n = face.ring.size();
    // A piece where copies overlap is as thin as they make it: it only
    // stays whole, its points further apart than the analysis welds.
    const double apartAtLeast = face.overlap ? leastClearance : near;
    const Outline outline = outlineOf(f, s, st, fi);
    const std::vector<Vec2>& p = outline.points;
    const std::size_t m = p.size();
    // Where each corner of the ring is in the outline.
    std::vector<std::size_t> at(n);
    for (std::size_t i = m; i-- > 0;) at[std::size_t(outline.side[i])] = i;
    for (std::size_t i = 0; i < m; ++i)
      if (!finite(p[i])) return faultAt(f, blamed(f, face, {std::size_t(outline.side[i])}), "is not a number");
    double area = 0, perimeter = 0;
    for (std::size_t i = 0; i < m; ++i) {
      area += cross(p[i], p[(i + 1) % m]) / 2;
      perimeter += length(minus(p[(i + 1) % m], p[i]));
    }
    if (!(area > 0)) return faultAt(f, blamed(f, face, {0, 1, 2, 3, 4, 5}), "folds a tile");
    widths.push_back(2 * area / perimeter);
    areas.push_back(area);
    for (std::size_t k = 0; k < n; ++k) {
      const Vec2 corner = p[at[k]];
      const Vec2 in = minus(corner, p[(at[k] + m - 1) % m]), out = minus(p[(at[k] + 1) % m], corner);
      if (length(minus(p[at[(k + 1) % n]], corner)) < apartAtLeast)
        return faultAt(f, blamed(f, face, {k, k + 1}), "meets its neighbour");
      const double turn = std::atan2(cross(in, out), dot(in, out));
      angleSum[face.ring[k].vertex] += 180 - degreesOf(turn);
      if (!face.straight[k] && dot(in, out) > 0 &&
          std::abs(cross(in, out)) < cornerSine * length(in) * length(out))
        return faultAt(f, blamed(f, face, {k, k + n - 1, k + 1}), "straightens a corner of a tile");
    }
    // No side comes near another it does not meet at a corner; a side
    // crosses neither itself nor its neighbours.
    for (std::size_t a = 0; a < m; ++a)
      for (std::size_t b = a + 2; b < m; ++b) {
        if (a == 0 && b == m - 1) continue;
        const int sa = outline.side[a], sb = outline.side[b];
        const bool neighbours = sa == sb || (sa + 1) % int(n) == sb || (sb + 1) % int(n) == sa;
        const double apart = segmentsApart(p[a], p[(a + 1) % m], p[b], p[(b + 1) % m]);
        if (neighbours ? apart > 0 : apart >= apartAtLeast) continue;
        for (const int side : {sa, sb}) {
          const int orbit = f.edges[face.side[std::size_t(side)]].orbit;
          if (!s.bends[std::size_t(orbit)].empty())
            return Fault{-1, f.edgeOrbits[std::size_t(orbit)].name + " crosses an edge"};
        }
        return faultAt(f, blamed(f, face, {std::size_t(sa), std::size_t(sa) + 1, std::size_t(sb), std::size_t(sb) + 1}),
                       "folds a tile");
      }
  }
  for (std::size_t v = 0; v < f.vertices.size(); ++v)
    if (std::abs(angleSum[v] - 360) > 0.01)
      return faultAt(f, f.vertices[v].orbit, "lays tiles over each other");
  std::vector<double> tileWidths, tileAreas;
  for (std::size_t k = 0; k < f.faces.size(); ++k)
    if (!f.faces[k].overlap) tileWidths.push_back(widths[k]), tileAreas.push_back(areas[k]);
  const double typicalSize = std::sqrt(det / double(std::max<std::size_t>(tileWidths.size(), 1)));
  for (std::size_t k = 0; k < f.faces.size(); ++k)
    if (!f.faces[k].overlap && widths[k] < leastWidth * typicalSize)
      return faultAt(f, blamed(f, f.faces[k], {0, 1, 2, 3, 4, 5}), "squashes a tile");
  const double typicalWidth = median(tileWidths), typicalArea = median(tileAreas);
  for (std::size_t k = 0; k < f.faces.size(); ++k)
    if (!f.faces[k].overlap && widths[k] < sliverWidth * typicalWidth && areas[k] < sliverArea * typicalArea)
      return faultAt(f, blamed(f, f.faces[k], {0, 1, 2, 3, 4, 5}), "thins a tile to a sliver");
  return std::nullopt;
}

bool moveVertex(const Family& f, Shape& s, Corner handle, Vec2 to, const TileKeeping* keep, Fault* stopped) {
  if (!finite(to) || handle.vertex < 0 || handle.vertex >= int(f.vertices.size())) return false;
  const Vertex& w = f.vertices[handle.vertex];
  if (f.orbits[w.orbit].free == 0) return false;
  const Vec2 here = minus(toLattice(f, s, to), {double(handle.i), double(handle.j)});
  const Vec2 target = map(inverse(w.image.m), minus(here, w.image.c));
  if (!finite(target)) return false;
  const Shape candidate = aimed(f, s, placed(f, s), w.orbit, target);
  if (keep) return moveKeepingTiles(f, s, candidate, *keep, w.orbit, stopped);
  return goToward(f, s, candidate, stopped);
}

void heldPeriods(const Family& f, Vec2& u, Vec2& v) {
  const Vector<4> b{u.x, u.y, v.x, v.y};
  Vector<4> out{};
  for (const auto& n : f.lattice) {
    const double a = dotOf(b, n);
    for (int k = 0; k < 4; ++k) out[k] += a * n[k];
  }
  u = {out[0], out[1]};
  v = {out[2], out[3]};
}

bool movePeriod(const Family& f, Shape& s, int which, Vec2 to, const TileKeeping* keep, Fault* stopped) {
  if (!finite(to) || (which != 0 && which != 1) || f.lattice.empty()) return false;
  // The allowed periods nearest the wanted one, the other moving as little
  // as the group lets it: least squares on the basis's coefficients.
  const std::size_t n = f.lattice.size();
  const Vector<4> now{s.u.x, s.u.y, s.v.x, s.v.y};
  constexpr double settle = 1e-6;
  std::vector<std::vector<double>> a(n, std::vector<double>(n + 1, 0));
  const int first = which * 2;
  for (std::size_t r = 0; r < n; ++r) {
    for (std::size_t c = 0; c < n; ++c)
      a[r][c] = f.lattice[r][first] * f.lattice[c][first] +
                f.lattice[r][first + 1] * f.lattice[c][first + 1] + (r == c ? settle : 0);
    a[r][n] = f.lattice[r][first] * to.x + f.lattice[r][first + 1] * to.y + settle * dotOf(f.lattice[r], now);
  }
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t pivot = c;
    for (std::size_t r = c + 1; r < n; ++r)
      if (std::abs(a[r][c]) > std::abs(a[pivot][c])) pivot = r;
    std::swap(a[c], a[pivot]);
    for (std::size_t r = 0; r < n; ++r) {
      if (r == c) continue;
      const double k = a[r][c] / a[c][c];
      for (std::size_t x = c; x <= n; ++x) a[r][x] -= k * a[c][x];
    }
  }
  Vector<4> b{};
  for (std::size_t r = 0; r < n; ++r)
    for (int k = 0; k < 4; ++k) b[k] += a[r][n] / a[r][r] * f.lattice[r][k];
  Shape candidate = s;
  candidate.u = {b[0], b[1]};
  candidate.v = {b[2], b[3]};
  if (!finite(candidate.u) || !finite(candidate.v)) return false;
  if (keep) return moveKeepingTiles(f, s, candidate, *keep, -1, stopped);
  return goToward(f, s, candidate, stopped);
}

double placeRepresentative(const Family& f, Shape& s, int k, Vec2 to, bool nearestCopy) {
  if (!finite(to)) return INFINITY;
  const std::vector<Vec2> st = placed(f, s);
  const Vec2 here = st[f.orbits[k].representative];
  Vec2 target = toLattice(f, s, to);
  if (nearestCopy) target = minus(target, {std::round(target.x - here.x), std::round(target.y - here.y)});
  s = aimed(f, s, st, k, target);
  return length(along(s, minus(placed(f, s)[f.orbits[k].representative], target)));
}

namespace {

// The bend point a place on edge class `edge` stands for: in the
// representative's shares, on the first half for the symmetric shapes.
Vec2 representativeShares(const Family& f, const Shape& s, const std::vector<Vec2>& st, int edge, Vec2 at) {
  const Edge& e = f.edges[edge];
  Vec2 r = toSideShares(f, s, st, edge, at);
  const EdgeShape shape = f.edgeOrbits[e.orbit].shape;
  if (r.x > 0.5 && shape == EdgeShape::halfTurn) r = {1 - r.x, -r.y};
  if (r.x > 0.5 && shape == EdgeShape::mirror) r = {1 - r.x, r.y};
  return r;
}

}  // namespace

std::optional<Bend> addBend(const Family& f, Shape& s, int edge, Vec2 at, std::string& why,
                            const TileKeeping* keep) {
  if (edge < 0 || edge >= int(f.edges.size()) || !finite(at)) return std::nullopt;
  if (const auto refused = keep ? bendRefused(f, *keep, edge) : std::nullopt) {
    why = *refused;
    return std::nullopt;
  }
  const int orbit = f.edges[edge].orbit;
  const EdgeOrbit& o = f.edgeOrbits[orbit];
  if (o.shape == EdgeShape::straight) {
    why = o.name + " " + o.straightWhy;
    return std::nullopt;
  }
  std::vector<Vec2>& points = s.bends[orbit];
  if (points.size() >= mostBendPoints) {
    why = o.name + " has " + std::to_string(mostBendPoints) + " bend points already";
    return std::nullopt;
  }
  Vec2 r = representativeShares(f, s, placed(f, s), edge, at);
  const double last = o.shape == EdgeShape::free ? 1 : 0.5;
  r.x = std::clamp(r.x, 0.02, last - 0.02);
  const auto place = std::find_if(points.begin(), points.end(), [&](Vec2 p) { return p.x > r.x; });
  const int index = int(place - points.begin());
  points.insert(place, r);
  if (faultOf(f, s)) {
    points.erase(points.begin() + index);
    why = o.name + " cannot bend there";
    return std::nullopt;
  }
  return Bend{orbit, index};
}

bool moveBend(const Family& f, Shape& s, int edge, Bend bend, Vec2 to, const TileKeeping* keep, Fault* stopped) {
  if (edge < 0 || edge >= int(f.edges.size()) || !finite(to) || f.edges[edge].orbit != bend.orbit) return false;
  if (const auto refused = keep ? bendRefused(f, *keep, edge) : std::nullopt) {
    if (stopped) *stopped = {-1, *refused};
    return false;
  }
  if (bend.index < 0 || bend.index >= int(s.bends[bend.orbit].size())) return false;
  Shape candidate = s;
  Vec2 r = representativeShares(f, s, placed(f, s), edge, to);
  const double last = f.edgeOrbits[bend.orbit].shape == EdgeShape::free ? 1 : 0.5;
  r.x = std::clamp(r.x, 0.0, last);
  candidate.bends[bend.orbit][bend.index] = r;
  return goToward(f, s, candidate, stopped);
}

bool removeBend(Shape& s, Bend bend) {
  if (bend.orbit < 0 || bend.orbit >= int(s.bends.size())) return false;
  std::vector<Vec2>& points = s.bends[bend.orbit];
  if (bend.index < 0 || bend.index >= int(points.size())) return false;
  points.erase(points.begin() + bend.index);
  return true;
}

Vec2 bendAt(const Family& f, const Shape& s, const std::vector<Vec2>& st, int edge, Bend bend) {
  const std::array<Vec2, 2> ends = sideEnds(f, s, st, edge);
  return fromEdgeShares(ends[0], ends[1], onSide(f.sides[std::size_t(f.edges[edge].side)], s.bends[bend.orbit][bend.index]));
}

Shape carriedOver(const Family& from, const Shape& s, const Family& to) {
  const std::vector<Vec2> st = placed(from, s);
  Shape out;
  out.u = s.u;
  out.v = s.v;
  heldPeriods(to, out.u, out.v);
  for (const Orbit& o : to.orbits) {
    out.at.push_back(st[o.representative]);
    out.t.push_back(0);
  }
  out.bends.assign(to.edgeOrbits.size(), {});
  out.smooth = s.smooth;
  // Sides after their ends, each representative aimed where it was.
  for (int k : to.order) out = aimed(to, out, placed(to, out), k, st[to.orbits[k].representative]);
  return out;
}

Vec2 representativeAt(const Family& f, const Shape& s, int k) {
  return planeOf(f, s, placed(f, s)[f.orbits[k].representative]);
}

}  // namespace family
