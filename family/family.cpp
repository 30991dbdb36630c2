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
  std::string problem;
};

bool straightAt(Vec2 prev, Vec2 at, Vec2 next) {
  const Vec2 in = faces::minus(at, prev), out = faces::minus(next, at);
  return faces::dot(in, out) > 0 &&
         std::abs(faces::cross(in, out)) <= 1e-4 * faces::length(in) * faces::length(out);
}

// The drawing's vertices, faces and edges as one period of them: each face
// class taken from the member nearest the drawing's middle that lies among
// known vertices.
Built torusOf(const faces::Analysis& a, const Frame& frame, double near) {
  Built b;
  VertexClasses classes(frame, near);
  ByPlace<Corner> vertexAt;
  for (const faces::Vertex& v : a.interior) {
    const Vec2 st = frame.toLattice(v.at);
    classes.add(st, v.configuration);
  }
  for (const faces::Vertex& v : a.interior) vertexAt[v.at] = classes.find(frame.toLattice(v.at));

  std::vector<std::vector<int>> edgesOfFace(a.faces.size());
  for (int e = 0; e < int(a.edges.size()); ++e)
    for (int f : {a.edges[e].left, a.edges[e].right})
      if (f >= 0) edgesOfFace[f].push_back(e);

  // Face classes of translates, each member by its distance from the middle.
  PeriodIndex faceIndex(frame, near);
  std::vector<std::vector<std::pair<double, int>>> members;
  for (int f = 0; f < int(a.faces.size()); ++f) {
    const faces::Face& face = a.faces[f];
    if (face.problem || face.cls < 0) continue;
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
    bool done = false;
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
      b.faces.push_back(std::move(face));
      done = true;
      break;
    }
    if (!done) {
      b.problem = "its faces do not tile: some kind of face never lies among whole vertices";
      return b;
    }
  }
  b.st = classes.st;
  for (std::size_t k = 0; k < classes.st.size(); ++k)
    b.vertices.push_back({0, {}, classes.configuration[k]});

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
      b.problem = "an edge borders a face on one side only";
      return b;
    }
  const long long euler =
      (long long)b.vertices.size() - (long long)b.edges.size() + (long long)b.faces.size();
  if (euler != 0) b.problem = "the faces do not close up into one period";
  return b;
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

// Edge orbits under the kept group, each represented by its edge nearest
// home, the nearest first, and the shape its stabiliser leaves it. Edges
// along a straight side through another tile's corner stay straight: the
// side must.
void findEdgeOrbits(Family& f, const KeptGroup& keep, const std::vector<std::vector<Corner>>& image,
                    const Frame& frame, const std::vector<Vec2>& st) {
  const auto stOf = [&](Corner c) { return Vec2{st[c.vertex].x + c.i, st[c.vertex].y + c.j}; };
  std::map<EdgeKey, int> byKey;
  for (int e = 0; e < int(f.edges.size()); ++e) byKey[keyOf(f.edges[e].from, f.edges[e].to)] = e;
  struct Found {
    int edge = -1;
    bool reversed = false;
  };
  const auto imageEdge = [&](std::size_t g, int e) {
    const Operation& op = keep.elements[g];
    const Corner p = imageOf(image, op, g, f.edges[e].from), q = imageOf(image, op, g, f.edges[e].to);
    if (const auto it = byKey.find(keyOf(p, q)); it != byKey.end())
      return std::pair{Found{it->second, false}, p};
    if (const auto it = byKey.find(keyOf(q, p)); it != byKey.end())
      return std::pair{Found{it->second, true}, q};
    return std::pair{Found{}, p};
  };
  std::vector<int> orbitOf(f.edges.size(), -1);
  std::vector<std::pair<double, int>> reps;
  std::vector<int> member(f.edges.size(), -1);
  for (int e = 0; e < int(f.edges.size()); ++e) {
    if (member[e] >= 0) continue;
    for (std::size_t g = 0; g < keep.elements.size(); ++g) {
      const Found x = imageEdge(g, e).first;
      if (x.edge >= 0) member[x.edge] = int(reps.size());
    }
    member[e] = int(reps.size());
    reps.push_back({0, e});
  }
  // The member nearest home: its middle in lattice coordinates nearest the
  // middle of the period.
  for (auto& [distance, rep] : reps) {
    const int orbit = member[rep];
    distance = INFINITY;
    for (int e = 0; e < int(f.edges.size()); ++e) {
      if (member[e] != orbit) continue;
      const Edge& edge = f.edges[e];
      const Vec2 mid = faces::times(0.5, faces::plus(stOf(edge.from), stOf(edge.to)));
      const double d = faces::length(frame.along(faces::minus(mid, {0.5, 0.5})));
      if (d < distance) distance = d, rep = e;
    }
  }
  std::sort(reps.begin(), reps.end());
  for (const auto& [distance, rep] : reps) {
    EdgeOrbit o;
    o.name = "E" + std::to_string(f.edgeOrbits.size() + 1);
    o.representative = rep;
    const int id = int(f.edgeOrbits.size());
    bool lineMirror = false, halfTurn = false, bisector = false;
    for (std::size_t g = 0; g < keep.elements.size(); ++g) {
      const Found x = imageEdge(g, rep).first;
      if (x.edge < 0) continue;
      const bool mirrored = determinant(keep.elements[g].m) < 0;
      if (orbitOf[x.edge] < 0) {
        orbitOf[x.edge] = id;
        f.edges[x.edge].orbit = id;
        f.edges[x.edge].reversed = x.reversed;
        f.edges[x.edge].mirrored = mirrored;
      }
      // The element, followed by the right whole periods, carries the edge
      // onto itself.
      if (x.edge != rep) continue;
      if (!x.reversed && !mirrored) continue;  // a translation
      if (!x.reversed)
        lineMirror = lineMirror || mirrored;
      else
        (mirrored ? bisector : halfTurn) = true;
    }
    f.edges[rep].reversed = false;
    f.edges[rep].mirrored = false;
    if (lineMirror) {
      o.shape = EdgeShape::straight;
      o.straightWhy = "lies on a mirror";
    } else if (halfTurn && bisector) {
      o.shape = EdgeShape::straight;
      o.straightWhy = "is held straight by a half-turn and a mirror";
    } else {
      o.shape = halfTurn ? EdgeShape::halfTurn : bisector ? EdgeShape::mirror : EdgeShape::free;
    }
    f.edgeOrbits.push_back(o);
  }
  // Halves of a straight side through another tile's corner.
  for (const Face& face : f.faces) {
    const std::size_t n = face.ring.size();
    for (std::size_t k = 0; k < n; ++k) {
      if (!face.straight[k]) continue;
      for (const int side : {face.side[(k + n - 1) % n], face.side[k]}) {
        EdgeOrbit& o = f.edgeOrbits[f.edges[side].orbit];
        o.shape = EdgeShape::straight;
        o.straightWhy = "runs along a straight side through " +
                        f.orbits[f.vertices[face.ring[k].vertex].orbit].name;
      }
    }
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
  f.faces = b.faces;
  f.edges = b.edges;

  // Each element's image of each vertex class.
  VertexClasses classes(frame, id.near);
  for (std::size_t k = 0; k < b.st.size(); ++k) {
    classes.index.add(b.st[k], int(k));
    classes.st.push_back(b.st[k]);
    classes.configuration.push_back(b.vertices[k].configuration);
  }
  const std::size_t nv = b.st.size();
  std::vector<std::vector<Corner>> image(keep.elements.size(), std::vector<Corner>(nv));
  for (std::size_t g = 0; g < keep.elements.size(); ++g)
    for (std::size_t v = 0; v < nv; ++v) {
      image[g][v] = classes.find(symmetry::apply(keep.elements[g], b.st[v]),
                                 &b.vertices[v].configuration);
      if (image[g][v].vertex < 0) {
        found.problem = "the group does not carry the vertices onto vertices";
        return found;
      }
    }

  // Orbits, each represented by its class nearest home, the nearest first.
  std::vector<int> member(nv, -1);
  std::vector<std::pair<double, int>> reps;
  for (std::size_t v = 0; v < nv; ++v) {
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

  // Representatives on straight sides slide along them.
  for (const Face& face : f.faces) {
    const std::size_t n = face.ring.size();
    for (std::size_t k = 0; k < n; ++k) {
      if (!face.straight[k]) continue;
      const Corner at = face.ring[k];
      Orbit& o = f.orbits[f.vertices[at.vertex].orbit];
      if (o.representative != at.vertex || o.straight) continue;
      // The side's true corners on either hand.
      std::size_t before = (k + n - 1) % n, after = (k + 1) % n;
      while (face.straight[before] && before != k) before = (before + n - 1) % n;
      while (face.straight[after] && after != k) after = (after + 1) % n;
      const auto relative = [&](Corner c) { return Corner{c.vertex, c.i - at.i, c.j - at.j}; };
      const Straight side{relative(face.ring[before]), relative(face.ring[after])};
      if (o.free == 0) continue;  // at a centre: the group keeps the side straight
      if (o.free == 1) {
        const Vec2 a = b.st[side.from.vertex], c = b.st[side.to.vertex];
        const Vec2 d = frame.along(faces::minus({c.x + side.to.i, c.y + side.to.j},
                                                {a.x + side.from.i, a.y + side.from.j}));
        const Vec2 m = frame.along(o.along);
        if (std::abs(faces::cross(d, m)) > 1e-6 * faces::length(d) * faces::length(m)) {
          o.crossing = true;  // held where its line crosses the side
          o.free = 0;
        }
      } else {
        o.free = 1;
      }
      o.straight = side;
    }
  }

  findEdgeOrbits(f, keep, image, frame, b.st);

  // Sides after their ends.
  std::vector<bool> ready(f.orbits.size(), false);
  for (std::size_t round = 0; round <= f.orbits.size(); ++round)
    for (std::size_t k = 0; k < f.orbits.size(); ++k) {
      if (ready[k]) continue;
      const Orbit& o = f.orbits[k];
      if (o.straight && (!ready[f.vertices[o.straight->from.vertex].orbit] ||
                         !ready[f.vertices[o.straight->to.vertex].orbit]))
        continue;
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

std::vector<Vec2> placed(const Family& f, const Shape& s) {
  std::vector<Vec2> st(f.vertices.size());
  std::vector<Vec2> rep(f.orbits.size());
  const auto at = [&](Corner c) { return Vec2{st[c.vertex].x + c.i, st[c.vertex].y + c.j}; };
  for (int k : f.order) {
    const Orbit& o = f.orbits[k];
    Vec2 r = s.at[k];
    if (o.straight) {
      const Vec2 a = at(o.straight->from), c = at(o.straight->to);
      if (!o.crossing) {
        r = faces::plus(a, faces::times(s.t[k], faces::minus(c, a)));
      } else {
        // Where the line through s.at[k] along `along` meets the side.
        const Vec2 d = faces::minus(c, a);
        const double den = faces::cross(d, o.along);
        if (den != 0) r = faces::plus(a, faces::times(faces::cross(faces::minus(s.at[k], a), o.along) / den, d));
      }
    }
    rep[k] = r;
    // Every class of the orbit as the image of the representative.
    for (std::size_t v = 0; v < f.vertices.size(); ++v)
      if (f.vertices[v].orbit == k) st[v] = faces::plus(map(f.vertices[v].image.m, r), f.vertices[v].image.c);
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

Vec2 onEdge(const Edge& e, Vec2 p) {
  const double across = e.mirrored ? -p.y : p.y;
  return e.reversed ? Vec2{1 - p.x, -across} : Vec2{p.x, across};
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

}  // namespace

std::vector<Vec2> edgeCurve(const Family& f, const Shape& s, int edge, int pieces) {
  const Edge& e = f.edges[edge];
  const EdgeOrbit& o = f.edgeOrbits[e.orbit];
  std::vector<Vec2> points{{0, 0}};
  if (o.shape != EdgeShape::straight && e.orbit < int(s.bends.size())) {
    const std::vector<Vec2>& half = s.bends[e.orbit];
    points.insert(points.end(), half.begin(), half.end());
    if (o.shape == EdgeShape::halfTurn && !half.empty()) points.push_back({0.5, 0});
    if (o.shape == EdgeShape::halfTurn || o.shape == EdgeShape::mirror)
      for (auto it = half.rbegin(); it != half.rend(); ++it)
        points.push_back({1 - it->x, o.shape == EdgeShape::halfTurn ? -it->y : it->y});
  }
  points.push_back({1, 0});
  if (s.smooth && points.size() > 2) points = smoothThrough(points, pieces);
  for (Vec2& p : points) p = onEdge(e, p);
  if (e.reversed) std::reverse(points.begin(), points.end());
  return points;
}

std::vector<Vec2> edgePath(const Family& f, const Shape& s, const std::vector<Vec2>& st, int edge, int pieces) {
  const Vec2 from = cornerAt(f, s, st, f.edges[edge].from), to = cornerAt(f, s, st, f.edges[edge].to);
  std::vector<Vec2> path = edgeCurve(f, s, edge, pieces);
  for (Vec2& p : path) p = fromEdgeShares(from, to, p);
  path.front() = from;
  path.back() = to;
  return path;
}

Outline outlineOf(const Family& f, const Shape& s, const std::vector<Vec2>& st, int face, int pieces) {
  const Face& r = f.faces[face];
  const std::size_t n = r.ring.size();
  Outline out;
  for (std::size_t k = 0; k < n; ++k) {
    const Vec2 a = cornerAt(f, s, st, r.ring[k]), b = cornerAt(f, s, st, r.ring[(k + 1) % n]);
    out.points.push_back(a);
    out.side.push_back(int(k));
    const bool bent = f.edgeOrbits[f.edges[r.side[k]].orbit].shape != EdgeShape::straight &&
                      !s.bends[f.edges[r.side[k]].orbit].empty();
    if (!bent) continue;
    std::vector<Vec2> curve = edgeCurve(f, s, r.side[k], pieces);
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
