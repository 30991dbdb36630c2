#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>

#include "faces/grid_hash.h"
#include "faces/subdivision.h"

namespace faces {

namespace {

// One GEOS context for one subdivision, with its errors turned into
// exceptions.
class Geos {
 public:
  Geos() : ctx_(GEOS_init_r()) {
    GEOSContext_setErrorMessageHandler_r(ctx_, &Geos::onError, &error_);
  }
  ~Geos() { GEOS_finish_r(ctx_); }
  Geos(const Geos&) = delete;
  Geos& operator=(const Geos&) = delete;

  GEOSContextHandle_t ctx() const { return ctx_; }

  struct Free {
    GEOSContextHandle_t ctx;
    void operator()(GEOSGeometry* g) const { GEOSGeom_destroy_r(ctx, g); }
  };
  using Owned = std::unique_ptr<GEOSGeometry, Free>;

  Owned own(GEOSGeometry* g) const {
    if (g == nullptr) throw std::runtime_error("GEOS: " + error_);
    return Owned(g, Free{ctx_});
  }

 private:
  static void onError(const char* message, void* userdata) {
    *static_cast<std::string*>(userdata) = message;
  }
  GEOSContextHandle_t ctx_;
  std::string error_ = "failed";
};

// Union-find over end point indices.
struct Clusters {
  std::vector<int> parent;
  explicit Clusters(std::size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }
  int root(int i) {
    while (parent[i] != i) i = parent[i] = parent[parent[i]];
    return i;
  }
  void join(int a, int b) { parent[root(a)] = root(b); }
};

// The drawn segments with end points that lie within weldRadius of each
// other moved to their common mean, duplicates and points left out.
struct Welded {
  std::vector<Vec2> points;
  std::vector<std::pair<int, int>> segments;  // indices into points
};

Welded weld(std::span<const Segment2> drawn) {
  std::vector<Vec2> ends;
  ends.reserve(drawn.size() * 2);
  for (const Segment2& s : drawn) {
    ends.push_back(s.a);
    ends.push_back(s.b);
  }
  Clusters clusters(ends.size());
  GridHash hash(weldRadius);
  for (int i = 0; i < int(ends.size()); ++i) {
    hash.forNear(ends[i], [&](int j) {
      if (std::hypot(ends[i].x - ends[j].x, ends[i].y - ends[j].y) <= weldRadius)
        clusters.join(i, j);
    });
    hash.insert(ends[i], i);
  }

  Welded w;
  std::vector<int> index(ends.size(), -1);
  std::vector<int> members;
  for (int i = 0; i < int(ends.size()); ++i) {
    const int r = clusters.root(i);
    if (index[r] < 0) {
      index[r] = int(w.points.size());
      w.points.push_back({0, 0});
      members.push_back(0);
    }
    index[i] = index[r];
    w.points[index[i]].x += ends[i].x;
    w.points[index[i]].y += ends[i].y;
    ++members[index[i]];
  }
  for (std::size_t k = 0; k < w.points.size(); ++k) {
    w.points[k].x /= members[k];
    w.points[k].y /= members[k];
  }

  std::unordered_map<std::uint64_t, bool> seen;
  for (std::size_t s = 0; s < drawn.size(); ++s) {
    int a = index[2 * s], b = index[2 * s + 1];
    if (a == b) continue;
    if (a > b) std::swap(a, b);
    const std::uint64_t key = (std::uint64_t(a) << 32) | std::uint32_t(b);
    if (seen.emplace(key, true).second) w.segments.emplace_back(a, b);
  }
  return w;
}

Geos::Owned lineWork(const Geos& geos, const Welded& w) {
  std::vector<GEOSGeometry*> lines;
  lines.reserve(w.segments.size());
  for (auto [a, b] : w.segments) {
    const double xy[4] = {w.points[a].x, w.points[a].y, w.points[b].x, w.points[b].y};
    GEOSCoordSequence* seq = GEOSCoordSeq_copyFromBuffer_r(geos.ctx(), xy, 2, 0, 0);
    lines.push_back(GEOSGeom_createLineString_r(geos.ctx(), seq));
  }
  return geos.own(GEOSGeom_createCollection_r(geos.ctx(), GEOS_MULTILINESTRING, lines.data(),
                                              unsigned(lines.size())));
}

// The coordinates of a line string or ring.
std::vector<Vec2> coordinates(const Geos& geos, const GEOSGeometry* g) {
  const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(geos.ctx(), g);
  unsigned n = 0;
  GEOSCoordSeq_getSize_r(geos.ctx(), seq, &n);
  std::vector<Vec2> out(n);
  if (n > 0) GEOSCoordSeq_copyToBuffer_r(geos.ctx(), seq, &out[0].x, 0, 0);
  return out;
}

template <class Visit>
void forEachPart(const Geos& geos, const GEOSGeometry* collection, Visit visit) {
  const int n = GEOSGetNumGeometries_r(geos.ctx(), collection);
  for (int i = 0; i < n; ++i) visit(GEOSGetGeometryN_r(geos.ctx(), collection, i));
}

// The welded segments filed by the cells they pass through, so that the
// few that run near a point are found without scanning them all. A segment
// is sampled every half cell; any point on it lies within half a cell of a
// sample, so the nine cells around the point hold it.
class SegmentCells {
 public:
  explicit SegmentCells(const Welded& w) : cell_(cellSize(w)), cells_(cell_) {
    for (int k = 0; k < int(w.segments.size()); ++k)
      forSamples(w, k, [&](Vec2 p) { cells_.insert(p, k); });
  }

  // Calls visit(k) for every segment filed near p, once or more.
  template <class Visit>
  void forNear(Vec2 p, Visit visit) const { cells_.forNear(p, visit); }

  // Calls visit(j) for every segment filed near segment k, once or more.
  template <class Visit>
  void forNearSegment(const Welded& w, int k, Visit visit) const {
    forSamples(w, k, [&](Vec2 p) { cells_.forNear(p, visit); });
  }

 private:
  // About one cell per segment over the drawing's extent, never finer than
  // a few noding steps.
  static double cellSize(const Welded& w) {
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (Vec2 p : w.points) {
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    const double extent = std::max(maxX - minX, maxY - minY);
    const double perSegment = extent / std::sqrt(double(std::max<std::size_t>(w.segments.size(), 1)));
    return std::max(perSegment, 8 * nodingGrid);
  }

  // Points along segment k no more than half a cell apart, ends included.
  template <class Visit>
  void forSamples(const Welded& w, int k, Visit visit) const {
    const Vec2 s = w.points[w.segments[k].first], e = w.points[w.segments[k].second];
    const double steps = std::ceil(2 * std::hypot(e.x - s.x, e.y - s.y) / cell_);
    const int n = int(std::min(steps, 1e6));
    for (int i = 0; i <= n; ++i) {
      const double t = n == 0 ? 0 : double(i) / n;
      visit(Vec2{s.x + t * (e.x - s.x), s.y + t * (e.y - s.y)});
    }
  }

  double cell_;
  GridHash cells_;
};

// Whether segments p-q and r-s cross: each pair of ends on opposite sides
// of the other segment's line.
bool crosses(Vec2 p, Vec2 q, Vec2 r, Vec2 s) {
  auto side = [](Vec2 a, Vec2 b, Vec2 c) {
    const double d = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    return (d > 0) - (d < 0);
  };
  return side(p, q, r) * side(p, q, s) < 0 && side(r, s, p) * side(r, s, q) < 0;
}

// How many pairs of segments cross, counting no further than `limit`.
std::size_t countCrossings(const Welded& w, const SegmentCells& cells, std::size_t limit) {
  std::size_t found = 0;
  std::vector<int> lastSeen(w.segments.size(), -1);
  for (int k = 0; k < int(w.segments.size()) && found < limit; ++k) {
    const auto [a, b] = w.segments[k];
    cells.forNearSegment(w, k, [&](int j) {
      if (j <= k || lastSeen[j] == k) return;
      lastSeen[j] = k;
      const auto [c, d] = w.segments[j];
      if (a == c || a == d || b == c || b == d) return;
      found += crosses(w.points[a], w.points[b], w.points[c], w.points[d]);
    });
  }
  return found;
}

// Nodes of the noded line work, found by their grid position, with the
// position they have in the drawing.
class NodeTable {
 public:
  NodeTable(const Welded& w, const SegmentCells& segments)
      : welded_(w), ends_(nodingGrid * 4), segments_(segments) {
    for (int i = 0; i < int(w.points.size()); ++i) ends_.insert(w.points[i], i);
  }

  int find(Vec2 p, Subdivision& sub) {
    const std::uint64_t key = (std::uint64_t(std::uint32_t(std::llround(p.x / nodingGrid))) << 32) |
                              std::uint32_t(std::llround(p.y / nodingGrid));
    auto [it, fresh] = ids_.try_emplace(key, int(sub.nodes.size()));
    if (fresh) sub.nodes.push_back(locate(p));
    return it->second;
  }

 private:
  // A grid point close to a welded end point is that end point; any other
  // is where drawn segments cross, found again from the segments.
  Node locate(Vec2 p) {
    int best = -1;
    double bestDistance = 2 * nodingGrid;
    ends_.forNear(p, [&](int i) {
      const double d = std::hypot(p.x - welded_.points[i].x, p.y - welded_.points[i].y);
      if (d < bestDistance) best = i, bestDistance = d;
    });
    if (best >= 0) return {welded_.points[best], true};
    return {crossingNear(p), false};
  }

  // Where two of the segments that pass within two noding steps of p cross.
  Vec2 crossingNear(Vec2 p) {
    std::vector<std::pair<Vec2, Vec2>> through;
    std::vector<int> seen;
    segments_.forNear(p, [&](int k) {
      if (std::find(seen.begin(), seen.end(), k) != seen.end()) return;
      seen.push_back(k);
      const Vec2 s = welded_.points[welded_.segments[k].first];
      const Vec2 e = welded_.points[welded_.segments[k].second];
      const double dx = e.x - s.x, dy = e.y - s.y, len = std::hypot(dx, dy);
      const double off = std::abs((p.x - s.x) * dy - (p.y - s.y) * dx) / len;
      const double along = ((p.x - s.x) * dx + (p.y - s.y) * dy) / len;
      if (off < 2 * nodingGrid && along > -nodingGrid && along < len + nodingGrid)
        through.emplace_back(s, Vec2{dx, dy});
    });
    for (std::size_t i = 0; i < through.size(); ++i)
      for (std::size_t j = i + 1; j < through.size(); ++j) {
        const auto [s, d] = through[i];
        const auto [t, f] = through[j];
        const double det = d.x * f.y - d.y * f.x;
        if (std::abs(det) < 1e-9 * std::hypot(d.x, d.y) * std::hypot(f.x, f.y)) continue;
        const double k = ((t.x - s.x) * f.y - (t.y - s.y) * f.x) / det;
        return {s.x + k * d.x, s.y + k * d.y};
      }
    return p;
  }

  const Welded& welded_;
  GridHash ends_;
  const SegmentCells& segments_;
  std::unordered_map<std::uint64_t, int> ids_;
};

double ringArea(const Subdivision& sub, const std::vector<int>& ring) {
  double twice = 0;
  for (std::size_t k = 0; k < ring.size(); ++k) {
    const Vec2 p = sub.nodes[ring[k]].at, q = sub.nodes[ring[(k + 1) % ring.size()]].at;
    twice += p.x * q.y - q.x * p.y;
  }
  return twice / 2;
}

Vec2 pointOn(const Geos& geos, const GEOSGeometry* line) {
  const std::vector<Vec2> c = coordinates(geos, line);
  if (c.size() < 2) return c.empty() ? Vec2{} : c[0];
  return {(c[0].x + c[1].x) / 2, (c[0].y + c[1].y) / 2};
}

std::uint64_t edgeKey(int from, int to) {
  return (std::uint64_t(std::uint32_t(from)) << 32) | std::uint32_t(to);
}

void readFaces(const Geos& geos, const GEOSGeometry* polygons, NodeTable& table,
               Subdivision& sub) {
  forEachPart(geos, polygons, [&](const GEOSGeometry* polygon) {
    std::vector<Vec2> c = coordinates(geos, GEOSGetExteriorRing_r(geos.ctx(), polygon));
    if (c.size() < 4) return;
    c.pop_back();  // the ring repeats its first point
    std::vector<int> ring;
    for (Vec2 p : c) {
      const int id = table.find(p, sub);
      if (ring.empty() || ring.back() != id) ring.push_back(id);
    }
    if (ring.size() > 1 && ring.front() == ring.back()) ring.pop_back();
    if (ring.size() < 3) return;
    if (ringArea(sub, ring) < 0) std::reverse(ring.begin(), ring.end());
    sub.rings.push_back(std::move(ring));
  });
}

void readSpokes(const Geos& geos, const GEOSGeometry* noded, NodeTable& table, Subdivision& sub) {
  std::vector<std::pair<int, int>> edges;
  forEachPart(geos, noded, [&](const GEOSGeometry* line) {
    const std::vector<Vec2> c = coordinates(geos, line);
    for (std::size_t k = 0; k + 1 < c.size(); ++k) {
      const int a = table.find(c[k], sub), b = table.find(c[k + 1], sub);
      if (a != b) edges.emplace_back(std::min(a, b), std::max(a, b));
    }
  });
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

  std::unordered_map<std::uint64_t, int> leftOf;
  for (int f = 0; f < int(sub.rings.size()); ++f) {
    const std::vector<int>& r = sub.rings[f];
    for (std::size_t k = 0; k < r.size(); ++k) leftOf[edgeKey(r[k], r[(k + 1) % r.size()])] = f;
  }
  auto faceLeftOf = [&](int from, int to) {
    const auto it = leftOf.find(edgeKey(from, to));
    return it == leftOf.end() ? -1 : it->second;
  };

  sub.spokes.assign(sub.nodes.size(), {});
  for (auto [a, b] : edges) {
    const Vec2 p = sub.nodes[a].at, q = sub.nodes[b].at;
    sub.spokes[a].push_back({b, faceLeftOf(a, b), std::atan2(q.y - p.y, q.x - p.x)});
    sub.spokes[b].push_back({a, faceLeftOf(b, a), std::atan2(p.y - q.y, p.x - q.x)});
  }
  for (std::vector<Spoke>& s : sub.spokes)
    std::sort(s.begin(), s.end(), [](const Spoke& l, const Spoke& r) { return l.angle < r.angle; });
}

// The spoke of `node` just clockwise of the one towards `from`: walking
// from `from` through `node` on, it keeps the same face on the left.
const Spoke& nextAlongFace(const Subdivision& sub, int from, int node) {
  const std::vector<Spoke>& s = sub.spokes[node];
  for (std::size_t k = 0; k < s.size(); ++k)
    if (s[k].to == from) return s[(k + s.size() - 1) % s.size()];
  return s.front();
}

// The outer boundary of the connected line work round `leftmost`, its
// leftmost node, walked clockwise with the outside on the left. The outside
// holds the direction pointing left, between the last spoke and the first.
// Dangling edges are walked both ways and add no area.
std::vector<int> outerBoundary(const Subdivision& sub, int leftmost) {
  const int first = sub.spokes[leftmost].back().to;
  std::vector<int> walk{leftmost};
  int from = leftmost, node = first;
  // A face walk takes each directed edge at most once.
  std::size_t limit = 2;
  for (const std::vector<Spoke>& s : sub.spokes) limit += s.size();
  while (!(from == leftmost && node == first && walk.size() > 1) && walk.size() < limit) {
    walk.push_back(node);
    const int next = nextAlongFace(sub, from, node).to;
    from = node;
    node = next;
  }
  walk.pop_back();  // back at the start
  return walk;
}

bool inside(const Subdivision& sub, const std::vector<int>& ring, Vec2 p) {
  bool in = false;
  for (std::size_t k = 0, j = ring.size() - 1; k < ring.size(); j = k++) {
    const Vec2 a = sub.nodes[ring[k]].at, b = sub.nodes[ring[j]].at;
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
      in = !in;
  }
  return in;
}

// The area of the region the edges enclose, found from the line work alone
// (not from the faces): the outer boundary of each connected piece, less
// the pieces that lie inside another.
double enclosedArea(const Subdivision& sub) {
  std::vector<int> piece(sub.nodes.size(), -1);
  std::vector<std::vector<int>> boundaries;
  for (int start = 0; start < int(sub.nodes.size()); ++start) {
    if (piece[start] >= 0 || sub.spokes[start].empty()) continue;
    const int id = int(boundaries.size());
    std::vector<int> todo{start};
    piece[start] = id;
    int leftmost = start;
    while (!todo.empty()) {
      const int n = todo.back();
      todo.pop_back();
      const Vec2 p = sub.nodes[n].at, l = sub.nodes[leftmost].at;
      if (p.x < l.x || (p.x == l.x && p.y < l.y)) leftmost = n;
      for (const Spoke& s : sub.spokes[n])
        if (piece[s.to] < 0) piece[s.to] = id, todo.push_back(s.to);
    }
    boundaries.push_back(outerBoundary(sub, leftmost));
  }
  double area = 0;
  for (std::size_t i = 0; i < boundaries.size(); ++i) {
    bool nested = false;
    for (std::size_t j = 0; j < boundaries.size() && !nested; ++j)
      nested = j != i && inside(sub, boundaries[j], sub.nodes[boundaries[i][0]].at);
    if (!nested) area += std::abs(ringArea(sub, boundaries[i]));
  }
  return area;
}

}  // namespace

Subdivision subdivide(std::span<const Segment2> segments) {
  for (const Segment2& s : segments)
    if (!std::isfinite(s.a.x) || !std::isfinite(s.a.y) || !std::isfinite(s.b.x) ||
        !std::isfinite(s.b.y))
      throw std::invalid_argument("a segment has a coordinate that is not a finite number");

  Subdivision sub;
  const Welded welded = weld(segments);
  if (welded.segments.empty()) return sub;

  // Noding a tangle of segments that cross each other at every turn takes
  // GEOS minutes; such a drawing is refused at once.
  const SegmentCells cells(welded);
  if (countCrossings(welded, cells, maxCrossings) >= maxCrossings)
    throw std::invalid_argument("the segments cross each other more than " +
                                std::to_string(maxCrossings) + " times: too tangled to analyse");

  Geos geos;
  const Geos::Owned lines = lineWork(geos, welded);
  const Geos::Owned noded = geos.own(GEOSUnaryUnionPrec_r(geos.ctx(), lines.get(), nodingGrid));
  GEOSGeometry *cuts = nullptr, *dangles = nullptr, *invalid = nullptr;
  const Geos::Owned polygons =
      geos.own(GEOSPolygonize_full_r(geos.ctx(), noded.get(), &cuts, &dangles, &invalid));
  const Geos::Owned ownedCuts = geos.own(cuts), ownedDangles = geos.own(dangles),
                    ownedInvalid = geos.own(invalid);

  NodeTable table(welded, cells);
  readFaces(geos, polygons.get(), table, sub);
  readSpokes(geos, noded.get(), table, sub);
  forEachPart(geos, ownedDangles.get(),
              [&](const GEOSGeometry* g) { sub.dangles.push_back(pointOn(geos, g)); });
  forEachPart(geos, ownedCuts.get(),
              [&](const GEOSGeometry* g) { sub.cuts.push_back(pointOn(geos, g)); });

  sub.enclosedArea = enclosedArea(sub);
  return sub;
}

}  // namespace faces
