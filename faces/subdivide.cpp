#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <numbers>
#include <numeric>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>

#include "faces/grid_hash.h"
#include "faces/nesting.h"
#include "faces/subdivision.h"
#include "faces/weld.h"

namespace faces {

namespace {

// GEOS's polygonizer spends time on every edge at a node for each face
// there: the number of edges at each node squared, added up, may not pass
// this. A rosette of 20 000 triangles round one point is about the most.
constexpr double maxNodeLoad = 5e8;

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

GEOSGeometry* line(const Geos& geos, const Welded& w, int k) {
  const Vec2 a = w.points[w.segments[k].first], b = w.points[w.segments[k].second];
  const double xy[4] = {a.x, a.y, b.x, b.y};
  GEOSCoordSequence* seq = GEOSCoordSeq_copyFromBuffer_r(geos.ctx(), xy, 2, 0, 0);
  return GEOSGeom_createLineString_r(geos.ctx(), seq);
}

Geos::Owned lineWork(const Geos& geos, std::vector<GEOSGeometry*> lines) {
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

// Whether every point of a piece lies on segment k, up to rounding.
bool liesAlong(const std::vector<Vec2>& piece, const Welded& w, int k) {
  const Vec2 s = w.points[w.segments[k].first], e = w.points[w.segments[k].second];
  const double dx = e.x - s.x, dy = e.y - s.y, length = std::hypot(dx, dy);
  const double slack = 1e-9 * (length + std::abs(s.x) + std::abs(s.y) + std::abs(e.x) + std::abs(e.y));
  for (Vec2 p : piece) {
    const double along = ((p.x - s.x) * dx + (p.y - s.y) * dy) / length;
    const double off = std::abs((p.x - s.x) * dy - (p.y - s.y) * dx) / length;
    if (!(off <= slack && along >= -slack && along <= length + slack)) return false;
  }
  return true;
}

// The welded segments noded where they cross. GEOS nodes only the segments
// that cross or touch another (`tangled`, from entangled): noding them all,
// it would spend time on every pair that shares an end point, minutes for a
// point where thousands meet.
// The rest meet the others only at their own end points and are kept whole.
// GEOS gives each segment's pieces in the segments' order, one after the
// other, and the whole is put together in that same order, just as if GEOS
// had noded everything.
Geos::Owned nodedLineWork(const Geos& geos, const Welded& w, const std::vector<char>& tangled) {
  std::vector<int> tangledOnes;
  std::vector<GEOSGeometry*> lines;
  for (int k = 0; k < int(w.segments.size()); ++k)
    if (tangled[k]) tangledOnes.push_back(k), lines.push_back(line(geos, w, k));
  std::vector<std::vector<const GEOSGeometry*>> piecesOf(w.segments.size());
  Geos::Owned noded;
  if (!tangledOnes.empty()) {
    noded = geos.own(GEOSNode_r(geos.ctx(), lineWork(geos, lines).get()));
    // A piece that does not lie along the current segment starts a later one.
    std::size_t t = 0;
    forEachPart(geos, noded.get(), [&](const GEOSGeometry* piece) {
      const std::vector<Vec2> c = coordinates(geos, piece);
      std::size_t u = t;
      while (u < tangledOnes.size() && !liesAlong(c, w, tangledOnes[u])) ++u;
      if (u < tangledOnes.size()) t = u;
      piecesOf[tangledOnes[t]].push_back(piece);
    });
  }
  lines.clear();
  for (int k = 0; k < int(w.segments.size()); ++k) {
    if (!tangled[k]) lines.push_back(line(geos, w, k));
    for (const GEOSGeometry* piece : piecesOf[k]) lines.push_back(GEOSGeom_clone_r(geos.ctx(), piece));
  }
  return lineWork(geos, lines);
}

// The nodes of the noded line work. Where segments meet at a welded point,
// the node is that point; where GEOS found them crossing, it is the point
// it computed, and crossing points closer than the weld radius (three
// lines through one point, computed pair by pair) are one node.
class NodeTable {
 public:
  explicit NodeTable(const Welded& w)
      : welded_(w), ends_(weldRadius), nodeOfEnd_(w.points.size(), -1), crossings_(weldRadius) {
    for (int i = 0; i < int(w.points.size()); ++i) ends_.insert(w.points[i], i);
  }

  int find(Vec2 p, Subdivision& sub) {
    std::uint64_t x, y;
    std::memcpy(&x, &p.x, sizeof x);
    std::memcpy(&y, &p.y, sizeof y);
    const std::uint64_t key = x * 0x9e3779b97f4a7c15ull ^ y;
    const auto known = ids_.find(key);
    if (known != ids_.end()) {
      for (auto [at, id] : known->second)
        if (at.x == p.x && at.y == p.y) return id;
    }
    const int id = locate(p, sub);
    ids_[key].emplace_back(p, id);
    return id;
  }

 private:
  int locate(Vec2 p, Subdivision& sub) {
    const int end = nearest(ends_, p, [&](int i) { return welded_.points[i]; });
    if (end >= 0) {
      if (nodeOfEnd_[end] < 0) nodeOfEnd_[end] = add(sub, {welded_.points[end], true});
      return nodeOfEnd_[end];
    }
    const int crossing = nearest(crossings_, p, [&](int n) { return sub.nodes[n].at; });
    if (crossing >= 0) return crossing;
    const int id = add(sub, {p, false});
    crossings_.insert(p, id);
    return id;
  }

  template <class Position>
  static int nearest(const GridHash& hash, Vec2 p, Position position) {
    int best = -1;
    double bestDistance = weldRadius;
    hash.forNear(p, [&](int i) {
      const Vec2 q = position(i);
      const double d = std::sqrt((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y));
      if (d <= bestDistance) best = i, bestDistance = d;
    });
    return best;
  }

  static int add(Subdivision& sub, Node node) {
    sub.nodes.push_back(node);
    return int(sub.nodes.size()) - 1;
  }

  const Welded& welded_;
  GridHash ends_;
  std::vector<int> nodeOfEnd_;
  GridHash crossings_;
  std::unordered_map<std::uint64_t, std::vector<std::pair<Vec2, int>>> ids_;
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
  // The spoke towards `from` has the very angle readSpokes gave it: found
  // by halving, not by a scan round a node where thousands of edges meet.
  const Vec2 p = sub.nodes[node].at, q = sub.nodes[from].at;
  const double angle = std::atan2(q.y - p.y, q.x - p.x);
  auto k = std::lower_bound(s.begin(), s.end(), angle,
                            [](const Spoke& l, double a) { return l.angle < a; });
  for (; k != s.end() && k->angle == angle; ++k)
    if (k->to == from) return k == s.begin() ? s.back() : *(k - 1);
  for (std::size_t k = 0; k < s.size(); ++k)
    if (s[k].to == from) return s[(k + s.size() - 1) % s.size()];
  return s.front();
}

// The outer boundary of the connected line work round `leftmost`, its
// leftmost node, walked clockwise with the outside on the left. The outside
// holds the direction pointing left, between the last spoke and the first.
// Dangling edges are walked both ways and add no area.
// A face walk takes each directed edge at most once: `limit` is two more
// than there are.
std::vector<int> outerBoundary(const Subdivision& sub, int leftmost, std::size_t limit) {
  const int first = sub.spokes[leftmost].back().to;
  std::vector<int> walk{leftmost};
  int from = leftmost, node = first;
  while (!(from == leftmost && node == first && walk.size() > 1) && walk.size() < limit) {
    walk.push_back(node);
    const int next = nextAlongFace(sub, from, node).to;
    from = node;
    node = next;
  }
  walk.pop_back();  // back at the start
  return walk;
}

// The area of the region the edges enclose, found from the line work alone
// (not from the faces): the outer boundary of each connected piece, less
// the pieces that lie inside another.
double enclosedArea(const Subdivision& sub) {
  std::vector<int> piece(sub.nodes.size(), -1);
  std::vector<std::vector<int>> boundaries;
  std::vector<std::vector<Vec2>> walks;
  std::vector<char> encloses;  // the piece is more than a tree of edges
  std::size_t limit = 2;
  for (const std::vector<Spoke>& s : sub.spokes) limit += s.size();
  for (int start = 0; start < int(sub.nodes.size()); ++start) {
    if (piece[start] >= 0 || sub.spokes[start].empty()) continue;
    const int id = int(boundaries.size());
    std::vector<int> todo{start};
    piece[start] = id;
    int leftmost = start;
    std::size_t nodes = 0, spokes = 0;
    while (!todo.empty()) {
      const int n = todo.back();
      todo.pop_back();
      ++nodes, spokes += sub.spokes[n].size();
      const Vec2 p = sub.nodes[n].at, l = sub.nodes[leftmost].at;
      if (p.x < l.x || (p.x == l.x && p.y < l.y)) leftmost = n;
      for (const Spoke& s : sub.spokes[n])
        if (piece[s.to] < 0) piece[s.to] = id, todo.push_back(s.to);
    }
    boundaries.push_back(outerBoundary(sub, leftmost, limit));
    walks.emplace_back();
    for (int n : boundaries.back()) walks.back().push_back(sub.nodes[n].at);
    encloses.push_back(spokes / 2 >= nodes);
  }
  const std::vector<char> nested = insideAnother(walks, encloses);
  double area = 0;
  for (std::size_t i = 0; i < boundaries.size(); ++i)
    if (!nested[i]) area += std::abs(ringArea(sub, boundaries[i]));
  return area;
}

// Exact points as GEOS's graphs key them: by value, so that -0 is 0.
struct SameValue {
  std::size_t operator()(Vec2 p) const {
    const double x = p.x + 0.0, y = p.y + 0.0;
    std::uint64_t bx, by;
    std::memcpy(&bx, &x, sizeof bx);
    std::memcpy(&by, &y, sizeof by);
    return std::size_t(bx * 0x9e3779b97f4a7c15ull ^ (by + (bx << 6) + (bx >> 2)));
  }
};
struct EqualValue {
  bool operator()(Vec2 p, Vec2 q) const { return p.x == q.x && p.y == q.y; }
};

// The noded line work as GEOS's polygonizer takes it: a node for each
// distinct end point, an edge for each line of some length.
struct LineGraph {
  std::vector<const GEOSGeometry*> lines;
  std::vector<std::pair<int, int>> ends;  // of each line
  std::vector<Vec2> nodes;

  LineGraph(const Geos& geos, const GEOSGeometry* noded) {
    std::unordered_map<Vec2, int, SameValue, EqualValue> nodeAt;
    auto nodeOf = [&](Vec2 p) {
      const auto [it, fresh] = nodeAt.try_emplace(p, int(nodes.size()));
      if (fresh) nodes.push_back(p);
      return it->second;
    };
    forEachPart(geos, noded, [&](const GEOSGeometry* line) {
      const std::vector<Vec2> c = coordinates(geos, line);
      if (c.size() < 2) return;
      const int a = nodeOf(c.front()), b = nodeOf(c.back());
      if (a == b) return;  // GEOS passes over lines of no length too
      lines.push_back(line);
      ends.emplace_back(a, b);
    });
  }
};

// The edges that lead nowhere (loose ends, and whatever hangs only from
// them), in the order GEOS's polygonizer takes them off: loose ends stacked
// in order of x, then y, the last first. `degree` is left with the edges at
// each node less those.
std::vector<int> danglingEdges(const std::vector<Vec2>& nodes, const std::vector<std::pair<int, int>>& ends,
                               std::vector<int>& degree) {
  std::vector<std::vector<int>> edgesAt(nodes.size());
  for (int e = 0; e < int(ends.size()); ++e) edgesAt[ends[e].first].push_back(e), edgesAt[ends[e].second].push_back(e);
  degree.assign(nodes.size(), 0);
  std::vector<int> loose;
  for (int n = 0; n < int(nodes.size()); ++n)
    if ((degree[n] = int(edgesAt[n].size())) == 1) loose.push_back(n);
  std::sort(loose.begin(), loose.end(), [&](int l, int r) {
    return nodes[l].x < nodes[r].x || (nodes[l].x == nodes[r].x && nodes[l].y < nodes[r].y);
  });
  std::vector<char> gone(ends.size(), 0);
  std::vector<int> order;
  while (!loose.empty()) {
    const int n = loose.back();
    loose.pop_back();
    for (int e : edgesAt[n]) {
      if (gone[e]) continue;
      gone[e] = 1;
      order.push_back(e);
      const int other = ends[e].first == n ? ends[e].second : ends[e].first;
      --degree[n];
      if (--degree[other] == 1) loose.push_back(other);
    }
  }
  return order;
}

// Throws std::invalid_argument where the faces would take GEOS too long.
void refuseBusyNodes(const std::vector<Vec2>& nodes, const std::vector<int>& degree) {
  double load = 0;
  int busiest = 0;
  for (int n = 0; n < int(nodes.size()); ++n) {
    load += double(degree[n]) * degree[n];
    if (degree[n] > degree[busiest]) busiest = n;
  }
  if (load > maxNodeLoad)
    throw std::invalid_argument(std::to_string(degree[busiest]) + " edges meet at (" +
                                std::to_string(nodes[busiest].x) + ", " + std::to_string(nodes[busiest].y) +
                                "): too many at one point to find the faces round it");
}

// Noding splits segments where they cross: it adds edges at the welded
// points and leaves fewer of them dangling, so a drawing refused here would
// be refused after noding too. Here it is refused before that work.
void refuseBusyPoints(const Welded& w) {
  std::vector<int> degree;
  danglingEdges(w.points, w.segments, degree);
  refuseBusyNodes(w.points, degree);
}

// The noded line work without its dangling edges, each marked in `dangles`
// by a point on it, as GEOS's polygonizer would find them. It would find
// them too, but spend time on every edge at a node for each edge that
// dangles from it; faces and cut edges come out the same without them.
Geos::Owned closedLineWork(const Geos& geos, const GEOSGeometry* noded, std::vector<Vec2>& dangles) {
  const LineGraph g(geos, noded);
  std::vector<int> degree;
  std::vector<char> dangling(g.lines.size(), 0);
  for (int e : danglingEdges(g.nodes, g.ends, degree)) {
    dangling[e] = 1;
    dangles.push_back(pointOn(geos, g.lines[e]));
  }
  refuseBusyNodes(g.nodes, degree);
  std::vector<GEOSGeometry*> kept;
  for (std::size_t e = 0; e < g.lines.size(); ++e)
    if (!dangling[e]) kept.push_back(GEOSGeom_clone_r(geos.ctx(), g.lines[e]));
  return lineWork(geos, kept);
}

}  // namespace

Subdivision subdivide(std::span<const Segment2> segments) {
  for (const Segment2& s : segments)
    if (!std::isfinite(s.a.x) || !std::isfinite(s.a.y) || !std::isfinite(s.b.x) ||
        !std::isfinite(s.b.y))
      throw std::invalid_argument("a segment has a coordinate that is not a finite number");

  Subdivision sub;
  Welded welded = weldEnds(segments);
  if (welded.segments.empty()) return sub;

  cutAtPoints(welded, SegmentCells(welded));
  // Every meeting of segments at an end point is now exact; what is left
  // are crossings. Noding a tangle of segments that cross each other at
  // every turn takes GEOS minutes; such a drawing is refused at once. The
  // crossings found otherwise are all there are, and say what GEOS nodes.
  const SegmentCells cells(welded);
  const std::vector<std::pair<int, int>> crossings = crossingPairs(welded, cells, maxCrossings);
  if (crossings.size() >= maxCrossings)
    throw std::invalid_argument("the segments cross each other more than " + std::to_string(maxCrossings) +
                                " times: too tangled to analyse");
  refuseBusyPoints(welded);

  Geos geos;
  const Geos::Owned noded = nodedLineWork(geos, welded, entangled(welded, cells, crossings));
  const Geos::Owned closed = closedLineWork(geos, noded.get(), sub.dangles);
  GEOSGeometry *cuts = nullptr, *dangles = nullptr, *invalid = nullptr;
  const Geos::Owned polygons =
      geos.own(GEOSPolygonize_full_r(geos.ctx(), closed.get(), &cuts, &dangles, &invalid));
  const Geos::Owned ownedCuts = geos.own(cuts), ownedDangles = geos.own(dangles),
                    ownedInvalid = geos.own(invalid);

  NodeTable table(welded);
  readFaces(geos, polygons.get(), table, sub);
  readSpokes(geos, noded.get(), table, sub);
  forEachPart(geos, ownedCuts.get(),
              [&](const GEOSGeometry* g) { sub.cuts.push_back(pointOn(geos, g)); });

  sub.enclosedArea = enclosedArea(sub);
  return sub;
}

}  // namespace faces
