#include "family/family.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "faces/by_place.h"
#include "family/linear.h"
#include "symmetry/frame.h"

namespace family {

namespace {

using symmetry::Frame;
using symmetry::Operation;
using symmetry::PeriodIndex;

using faces::ByPlace;
using faces::SamePlace;

using symmetry::determinant;
using symmetry::times;
constexpr Matrix unit = symmetry::identityPart;
Vec2 map(const Matrix& m, Vec2 p) { return symmetry::applyLinear(m, p); }

// Vertex classes found again by where they lie in the period.
struct VertexClasses {
  const Frame& frame;
  PeriodIndex index;
  std::vector<Vec2> st;  // each class's lattice coordinates, in [0, 1) x [0, 1)
  std::vector<std::string> configuration;

  VertexClasses(const Frame& f, double near) : frame(f), index(f, near) {}

  // The class and whole periods of a vertex at st; -1 when there is none.
  Corner find(Vec2 at, const std::string* kind = nullptr) const {
    const int k = index.find(at, [&](int id) { return !kind || configuration[id] == *kind; });
    if (k < 0) return {-1, 0, 0};
    return {k, int(std::lround(at.x - st[k].x)), int(std::lround(at.y - st[k].y))};
  }
  int add(Vec2 at, const std::string& kind) {
    const Corner c = find(at);
    if (c.vertex >= 0) return c.vertex;
    index.add(at, int(st.size()));
    st.push_back(symmetry::wrap(at));
    configuration.push_back(kind);
    return int(st.size()) - 1;
  }
};

// An edge class by its ends: the first's vertex class, the second's, and
// the whole periods from one to the other.
using EdgeKey = std::array<int, 4>;
EdgeKey keyOf(Corner p, Corner q) { return {p.vertex, q.vertex, q.i - p.i, q.j - p.j}; }

// The ring of nodes round face f of the analysis, counter-clockwise.
std::vector<Vec2> ringOf(const faces::Analysis& a, const std::vector<std::vector<int>>& edgesOfFace,
                         int f) {
  ByPlace<Vec2> next;
  for (int e : edgesOfFace[f]) {
    const faces::Edge& edge = a.edges[e];
    if (edge.left == f) next[edge.a] = edge.b;
    if (edge.right == f) next[edge.b] = edge.a;
  }
  std::vector<Vec2> ring;
  if (next.empty()) return ring;
  const Vec2 start = next.begin()->first;
  Vec2 at = start;
  for (std::size_t k = 0; k <= next.size(); ++k) {
    ring.push_back(at);
    const auto it = next.find(at);
    if (it == next.end()) return {};
    at = it->second;
    if (SamePlace()(at, start)) return ring.size() == next.size() ? ring : std::vector<Vec2>{};
  }
  return {};
}

struct Built {
  std::vector<Vertex> vertices;
  std::vector<Vec2> st;
  std::vector<Face> faces;
  std::vector<Edge> edges;
  int crossings = 0;  // the last vertex classes
  std::string problem;
};

bool straightAt(Vec2 prev, Vec2 at, Vec2 next) {
  const Vec2 in = faces::minus(at, prev), out = faces::minus(next, at);
  return faces::dot(in, out) > 0 &&
         std::abs(faces::cross(in, out)) <= 1e-4 * faces::length(in) * faces::length(out);
}

// Where the analysis found the sides of overlapping copies crossing.
ByPlace<bool> crossingsOf(const faces::Analysis& a) {
  ByPlace<bool> out;
  for (const faces::Problem& p : a.problems)
    if (p.kind == faces::ProblemKind::crossing) out[p.at] = true;
  return out;
}

// The drawing's vertices, faces and edges as one period of them: each face
// class taken from the member nearest the drawing's middle that lies among
// known vertices. A kind of face none of whose members does is the patch's
// rim, where neighbours are missing; the edges then show whether anything
// else is missing. Faces where copies overlap are kept, marked, and the
// points where their sides cross are vertices, filed after all the others.
Built torusOf(const faces::Analysis& a, const Frame& frame, double near) {
  Built b;
  VertexClasses classes(frame, near);
  ByPlace<Corner> vertexAt;
  const ByPlace<bool> crossing = crossingsOf(a);
  // Each class as its member nearest the patch's middle has it: at the
  // rim a vertex may miss a neighbour and read otherwise.
  Vec2 middle;
  for (const faces::Vertex& v : a.interior) middle = faces::plus(middle, v.at);
  middle = faces::times(1.0 / double(std::max<std::size_t>(a.interior.size(), 1)), middle);
  std::vector<std::pair<double, int>> nearestFirst;
  for (int k = 0; k < int(a.interior.size()); ++k)
    nearestFirst.push_back({faces::length(faces::minus(a.interior[std::size_t(k)].at, middle)), k});
  std::sort(nearestFirst.begin(), nearestFirst.end());
  for (const bool crossings : {false, true})
    for (const auto& [distance, k] : nearestFirst) {
      const faces::Vertex& v = a.interior[std::size_t(k)];
      if (crossing.contains(v.at) == crossings) classes.add(frame.toLattice(v.at), v.configuration);
    }
  for (const faces::Vertex& v : a.interior) vertexAt[v.at] = classes.find(frame.toLattice(v.at));
  for (const faces::Vertex& v : a.interior)
    if (crossing.contains(v.at) && vertexAt[v.at].vertex >= 0) {
      // Count the crossing classes: they are the last ones filed.
      b.crossings = std::max(b.crossings, int(classes.st.size()) - vertexAt[v.at].vertex);
    }

  std::vector<std::vector<int>> edgesOfFace(a.faces.size());
  for (int e = 0; e < int(a.edges.size()); ++e)
    for (int f : {a.edges[e].left, a.edges[e].right})
      if (f >= 0) edgesOfFace[f].push_back(e);

  // Face classes of translates, each member by its distance from the middle.
  PeriodIndex faceIndex(frame, near);
  std::vector<std::vector<std::pair<double, int>>> members;
  for (int f = 0; f < int(a.faces.size()); ++f) {
    const faces::Face& face = a.faces[f];
    if (face.cls < 0 || a.classes[face.cls].odd) continue;
    const Vec2 st = frame.toLattice(faces::middleOf(face));
    int k = faceIndex.find(st, [&](int id) { return a.faces[members[id][0].second].cls == face.cls; });
    if (k < 0) {
      k = int(members.size());
      faceIndex.add(st, k);
      members.emplace_back();
    }
    members[k].push_back({faces::length(frame.along(st)), f});
  }
  for (auto& m : members) {
    std::sort(m.begin(), m.end());
    for (const auto& [distance, f] : m) {
      const std::vector<Vec2> nodes = ringOf(a, edgesOfFace, f);
      Face face;
      bool known = !nodes.empty();
      for (std::size_t k = 0; k < nodes.size() && known; ++k) {
        const auto it = vertexAt.find(nodes[k]);
        if (it != vertexAt.end()) {
          face.ring.push_back(it->second);
          continue;
        }
        // A node that is no vertex: a side drawn in pieces runs straight
        // through it. Anything else is the drawing's edge.
        const Vec2 prev = nodes[(k + nodes.size() - 1) % nodes.size()], next = nodes[(k + 1) % nodes.size()];
        known = straightAt(prev, nodes[k], next);
      }
      if (!known || face.ring.size() < 3) continue;
      face.overlap = a.faces[f].problem;
      b.faces.push_back(std::move(face));
      break;
    }
  }
  if (b.faces.empty()) {
    b.problem = "its faces do not tile: no kind of face lies among whole vertices";
    return b;
  }
  b.st = classes.st;
  for (std::size_t k = 0; k < classes.st.size(); ++k)
    b.vertices.push_back({0, {}, classes.configuration[k], std::nullopt});

  // Straight points: corners of a ring where the face runs straight on.
  const auto place = [&](Corner c) {
    return frame.toPlane({b.st[c.vertex].x + c.i, b.st[c.vertex].y + c.j});
  };
  for (Face& f : b.faces) {
    const std::size_t n = f.ring.size();
    f.straight.assign(n, false);
    for (std::size_t k = 0; k < n; ++k)
      f.straight[k] = straightAt(place(f.ring[(k + n - 1) % n]), place(f.ring[k]), place(f.ring[(k + 1) % n]));
  }

  // Edges: consecutive ring corners, once per class of translates.
  std::map<EdgeKey, int> known;
  for (int fi = 0; fi < int(b.faces.size()); ++fi) {
    const Face f = b.faces[fi];
    for (std::size_t k = 0; k < f.ring.size(); ++k) {
      const Corner p = f.ring[k], q = f.ring[(k + 1) % f.ring.size()];
      const EdgeKey forward = keyOf(p, q), backward = keyOf(q, p);
      const bool reversed = backward < forward;
      const EdgeKey key = reversed ? backward : forward;
      auto [it, fresh] = known.try_emplace(key, int(b.edges.size()));
      if (fresh) b.edges.push_back({{key[0], 0, 0}, {key[1], key[2], key[3]}});
      b.faces[fi].side.push_back(it->second);
      b.faces[fi].against.push_back(reversed);
      Edge& e = b.edges[it->second];
      int& side = reversed ? e.right : e.left;
      if (side >= 0) {
        b.problem = "an edge has the same side in two faces";
        return b;
      }
      side = fi;
    }
  }
  for (const Edge& e : b.edges)
    if (e.left < 0 || e.right < 0) {
      b.problem = "its faces do not tile: an edge borders a face on one side only";
      return b;
    }
  const long long euler =
      (long long)b.vertices.size() - (long long)b.edges.size() + (long long)b.faces.size();
  if (euler != 0) b.problem = "the faces do not close up into one period";
  return b;
}

// The sides: chains of edges running straight on through the points where
// a face runs straight (another tile's corner on its side) and through the
// crossings, each from one true corner to the other, numbered in the order
// of their first edges. An edge on no such chain is a side alone.
std::vector<Side> sidesOf(std::vector<Edge>& edges, const std::vector<Face>& faces, const std::vector<Vec2>& st,
                          const Frame& frame, int crossings) {
  const int nv = int(st.size());
  std::vector<bool> through(static_cast<std::size_t>(nv), false);
  for (int v = nv - crossings; v < nv; ++v) through[std::size_t(v)] = true;
  for (const Face& f : faces)
    for (std::size_t k = 0; k < f.ring.size(); ++k)
      if (f.straight[k]) through[std::size_t(f.ring[k].vertex)] = true;
  // The ends at each vertex class: edge, the far corner relative to it, and
  // whether the edge runs toward this end.
  struct End {
    int edge;
    Corner far;
    bool toward;
  };
  std::vector<std::vector<End>> ends(static_cast<std::size_t>(nv));
  for (int e = 0; e < int(edges.size()); ++e) {
    const Edge& edge = edges[e];
    ends[std::size_t(edge.from.vertex)].push_back({e, edge.to, false});
    ends[std::size_t(edge.to.vertex)].push_back(
        {e, {edge.from.vertex, edge.from.i - edge.to.i, edge.from.j - edge.to.j}, true});
  }
  const auto at = [&](Corner c) { return frame.along({st[c.vertex].x + c.i, st[c.vertex].y + c.j}); };
  // From corner c, reached by edge `edge` (arriving at its `to` end when
  // !toward), the edge running straight on, if c lets sides run through.
  const auto onward = [&](Corner c, Vec2 in, int edge, bool arrivedAtTo, Corner& next, int& onEdge, bool& back) {
    if (!through[std::size_t(c.vertex)]) return false;
    for (const End& end : ends[std::size_t(c.vertex)]) {
      if (end.edge == edge && end.toward == arrivedAtTo) continue;  // the way in
      const Corner far{end.far.vertex, end.far.i + c.i, end.far.j + c.j};
      if (!straightAt(faces::minus(at(c), in), at(c), at(far))) continue;
      next = far, onEdge = end.edge, back = end.toward;
      return true;
    }
    return false;
  };
  std::vector<Side> sides;
  for (int e = 0; e < int(edges.size()); ++e) {
    if (edges[e].side >= 0) continue;
    Side s;
    s.points = {edges[e].from, edges[e].to};
    s.pieces = {e};
    s.against = {false};
    for (const bool forward : {true, false}) {
      for (std::size_t guard = 0; guard < edges.size(); ++guard) {
        const Corner c = forward ? s.points.back() : s.points.front();
        const Corner prev = forward ? s.points[s.points.size() - 2] : s.points[1];
        const int edge = forward ? s.pieces.back() : s.pieces.front();
        const bool wasAgainst = forward ? s.against.back() : s.against.front();
        // Arrived at c: at the edge's `to` when it ran the way we walk.
        const bool arrivedAtTo = forward != wasAgainst;
        Corner next;
        int nextEdge = -1;
        bool back = false;
        if (!onward(c, faces::minus(at(c), at(prev)), edge, arrivedAtTo, next, nextEdge, back)) break;
        if (nextEdge == e || edges[nextEdge].side >= 0) break;
        if (forward) {
          s.points.push_back(next), s.pieces.push_back(nextEdge), s.against.push_back(back);
        } else {
          s.points.insert(s.points.begin(), next), s.pieces.insert(s.pieces.begin(), nextEdge);
          s.against.insert(s.against.begin(), !back);
        }
        edges[nextEdge].side = int(sides.size());
      }
    }
    // Turned round where its ends' key is smaller the other way, as edges
    // are, and then counted from its first corner.
    if (keyOf(s.points.back(), s.points.front()) < keyOf(s.points.front(), s.points.back())) {
      std::reverse(s.points.begin(), s.points.end());
      std::reverse(s.pieces.begin(), s.pieces.end());
      std::reverse(s.against.begin(), s.against.end());
      s.against.flip();
    }
    const Corner first = s.points.front();
    for (Corner& c : s.points) c = {c.vertex, c.i - first.i, c.j - first.j};
    for (std::size_t k = 1; k + 1 < s.points.size(); ++k)
      s.crossed = s.crossed || s.points[k].vertex >= nv - crossings;
    edges[e].side = int(sides.size());
    sides.push_back(std::move(s));
  }
  return sides;
}

// The periods (u.x, u.y, v.x, v.y) with L B = B m for every linear part m
// of the group, L its map of the plane as the drawing has it.
std::vector<std::array<double, 4>> latticeSpace(const std::vector<Matrix>& linear, const Frame& frame) {
  std::vector<Vector<4>> rows;
  const auto index = [](int row, int column) { return column * 2 + row; };  // B(row, column)
  for (const Matrix& m : linear) {
    if (m == unit) continue;
    const std::array<double, 4> l = symmetry::planeMatrix(frame, m);
    for (int i = 0; i < 2; ++i)
      for (int j = 0; j < 2; ++j) {
        Vector<4> r{};
        for (int k = 0; k < 2; ++k) {
          r[index(k, j)] += l[i * 2 + k];
          r[index(i, k)] -= m[k * 2 + j];
        }
        rows.push_back(r);
      }
  }
  return nullSpace(rows);
}

std::vector<Matrix> linearParts(const std::vector<Operation>& group) {
  std::vector<Matrix> out;
  for (const Operation& op : group)
    if (std::find(out.begin(), out.end(), op.m) == out.end()) out.push_back(op.m);
  return out;
}

// The plane's directions that every one of these linear parts leaves where
// it is: (L - I) d = 0 for each, L its map of the plane.
std::vector<Vector<2>> unmoved(const std::vector<Matrix>& linear, const Frame& frame) {
  std::vector<Vector<2>> rows;
  for (const Matrix& m : linear) {
    const std::array<double, 4> l = symmetry::planeMatrix(frame, m);
    rows.push_back({l[0] - 1, l[1]});
    rows.push_back({l[2], l[3] - 1});
  }
  return nullSpace(rows);
}

// The translations that commute with every linear part: how far the whole
// drawing can slide without changing shape.
int slides(const std::vector<Matrix>& linear, const Frame& frame) { return int(unmoved(linear, frame).size()); }

// The directions in lattice coordinates that every element fixing the
// representative leaves free, found in the plane, where lengths mean
// something, then taken back.
std::vector<Vector<2>> freeDirections(const std::vector<Matrix>& stabiliser, const Frame& frame) {
  std::vector<Vector<2>> out;
  for (const Vector<2>& d : unmoved(stabiliser, frame)) {
    const Vec2 st = frame.inPeriods({d[0], d[1]});
    out.push_back({st.x, st.y});
  }
  return out;
}

std::vector<Matrix> closure(std::vector<Matrix> generators) {
  std::vector<Matrix> all{unit};
  for (std::size_t k = 0; k < all.size(); ++k)
    for (const Matrix& g : generators) {
      const Matrix p = times(all[k], g);
      if (std::find(all.begin(), all.end(), p) == all.end()) all.push_back(p);
    }
  return all;
}


// The image under element g of a corner: its vertex's image moved by the
// element's linear part of the corner's whole periods.
Corner imageOf(const std::vector<std::vector<Corner>>& image, const Operation& op, std::size_t g, Corner c) {
  const Corner w = image[g][c.vertex];
  return {w.vertex, w.i + op.m[0] * c.i + op.m[1] * c.j, w.j + op.m[2] * c.i + op.m[3] * c.j};
}

// Edge orbits under the kept group: orbits of whole sides, each represented
// by its side nearest home, the nearest first, and the shape the side's
// stabiliser leaves it. A side that another crosses where copies overlap
// stays straight: the crossing lies on both lines.
void findEdgeOrbits(Family& f, const KeptGroup& keep, const std::vector<std::vector<Corner>>& image,
                    const Frame& frame, const std::vector<Vec2>& st) {
  const auto stOf = [&](Corner c) { return Vec2{st[c.vertex].x + c.i, st[c.vertex].y + c.j}; };
  std::map<EdgeKey, int> byKey;
  for (int k = 0; k < int(f.sides.size()); ++k)
    byKey[keyOf(f.sides[k].points.front(), f.sides[k].points.back())] = k;
  struct Found {
    int side = -1;
    bool reversed = false;
  };
  const auto imageSide = [&](std::size_t g, int k) {
    const Operation& op = keep.elements[g];
    const Corner p = imageOf(image, op, g, f.sides[k].points.front()),
                 q = imageOf(image, op, g, f.sides[k].points.back());
    if (const auto it = byKey.find(keyOf(p, q)); it != byKey.end()) return Found{it->second, false};
    if (const auto it = byKey.find(keyOf(q, p)); it != byKey.end()) return Found{it->second, true};
    return Found{};
  };
  const int ns = int(f.sides.size());
  std::vector<int> orbitOf(std::size_t(ns), -1);
  std::vector<std::pair<double, int>> reps;
  std::vector<int> member(std::size_t(ns), -1);
  for (int k = 0; k < ns; ++k) {
    if (member[k] >= 0) continue;
    for (std::size_t g = 0; g < keep.elements.size(); ++g) {
      const Found x = imageSide(g, k);
      if (x.side >= 0) member[x.side] = int(reps.size());
    }
    member[k] = int(reps.size());
    reps.push_back({0, k});
  }
  // The member nearest home: its middle in lattice coordinates nearest the
  // middle of the period.
  for (auto& [distance, rep] : reps) {
    const int orbit = member[rep];
    distance = INFINITY;
    for (int k = 0; k < ns; ++k) {
      if (member[k] != orbit) continue;
      const Side& side = f.sides[k];
      const Vec2 mid = faces::times(0.5, faces::plus(stOf(side.points.front()), stOf(side.points.back())));
      const double d = faces::length(frame.along(faces::minus(mid, {0.5, 0.5})));
      if (d < distance) distance = d, rep = k;
    }
  }
  std::sort(reps.begin(), reps.end());
  for (const auto& [distance, rep] : reps) {
    EdgeOrbit o;
    o.name = "E" + std::to_string(f.edgeOrbits.size() + 1);
    o.side = rep;
    o.representative = f.sides[rep].pieces.front();
    const int id = int(f.edgeOrbits.size());
    bool lineMirror = false, halfTurn = false, bisector = false;
    for (std::size_t g = 0; g < keep.elements.size(); ++g) {
      const Found x = imageSide(g, rep);
      if (x.side < 0) continue;
      const bool mirrored = determinant(keep.elements[g].m) < 0;
      if (orbitOf[x.side] < 0) {
        orbitOf[x.side] = id;
        Side& side = f.sides[x.side];
        side.orbit = id;
        side.reversed = x.reversed;
        side.mirrored = mirrored;
      }
      // The element, followed by the right whole periods, carries the side
      // onto itself.
      if (x.side != rep) continue;
      if (!x.reversed && !mirrored) continue;  // a translation
      if (!x.reversed)
        lineMirror = lineMirror || mirrored;
      else
        (mirrored ? bisector : halfTurn) = true;
    }
    f.sides[rep].reversed = false;
    f.sides[rep].mirrored = false;
    if (lineMirror) {
      o.shape = EdgeShape::straight;
      o.straightWhy = "lies on a mirror";
    } else if (halfTurn && bisector) {
      o.shape = EdgeShape::straight;
      o.straightWhy = "is held straight by a half-turn and a mirror";
    } else if (f.sides[rep].crossed) {
      o.shape = EdgeShape::straight;
      o.straightWhy = "crosses a side of an overlapping copy";
    } else {
      o.shape = halfTurn ? EdgeShape::halfTurn : bisector ? EdgeShape::mirror : EdgeShape::free;
    }
    f.edgeOrbits.push_back(o);
  }
  for (const Side& side : f.sides)
    for (const int e : side.pieces) {
      f.edges[e].orbit = side.orbit;
      f.edges[e].reversed = side.reversed;
      f.edges[e].mirrored = side.mirrored;
    }
}

}  // namespace

std::vector<KeptGroup> groupsOnOffer(const symmetry::Identity& id) {
  std::vector<KeptGroup> offer;
  if (!id.group || !id.lattice) return offer;
  const Frame frame(*id.lattice, id.origin);
  const std::vector<Matrix> linear = linearParts(id.symmetries);
  // Every subgroup of the point group is made by at most two of its
  // elements.
  std::vector<std::vector<Matrix>> subgroups;
  for (std::size_t a = 0; a < linear.size(); ++a)
    for (std::size_t b = a; b < linear.size(); ++b) {
      std::vector<Matrix> g = closure({linear[a], linear[b]});
      std::sort(g.begin(), g.end());
      if (std::find(subgroups.begin(), subgroups.end(), g) == subgroups.end()) subgroups.push_back(g);
    }
  std::stable_sort(subgroups.begin(), subgroups.end(),
                   [](const auto& l, const auto& r) { return l.size() > r.size(); });
  for (const std::vector<Matrix>& linearPart : subgroups) {
    KeptGroup kept;
    for (const Operation& op : id.symmetries)
      if (std::binary_search(linearPart.begin(), linearPart.end(), op.m)) kept.elements.push_back(op);
    const auto named = symmetry::classify(kept.elements, frame, id.near);
    if (!named) continue;
    kept.name = std::string(named->name);
    if (std::none_of(offer.begin(), offer.end(), [&](const KeptGroup& k) { return k.name == kept.name; }))
      offer.push_back(std::move(kept));
  }
  return offer;
}

Found familyOf(const faces::Analysis& analysis, const symmetry::Identity& id, const KeptGroup& kept,
               std::optional<Vec2> home) {
  Found found;
  if (!id.lattice || !id.group) {
    found.problem = "no two independent periods";
    return found;
  }
  // Lattice coordinates about the period centred on home, and the group's
  // elements moved there: st = st' + d, so st' -> m st' + m d + shift - d.
  const Frame drawn(*id.lattice, id.origin);
  const Vec2 middle = home.value_or(id.origin);
  const Vec2 corner = faces::minus(middle, faces::times(0.5, faces::plus(id.lattice->u, id.lattice->v)));
  const Frame frame(*id.lattice, corner);
  const Vec2 d = drawn.toLattice(corner);
  KeptGroup keep = kept;
  for (Operation& op : keep.elements)
    op.shift = faces::minus(faces::plus(map(op.m, d), op.shift), d);
  Built b = torusOf(analysis, frame, id.near);
  const auto fromHome = [&](int v) {
    return faces::length(frame.along(faces::minus(b.st[v], {0.5, 0.5})));
  };
  if (!b.problem.empty()) {
    found.problem = b.problem;
    return found;
  }
  Family f;
  f.keep = keep;
  f.origin = corner;
  f.size = std::sqrt(std::abs(frame.det));
  f.vertices = b.vertices;
  f.crossings = b.crossings;
  f.faces = b.faces;
  f.edges = b.edges;
  f.sides = sidesOf(f.edges, f.faces, b.st, frame, b.crossings);

  // Each element's image of each vertex class.
  VertexClasses classes(frame, id.near);
  for (std::size_t k = 0; k < b.st.size(); ++k) {
    classes.index.add(b.st[k], int(k));
    classes.st.push_back(b.st[k]);
    classes.configuration.push_back(b.vertices[k].configuration);
  }
  const std::size_t nv = b.st.size();
  const std::size_t ordinary = nv - std::size_t(b.crossings);  // the crossings follow
  std::vector<std::vector<Corner>> image(keep.elements.size(), std::vector<Corner>(nv));
  for (std::size_t g = 0; g < keep.elements.size(); ++g)
    for (std::size_t v = 0; v < nv; ++v) {
      image[g][v] = classes.find(symmetry::apply(keep.elements[g], b.st[v]),
                                 &b.vertices[v].configuration);
      if (image[g][v].vertex < 0 || (image[g][v].vertex >= int(ordinary)) != (v >= ordinary)) {
        found.problem = "the group does not carry the vertices onto vertices";
        return found;
      }
    }

  // Orbits, each represented by its class nearest home, the nearest first.
  std::vector<int> member(nv, -1);
  std::vector<std::pair<double, int>> reps;
  for (std::size_t v = 0; v < ordinary; ++v) {
    if (member[v] >= 0) continue;
    int best = int(v);
    for (std::size_t g = 0; g < keep.elements.size(); ++g) {
      const int w = image[g][v].vertex;
      member[w] = int(reps.size());
      if (fromHome(w) < fromHome(best)) best = w;
    }
    reps.push_back({fromHome(best), best});
  }
  std::sort(reps.begin(), reps.end());
  std::vector<int> orbitOf(nv, -1);
  for (const auto& [distance, v] : reps) {
    Orbit o;
    o.name = "V" + std::to_string(f.orbits.size() + 1);
    o.representative = v;
    const int id_ = int(f.orbits.size());
    orbitOf[v] = id_;
    f.vertices[v].orbit = id_;
    f.vertices[v].image = {};
    std::vector<Matrix> stabiliser;
    for (std::size_t g = 0; g < keep.elements.size(); ++g) {
      const Operation& op = keep.elements[g];
      const Corner c = image[g][v];
      if (c.vertex == v) stabiliser.push_back(op.m);
      if (orbitOf[c.vertex] >= 0) continue;
      orbitOf[c.vertex] = id_;
      // st_w = m st_r + shift - (i, j)
      f.vertices[c.vertex].orbit = id_;
      f.vertices[c.vertex].image = {op.m, {op.shift.x - c.i, op.shift.y - c.j}};
    }
    const std::vector<Vector<2>> directions = freeDirections(stabiliser, frame);
    o.free = int(directions.size());
    if (o.free == 1) o.along = {directions[0][0], directions[0][1]};
    f.orbits.push_back(o);
  }

  // Where each point inside a side lies on it: the side and its place.
  std::vector<std::vector<std::pair<int, int>>> onSides(nv);
  for (int k = 0; k < int(f.sides.size()); ++k)
    for (int p = 1; p + 1 < int(f.sides[k].points.size()); ++p)
      onSides[std::size_t(f.sides[k].points[std::size_t(p)].vertex)].push_back({k, p});
  // The side through point p of side k, its corners relative to that point.
  const auto sideThrough = [&](int k, int p) {
    const Side& side = f.sides[std::size_t(k)];
    const Corner at = side.points[std::size_t(p)];
    const auto relative = [&](Corner c) { return Corner{c.vertex, c.i - at.i, c.j - at.j}; };
    return Straight{relative(side.points.front()), relative(side.points.back()), k};
  };
  for (std::size_t v = ordinary; v < nv; ++v) {
    if (onSides[v].size() != 2) {
      found.problem = "a crossing of overlapping copies does not lie on two sides";
      return found;
    }
    f.vertices[v].orbit = -1;
    f.vertices[v].crossing = Crossing{sideThrough(onSides[v][0].first, onSides[v][0].second),
                                      sideThrough(onSides[v][1].first, onSides[v][1].second)};
  }

  // Representatives on straight sides slide along them, or, at a centre,
  // stay where the group holds them: on the side's curve when it bends.
  for (Orbit& o : f.orbits) {
    const std::size_t v = std::size_t(o.representative);
    if (onSides[v].size() != 1) continue;
    const Straight side = sideThrough(onSides[v][0].first, onSides[v][0].second);
    if (o.free == 1) {
      const Vec2 a = b.st[side.from.vertex], c = b.st[side.to.vertex];
      const Vec2 d = frame.along(faces::minus({c.x + side.to.i, c.y + side.to.j},
                                              {a.x + side.from.i, a.y + side.from.j}));
      const Vec2 m = frame.along(o.along);
      if (std::abs(faces::cross(d, m)) > 1e-6 * faces::length(d) * faces::length(m)) {
        o.crossing = true;  // held where its line crosses the side
        o.free = 0;
      }
    } else if (o.free == 2) {
      o.free = 1;
    }
    o.straight = side;
  }

  findEdgeOrbits(f, keep, image, frame, b.st);

  // Sides after their ends.
  std::vector<bool> ready(f.orbits.size(), false);
  for (std::size_t round = 0; round <= f.orbits.size(); ++round)
    for (std::size_t k = 0; k < f.orbits.size(); ++k) {
      if (ready[k]) continue;
      const Orbit& o = f.orbits[k];
      const auto placedBefore = [&](Corner c) {
        const int orbit = f.vertices[c.vertex].orbit;
        return orbit >= 0 && ready[std::size_t(orbit)];
      };
      if (o.straight && (!placedBefore(o.straight->from) || !placedBefore(o.straight->to))) continue;
      ready[k] = true;
      f.order.push_back(int(k));
    }
  if (f.order.size() != f.orbits.size()) {
    found.problem = "points on straight sides hold each other in place";
    return found;
  }

  const std::vector<Matrix> linear = linearParts(keep.elements);
  f.lattice = latticeSpace(linear, frame);
  const bool reflections =
      std::any_of(linear.begin(), linear.end(), [](const Matrix& m) { return determinant(m) < 0; });
  int free = 0;
  for (const Orbit& o : f.orbits) free += o.free;
  f.freedom = int(f.lattice.size()) - 1 - (reflections ? 0 : 1) - slides(linear, frame) + free;

  // The drawing's own shape.
  Shape& s = found.shape;
  s.u = id.lattice->u;
  s.v = id.lattice->v;
  for (const Orbit& o : f.orbits) {
    s.at.push_back(b.st[o.representative]);
    double t = 0;
    if (o.straight) {
      const Vec2 a = frame.along({b.st[o.straight->from.vertex].x + o.straight->from.i,
                                  b.st[o.straight->from.vertex].y + o.straight->from.j});
      const Vec2 c = frame.along({b.st[o.straight->to.vertex].x + o.straight->to.i,
                                  b.st[o.straight->to.vertex].y + o.straight->to.j});
      const Vec2 p = frame.along(b.st[o.representative]);
      const Vec2 d = faces::minus(c, a);
      t = faces::dot(faces::minus(p, a), d) / faces::dot(d, d);
    }
    s.t.push_back(t);
  }
  s.bends.assign(f.edgeOrbits.size(), {});
  found.family = std::move(f);
  return found;
}

namespace {

// A centripetal Catmull-Rom curve through the points (ends included): no
// loops or cusps within a span, and the same curve whichever end it is
// drawn from.
std::vector<Vec2> smoothThrough(const std::vector<Vec2>& p, int piecesPerSpan) {
  const std::size_t n = p.size();
  std::vector<Vec2> out{p[0]};
  const auto at = [&](std::ptrdiff_t k) {
    if (k < 0) return faces::minus(faces::times(2, p[0]), p[1]);
    if (k >= std::ptrdiff_t(n)) return faces::minus(faces::times(2, p[n - 1]), p[n - 2]);
    return p[std::size_t(k)];
  };
  const auto knot = [](double t, Vec2 a, Vec2 b) { return t + std::max(std::sqrt(faces::length(faces::minus(b, a))), 1e-9); };
  const auto mix = [](Vec2 a, Vec2 b, double ta, double tb, double t) {
    return faces::plus(faces::times((tb - t) / (tb - ta), a), faces::times((t - ta) / (tb - ta), b));
  };
  for (std::size_t k = 0; k + 1 < n; ++k) {
    const Vec2 p0 = at(std::ptrdiff_t(k) - 1), p1 = p[k], p2 = p[k + 1], p3 = at(std::ptrdiff_t(k) + 2);
    const double t0 = 0, t1 = knot(t0, p0, p1), t2 = knot(t1, p1, p2), t3 = knot(t2, p2, p3);
    for (int i = 1; i < piecesPerSpan; ++i) {
      const double t = t1 + (t2 - t1) * i / piecesPerSpan;
      const Vec2 a1 = mix(p0, p1, t0, t1, t), a2 = mix(p1, p2, t1, t2, t), a3 = mix(p2, p3, t2, t3, t);
      const Vec2 b1 = mix(a1, a2, t0, t2, t), b2 = mix(a2, a3, t1, t3, t);
      out.push_back(mix(b1, b2, t1, t2, t));
    }
    out.push_back(p2);
  }
  return out;
}

// The points a side's curve passes through, its own points aside, in its
// shares from its first true corner: the ends, its orbit's bend points and
// their images, as the side takes them.
std::vector<Vec2> bendKnots(const Family& f, const Shape& s, const Side& side) {
  const EdgeOrbit& o = f.edgeOrbits[side.orbit];
  std::vector<Vec2> points{{0, 0}};
  if (o.shape != EdgeShape::straight && side.orbit < int(s.bends.size())) {
    const std::vector<Vec2>& half = s.bends[side.orbit];
    points.insert(points.end(), half.begin(), half.end());
    if (o.shape == EdgeShape::halfTurn && !half.empty()) points.push_back({0.5, 0});
    if (o.shape == EdgeShape::halfTurn || o.shape == EdgeShape::mirror)
      for (auto it = half.rbegin(); it != half.rend(); ++it)
        points.push_back({1 - it->x, o.shape == EdgeShape::halfTurn ? -it->y : it->y});
  }
  points.push_back({1, 0});
  for (Vec2& p : points) p = onSide(side, p);
  if (side.reversed) std::reverse(points.begin(), points.end());
  return points;
}

std::vector<Vec2> curveThrough(const std::vector<Vec2>& knots, bool smooth, int pieces) {
  return smooth && knots.size() > 2 ? smoothThrough(knots, pieces) : knots;
}

// How far across the curve (shares) is where it first comes `along` its
// side; fine pieces, so that the answer hardly depends on how it is drawn.
constexpr int findingPieces = 32;
double acrossAt(const std::vector<Vec2>& curve, double along) {
  for (std::size_t k = 0; k + 1 < curve.size(); ++k) {
    const Vec2 a = curve[k], b = curve[k + 1];
    if ((a.x - along) * (b.x - along) > 0 || a.x == b.x) continue;
    return a.y + (b.y - a.y) * (along - a.x) / (b.x - a.x);
  }
  return 0;
}

Vec2 latticeOf(const Family& f, const Shape& s, Vec2 p) {
  const Vec2 d = faces::minus(p, f.origin);
  const double det = faces::cross(s.u, s.v);
  return {faces::cross(d, s.v) / det, faces::cross(s.u, d) / det};
}

// A point of a side at lattice place r, its ends at a and c, moved across
// to the side's curve at its share along the side.
Vec2 ontoCurve(const Family& f, const Shape& s, const Side& side, Vec2 a, Vec2 c, Vec2 r) {
  const Vec2 pa = planeOf(f, s, a), pc = planeOf(f, s, c);
  const double along = toEdgeShares(pa, pc, planeOf(f, s, r)).x;
  const std::vector<Vec2> curve = curveThrough(bendKnots(f, s, side), s.smooth, findingPieces);
  return latticeOf(f, s, fromEdgeShares(pa, pc, {along, acrossAt(curve, along)}));
}

// Where the lines through a and c and through p and q meet.
Vec2 meetingOf(Vec2 a, Vec2 c, Vec2 p, Vec2 q) {
  const Vec2 d = faces::minus(c, a), e = faces::minus(q, p);
  const double den = faces::cross(d, e);
  if (den == 0) return faces::times(0.5, faces::plus(a, c));
  return faces::plus(a, faces::times(faces::cross(faces::minus(p, a), e) / den, d));
}

}  // namespace

bool bentOrbit(const Family& f, const Shape& s, int orbit) {
  return f.edgeOrbits[std::size_t(orbit)].shape != EdgeShape::straight && std::size_t(orbit) < s.bends.size() &&
         !s.bends[std::size_t(orbit)].empty();
}

std::vector<Vec2> placed(const Family& f, const Shape& s) {
  std::vector<Vec2> st(f.vertices.size());
  const auto at = [&](Corner c) { return Vec2{st[c.vertex].x + c.i, st[c.vertex].y + c.j}; };
  for (int k : f.order) {
    const Orbit& o = f.orbits[k];
    Vec2 r = s.at[k];
    if (o.straight) {
      const Vec2 a = at(o.straight->from), c = at(o.straight->to);
      if (o.crossing) {
        // Where the line through s.at[k] along `along` meets the side.
        r = meetingOf(a, c, s.at[k], faces::plus(s.at[k], o.along));
      } else if (o.free > 0) {
        r = faces::plus(a, faces::times(s.t[k], faces::minus(c, a)));
      }
      const Side& side = f.sides[std::size_t(o.straight->side)];
      if (bentOrbit(f, s, side.orbit)) r = ontoCurve(f, s, side, a, c, r);
    }
    // Every class of the orbit as the image of the representative.
    for (std::size_t v = 0; v < f.vertices.size(); ++v)
      if (f.vertices[v].orbit == k) st[v] = faces::plus(map(f.vertices[v].image.m, r), f.vertices[v].image.c);
  }
  // The crossings, where the sides that cross there meet: their corners
  // are relative to the crossing's own class.
  for (std::size_t v = f.vertices.size() - std::size_t(f.crossings); v < f.vertices.size(); ++v) {
    const Crossing& x = *f.vertices[v].crossing;
    st[v] = meetingOf(at(x.first.from), at(x.first.to), at(x.second.from), at(x.second.to));
  }
  return st;
}

Vec2 planeOf(const Family& f, const Shape& s, Vec2 st) {
  return {f.origin.x + st.x * s.u.x + st.y * s.v.x, f.origin.y + st.x * s.u.y + st.y * s.v.y};
}

Vec2 cornerAt(const Family& f, const Shape& s, const std::vector<Vec2>& st, Corner c) {
  return planeOf(f, s, {st[c.vertex].x + c.i, st[c.vertex].y + c.j});
}

const char* shapeWord(EdgeShape shape) {
  switch (shape) {
    case EdgeShape::free: return "free";
    case EdgeShape::halfTurn: return "half-turn";
    case EdgeShape::mirror: return "mirror";
    case EdgeShape::straight: return "straight";
  }
  return "free";
}

Vec2 toEdgeShares(Vec2 from, Vec2 to, Vec2 p) {
  const Vec2 d = faces::minus(to, from), q = faces::minus(p, from);
  const double l2 = faces::dot(d, d);
  return {faces::dot(q, d) / l2, faces::cross(d, q) / l2};
}

Vec2 fromEdgeShares(Vec2 from, Vec2 to, Vec2 shares) {
  const Vec2 d = faces::minus(to, from);
  return {from.x + shares.x * d.x - shares.y * d.y, from.y + shares.x * d.y + shares.y * d.x};
}

namespace {
Vec2 turned(bool reversed, bool mirrored, Vec2 p) {
  const double across = mirrored ? -p.y : p.y;
  return reversed ? Vec2{1 - p.x, -across} : Vec2{p.x, across};
}
}  // namespace

Vec2 onEdge(const Edge& e, Vec2 p) { return turned(e.reversed, e.mirrored, p); }
Vec2 onSide(const Side& side, Vec2 p) { return turned(side.reversed, side.mirrored, p); }

namespace {

// Where edge class `edge` lies along its side: the piece's place, and the
// whole periods from the side's points to where the edge is.
struct PieceOf {
  const Side* side;
  std::size_t piece;
  Vec2 shift;  // lattice coordinates
};
PieceOf pieceOf(const Family& f, int edge) {
  const Edge& e = f.edges[edge];
  const Side& side = f.sides[std::size_t(e.side)];
  const std::size_t k = std::size_t(std::find(side.pieces.begin(), side.pieces.end(), edge) - side.pieces.begin());
  const Corner c = side.against[k] ? side.points[k + 1] : side.points[k];
  return {&side, k, {double(e.from.i - c.i), double(e.from.j - c.j)}};
}

Vec2 shifted(Vec2 st, Corner c, Vec2 by) { return {st.x + c.i + by.x, st.y + c.j + by.y}; }

}  // namespace

std::array<Vec2, 2> sideEnds(const Family& f, const Shape& s, const std::vector<Vec2>& st, int edge) {
  const PieceOf p = pieceOf(f, edge);
  const Corner a = p.side->points.front(), c = p.side->points.back();
  return {planeOf(f, s, shifted(st[a.vertex], a, p.shift)), planeOf(f, s, shifted(st[c.vertex], c, p.shift))};
}

Vec2 toSideShares(const Family& f, const Shape& s, const std::vector<Vec2>& st, int edge, Vec2 p) {
  const std::array<Vec2, 2> ends = sideEnds(f, s, st, edge);
  // onSide undone: it is its own inverse.
  return onSide(*pieceOf(f, edge).side, toEdgeShares(ends[0], ends[1], p));
}

std::vector<Vec2> edgeCurve(const Family& f, const Shape& s, const std::vector<Vec2>& st, int edge, int pieces) {
  const PieceOf p = pieceOf(f, edge);
  const Side& side = *p.side;
  std::vector<Vec2> knots = bendKnots(f, s, side);
  if (side.pieces.size() == 1) {
    std::vector<Vec2> curve = curveThrough(knots, s.smooth, pieces);
    if (side.against[0]) {
      std::reverse(curve.begin(), curve.end());
      for (Vec2& q : curve) q = {1 - q.x, -q.y};
    }
    return curve;
  }
  // The side's points go in among the knots, each where it lies along the
  // side: the curve runs through them, and each piece is its part between
  // two of them.
  std::vector<Vec2> where;
  for (const Corner& c : side.points) where.push_back(planeOf(f, s, shifted(st[c.vertex], c, {})));
  const Vec2 a = where.front(), c = where.back();
  std::vector<std::size_t> knotOf{0};
  for (std::size_t k = 1; k + 1 < where.size(); ++k) {
    const Vec2 q = toEdgeShares(a, c, where[k]);
    std::size_t at = knotOf.back() + 1;
    while (at + 1 < knots.size() && knots[at].x < q.x) ++at;
    if (faces::length(faces::minus(knots[at], q)) > 1e-9 && faces::length(faces::minus(knots[at - 1], q)) > 1e-9)
      knots.insert(knots.begin() + std::ptrdiff_t(at), q);
    else if (faces::length(faces::minus(knots[at - 1], q)) <= 1e-9)
      --at;
    knotOf.push_back(at);
  }
  knotOf.push_back(knots.size() - 1);
  const bool smooth = s.smooth && knots.size() > 2;
  std::vector<Vec2> curve = curveThrough(knots, s.smooth, pieces);
  const std::size_t step = smooth ? std::size_t(pieces) : 1;
  // Drawn in straight pieces, a smooth curve turns a little at every point
  // it is drawn through; at the side's points it runs straight on instead,
  // along its tangent there, so that they read as points along a side, not
  // as corners of the face the side bounds.
  if (step > 1)
    for (std::size_t k = 1; k + 1 < knotOf.size(); ++k) {
      const std::size_t i = knotOf[k] * step;
      const Vec2 t = faces::minus(curve[i + 1], curve[i - 1]);
      const double l = faces::length(t);
      if (!(l > 0)) continue;
      const Vec2 d = faces::times(1 / l, t);
      curve[i - 1] = faces::minus(curve[i], faces::times(faces::length(faces::minus(curve[i], curve[i - 1])), d));
      curve[i + 1] = faces::plus(curve[i], faces::times(faces::length(faces::minus(curve[i + 1], curve[i])), d));
    }
  const std::size_t k = p.piece;
  std::vector<Vec2> out;
  for (std::size_t i = knotOf[k] * step; i <= knotOf[k + 1] * step; ++i)
    out.push_back(toEdgeShares(where[k], where[k + 1], fromEdgeShares(a, c, curve[i])));
  out.front() = {0, 0};
  out.back() = {1, 0};
  if (side.against[k]) {
    std::reverse(out.begin(), out.end());
    for (Vec2& q : out) q = {1 - q.x, -q.y};
  }
  return out;
}

std::vector<Vec2> edgePath(const Family& f, const Shape& s, const std::vector<Vec2>& st, int edge, int pieces) {
  const Vec2 from = cornerAt(f, s, st, f.edges[edge].from), to = cornerAt(f, s, st, f.edges[edge].to);
  std::vector<Vec2> path = edgeCurve(f, s, st, edge, pieces);
  for (Vec2& p : path) p = fromEdgeShares(from, to, p);
  path.front() = from;
  path.back() = to;
  return path;
}

std::vector<Vec2> sidePath(const Family& f, const Shape& s, const std::vector<Vec2>& st, int edge, int pieces) {
  const PieceOf p = pieceOf(f, edge);
  const Side& side = *p.side;
  std::vector<Vec2> out;
  for (std::size_t k = 0; k < side.pieces.size(); ++k) {
    std::vector<Vec2> path = edgePath(f, s, st, side.pieces[k], pieces);
    if (side.against[k]) std::reverse(path.begin(), path.end());
    const Corner c = side.points[k];
    const Vec2 by = faces::minus(planeOf(f, s, shifted(st[c.vertex], c, p.shift)), path.front());
    for (std::size_t i = out.empty() ? 0 : 1; i < path.size(); ++i) out.push_back(faces::plus(path[i], by));
  }
  return out;
}

Outline outlineOf(const Family& f, const Shape& s, const std::vector<Vec2>& st, int face, int pieces) {
  const Face& r = f.faces[face];
  const std::size_t n = r.ring.size();
  Outline out;
  for (std::size_t k = 0; k < n; ++k) {
    const Vec2 a = cornerAt(f, s, st, r.ring[k]), b = cornerAt(f, s, st, r.ring[(k + 1) % n]);
    out.points.push_back(a);
    out.side.push_back(int(k));
    if (!bentOrbit(f, s, f.edges[r.side[k]].orbit)) continue;
    std::vector<Vec2> curve = edgeCurve(f, s, st, r.side[k], pieces);
    if (r.against[k]) {
      // The edge runs from b to a: its shares, read from this side.
      std::reverse(curve.begin(), curve.end());
      for (Vec2& p : curve) p = {1 - p.x, -p.y};
    }
    for (std::size_t i = 1; i + 1 < curve.size(); ++i) {
      out.points.push_back(fromEdgeShares(a, b, curve[i]));
      out.side.push_back(int(k));
    }
  }
  return out;
}

std::vector<faces::Segment2> unitEdges(const Family& f, const Shape& s, int pieces) {
  const std::vector<Vec2> st = placed(f, s);
  std::vector<faces::Segment2> out;
  out.reserve(f.edges.size());
  for (int e = 0; e < int(f.edges.size()); ++e) {
    const std::vector<Vec2> path = edgePath(f, s, st, e, pieces);
    for (std::size_t k = 0; k + 1 < path.size(); ++k) out.push_back({path[k], path[k + 1]});
  }
  return out;
}

std::vector<faces::Segment2> blockTiles(const Family& f, const Shape& s, int half, int pieces) {
  const std::vector<Vec2> st = placed(f, s);
  std::vector<faces::Segment2> sides;
  for (int face = 0; face < int(f.faces.size()); ++face) {
    const Outline o = outlineOf(f, s, st, face, pieces);
    for (std::size_t k = 0; k < o.points.size(); ++k)
      sides.push_back({o.points[k], o.points[(k + 1) % o.points.size()]});
  }
  std::vector<faces::Segment2> out;
  out.reserve(sides.size() * std::size_t(2 * half + 1) * std::size_t(2 * half + 1));
  for (int i = -half; i <= half; ++i)
    for (int j = -half; j <= half; ++j) {
      const Vec2 d = faces::plus(faces::times(i, s.u), faces::times(j, s.v));
      for (const faces::Segment2& e : sides) out.push_back({faces::plus(e.a, d), faces::plus(e.b, d)});
    }
  return out;
}

std::vector<Vec2> blockVertices(const Family& f, const Shape& s, int half) {
  const std::vector<Vec2> st = placed(f, s);
  std::vector<Vec2> out;
  // Every corner of every tile of every period, as blockTiles draws them.
  for (int i = -half; i <= half; ++i)
    for (int j = -half; j <= half; ++j)
      for (const Face& face : f.faces)
        for (const Corner& c : face.ring)
          out.push_back(planeOf(f, s, {st[c.vertex].x + c.i + i, st[c.vertex].y + c.j + j}));
  return out;
}

}  // namespace family
