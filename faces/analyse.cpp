#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <numbers>
#include <sstream>

#include "faces/shape_index.h"
#include "faces/shapes.h"
#include "faces/subdivision.h"
#include "faces/grid_hash.h"
#include "faces/weld.h"

namespace faces {

namespace {

// A sliver is far thinner and far smaller than the drawing's typical face:
// its width (twice the area over the perimeter) and its area below these
// shares of the medians. A triangle among dodecagons of the same side is
// still 15 % as wide and 4 % as large.
constexpr double sliverWidth = 0.1;
constexpr double sliverArea = 0.05;

double perimeter(const Face& f) {
  double sum = 0;
  for (double s : f.sides) sum += s;
  return sum;
}

double width(const Face& f) {
  const double p = perimeter(f);
  return p > 0 ? 2 * f.area / p : 0;
}

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

std::vector<Face> measureFaces(const Subdivision& sub) {
  std::vector<Face> faces;
  faces.reserve(sub.rings.size());
  for (const std::vector<int>& ring : sub.rings) {
    std::vector<Vec2> boundary;
    boundary.reserve(ring.size());
    for (int id : ring) boundary.push_back(sub.nodes[id].at);
    faces.push_back(measureFace(boundary));
  }
  return faces;
}

// --- Curved sides

std::uint64_t edgeKey(int from, int to) {
  return (std::uint64_t(std::uint32_t(from)) << 32) | std::uint32_t(to);
}

// The faces that meet at a node, the outside counting as one.
struct Meeting {
  int faces = 0;
  bool outside = false;  // one of them
};

// At each node: the faces whose boundary runs through it, and the outside
// where an edge of a boundary there has no face on its other side.
// Dangling and cut edges, which no boundary runs along, bring no face of
// their own.
std::vector<Meeting> meetings(const Subdivision& sub) {
  std::unordered_set<std::uint64_t> bounding;
  for (const std::vector<int>& r : sub.rings)
    for (std::size_t k = 0; k < r.size(); ++k) bounding.insert(edgeKey(r[k], r[(k + 1) % r.size()]));
  std::vector<std::pair<int, int>> present;  // node, face (-1: the outside)
  for (int f = 0; f < int(sub.rings.size()); ++f) {
    const std::vector<int>& r = sub.rings[f];
    for (std::size_t k = 0; k < r.size(); ++k) {
      const int a = r[k], b = r[(k + 1) % r.size()];
      present.emplace_back(a, f);
      if (!bounding.contains(edgeKey(b, a))) present.emplace_back(a, -1), present.emplace_back(b, -1);
    }
  }
  std::sort(present.begin(), present.end());
  present.erase(std::unique(present.begin(), present.end()), present.end());
  std::vector<Meeting> m(sub.nodes.size());
  for (auto [node, face] : present) {
    ++m[node].faces;
    m[node].outside = m[node].outside || face < 0;
  }
  return m;
}

NodeRole roleOf(const Meeting& m) {
  if (m.faces >= 3) return NodeRole::vertex;
  return m.faces == 2 && m.outside ? NodeRole::rim : NodeRole::along;
}

// Known vertices, found again within the weld radius.
class KnownVertices {
 public:
  explicit KnownVertices(const std::vector<Vec2>& points) {
    for (Vec2 p : points) cells_[cellAt(p, size)].push_back(p);
  }
  bool empty() const { return cells_.empty(); }
  bool holds(Vec2 p) const {
    const Cell c = cellAt(p, size);
    for (std::int64_t i = -1; i <= 1; ++i)
      for (std::int64_t j = -1; j <= 1; ++j) {
        const auto it = cells_.find({c.i + i, c.j + j});
        if (it == cells_.end()) continue;
        for (Vec2 q : it->second)
          if (length(minus(p, q)) <= 2 * weldRadius) return true;
      }
    return false;
  }

 private:
  static constexpr double size = 4 * weldRadius;
  std::unordered_map<Cell, std::vector<Vec2>, CellHash> cells_;
};

// A node's role where the drawing's vertices are known: on the drawing's
// edge, where fewer than three faces meet at a vertex, it is one all the
// same.
NodeRole roleOf(const Meeting& m, Vec2 at, const KnownVertices& known) {
  const NodeRole role = roleOf(m);
  if (role == NodeRole::vertex || known.empty()) return role;
  return known.holds(at) ? NodeRole::vertex : NodeRole::along;
}

// The faces measured with curved sides, the points along their sides that
// tell them apart, and their widths (twice the area over the length round).
struct CurvedFaces {
  std::vector<Face> faces;
  std::vector<std::vector<Vec2>> along;
  std::vector<double> widths;
};

CurvedFaces measureCurvedFaces(const Subdivision& sub, const std::vector<Meeting>& meeting,
                               const KnownVertices& known) {
  CurvedFaces out;
  for (const std::vector<int>& ring : sub.rings) {
    std::vector<Vec2> boundary;
    std::vector<NodeRole> roles;
    double around = 0;
    for (int id : ring)
      boundary.push_back(sub.nodes[id].at), roles.push_back(roleOf(meeting[id], sub.nodes[id].at, known));
    for (std::size_t k = 0; k < boundary.size(); ++k)
      around += length(minus(boundary[(k + 1) % boundary.size()], boundary[k]));
    CurvedShape shape = measureCurvedFace(boundary, roles);
    out.widths.push_back(around > 0 ? 2 * shape.face.area / around : 0);
    if (shape.face.curved) {
      shape.face.boundary = boundary;
      shape.face.along = shape.along;
    }
    out.faces.push_back(std::move(shape.face));
    out.along.push_back(std::move(shape.along));
  }
  return out;
}

int orientationIndex(FaceClass& c, Orientation o) {
  for (std::size_t k = 0; k < c.orientations.size(); ++k) {
    const Orientation& known = c.orientations[k];
    const double apart = std::abs(known.turn - o.turn);
    if (known.mirrored == o.mirrored && std::min(apart, 360 - apart) < sameTurn) return int(k);
  }
  c.orientations.push_back(o);
  return int(c.orientations.size()) - 1;
}

// Sorts the faces into congruence classes, each first member its model;
// classes by number of sides, then largest first. fit(m, i) fits face i
// against face m, as fitShape does.
template <class Fit>
std::vector<FaceClass> classify(std::vector<Face>& faces, Fit fit) {
  std::vector<FaceClass> classes;
  std::vector<int> models;
  ShapeIndex index;
  for (int i = 0; i < int(faces.size()); ++i) {
    Face& f = faces[i];
    index.forCandidates(f, [&](int c) {
      const std::optional<Orientation> o = fit(models[c], i);
      if (!o) return false;
      f.cls = c;
      f.mirrored = o->mirrored;
      f.orientation = orientationIndex(classes[c], *o);
      return true;
    });
    if (f.cls < 0) {
      index.add(f, int(classes.size()));
      FaceClass c;
      c.sides = int(f.corners.size());
      c.area = f.area;
      c.lengths = f.sides;
      c.angles = f.angles;
      c.orientations.push_back({0, false});
      c.curved = f.curved;
      f.cls = int(classes.size());
      classes.push_back(c);
      models.push_back(i);
    }
    ++classes[f.cls].count;
    if (f.mirrored) ++classes[f.cls].mirrored;
  }

  std::vector<int> order(classes.size());
  for (int c = 0; c < int(order.size()); ++c) order[c] = c;
  std::stable_sort(order.begin(), order.end(), [&](int l, int r) {
    if (classes[l].sides != classes[r].sides) return classes[l].sides < classes[r].sides;
    return classes[l].area > classes[r].area;
  });
  std::vector<int> rank(classes.size());
  std::vector<FaceClass> sorted;
  for (int k = 0; k < int(order.size()); ++k) {
    rank[order[k]] = k;
    sorted.push_back(classes[order[k]]);
  }
  for (Face& f : faces) f.cls = rank[f.cls];
  return sorted;
}

// Slivers are far thinner than the drawing's typical face; a lone face of
// its kind among many others is unlike all of them.
// widths[f]: the width of face f.
void markProblemClasses(std::vector<Face>& faces, std::vector<FaceClass>& classes,
                        const std::vector<double>& widths) {
  std::vector<double> areas;
  for (const Face& f : faces) areas.push_back(f.area);
  const double typicalWidth = median(widths), typicalArea = median(areas);
  std::vector<double> classWidth(classes.size(), 0);
  for (std::size_t f = 0; f < faces.size(); ++f) classWidth[faces[f].cls] = widths[f];
  for (std::size_t c = 0; c < classes.size(); ++c) {
    classes[c].sliver = classWidth[c] < sliverWidth * typicalWidth &&
                        classes[c].area < sliverArea * typicalArea;
    classes[c].odd = !classes[c].sliver && classes[c].count == 1 && faces.size() > 2;
  }
  for (Face& f : faces) f.problem = classes[f.cls].sliver || classes[f.cls].odd;
}

// One face around a vertex: its number of sides, and whether the vertex is
// only a point on one of its straight sides.
struct Token {
  int sides;
  bool straight;
  auto operator<=>(const Token&) const = default;
};

// The least of the ring's rotations, found in time linear in its length
// (two candidate starts; the worse one moves past the stretch compared).
std::vector<Token> leastRotation(std::vector<Token> ring) {
  const std::size_t n = ring.size();
  std::size_t i = 0, j = 1, k = 0;
  while (i < n && j < n && k < n) {
    const Token& a = ring[(i + k) % n];
    const Token& b = ring[(j + k) % n];
    if (a == b) {
      ++k;
      continue;
    }
    (b < a ? i : j) += k + 1;
    if (i == j) ++j;
    k = 0;
  }
  std::rotate(ring.begin(), ring.begin() + std::ptrdiff_t(n == 0 ? 0 : std::min(i, j)), ring.end());
  return ring;
}

// The configuration read from its least rotation either way round.
std::string configurationName(std::vector<Token> tokens) {
  std::vector<Token> best = leastRotation(tokens);
  std::reverse(tokens.begin(), tokens.end());
  best = std::min(best, leastRotation(tokens));
  std::string name;
  for (const Token& t : best) {
    if (!name.empty()) name += '.';
    if (t.straight) name += '(';
    name += std::to_string(t.sides);
    if (t.straight) name += ')';
  }
  return name;
}

// Every node that faces surround on all sides and that is a corner of at
// least one of them, with its configuration. With `meeting` (curved sides),
// only nodes where three or more faces meet.
std::vector<Vertex> interiorVertices(const Subdivision& sub, const std::vector<Face>& faces,
                                     const std::vector<Meeting>& meeting) {
  constexpr double straightAngle = 1e-4;
  std::vector<Vertex> found;
  for (std::size_t n = 0; n < sub.spokes.size(); ++n) {
    const std::vector<Spoke>& spokes = sub.spokes[n];
    if (spokes.size() < 2) continue;
    if (!meeting.empty() && meeting[n].faces < 3) continue;
    std::vector<Token> tokens;
    bool inside = true, corner = false;
    for (std::size_t k = 0; k < spokes.size() && inside; ++k) {
      const int face = spokes[k].leftFace;
      if (face < 0) inside = false;
      if (!inside) break;
      double sector = (k + 1 < spokes.size() ? spokes[k + 1].angle : spokes[0].angle + 2 * std::numbers::pi) -
                      spokes[k].angle;
      const bool straight = std::abs(sector - std::numbers::pi) < straightAngle;
      corner = corner || !straight;
      tokens.push_back({int(faces[face].corners.size()), straight});
    }
    if (inside && corner) found.push_back({sub.nodes[n].at, configurationName(tokens)});
  }
  return found;
}

std::vector<Edge> edgesOf(const Subdivision& sub) {
  // The face left of each spoke, by where it runs from and to: the face
  // right of an edge is left of its spoke back.
  std::unordered_map<std::uint64_t, int> leftOf;
  for (std::size_t n = 0; n < sub.spokes.size(); ++n)
    for (const Spoke& s : sub.spokes[n]) leftOf[edgeKey(int(n), s.to)] = s.leftFace;
  std::vector<Edge> edges;
  for (std::size_t n = 0; n < sub.spokes.size(); ++n)
    for (const Spoke& s : sub.spokes[n]) {
      if (s.to < int(n)) continue;
      const auto back = leftOf.find(edgeKey(s.to, int(n)));
      const int right = back == leftOf.end() ? -1 : back->second;
      edges.push_back({sub.nodes[n].at, sub.nodes[s.to].at, s.leftFace, right});
    }
  return edges;
}

// Drawn segments cross where no segment ends. Where tiles meet properly
// such a point is a vertex like the others (long segments drawn straight
// through a vertex cross there); it is an overlap when a problem face or the
// outside touches it.
void findCrossings(const Subdivision& sub, const std::vector<Face>& faces,
                   std::vector<Problem>& problems) {
  for (std::size_t n = 0; n < sub.nodes.size(); ++n) {
    if (sub.nodes[n].endPoint) continue;
    bool troubled = false;
    for (const Spoke& s : sub.spokes[n]) troubled = troubled || s.leftFace < 0 || faces[s.leftFace].problem;
    if (troubled) problems.push_back({ProblemKind::crossing, sub.nodes[n].at});
  }
}

std::string plural(int n, const std::string& one, const std::string& many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

Vec2 middleOf(const Face& f) {
  Vec2 c;
  for (Vec2 p : f.corners) c.x += p.x, c.y += p.y;
  const double n = double(std::max<std::size_t>(f.corners.size(), 1));
  return {c.x / n, c.y / n};
}

std::vector<Segment2> sceneSegments(const SceneStore& scene) {
  std::vector<Segment2> out;
  out.reserve(scene.segments.size());
  for (const Segment& s : scene.segments) out.push_back({{s.a.x, s.a.y}, {s.b.x, s.b.y}});
  return out;
}

Analysis analyse(std::span<const Segment2> segments) { return analyse(segments, {}); }

Analysis analyse(std::span<const Segment2> segments, const AnalysisOptions& options) {
  const Subdivision sub = subdivide(segments);
  Analysis a;
  std::vector<Meeting> meeting;
  std::vector<double> widths;
  if (options.curvedSides) {
    meeting = meetings(sub);
    CurvedFaces measured = measureCurvedFaces(sub, meeting, KnownVertices(options.vertices));
    a.faces = std::move(measured.faces);
    widths = std::move(measured.widths);
    const std::vector<std::vector<Vec2>>& along = measured.along;
    a.classes = classify(a.faces, [&](int m, int i) {
      return fitCurvedShape(a.faces[m], along[m], a.faces[i], along[i]);
    });
  } else {
    a.faces = measureFaces(sub);
    for (const Face& f : a.faces) widths.push_back(width(f));
    a.classes = classify(a.faces, [&](int m, int i) { return fitShape(a.faces[m], a.faces[i]); });
  }
  markProblemClasses(a.faces, a.classes, widths);
  a.interior = interiorVertices(sub, a.faces, meeting);
  for (const Vertex& v : a.interior) ++a.vertices[v.configuration];
  a.edges = edgesOf(sub);

  findCrossings(sub, a.faces, a.problems);
  for (Vec2 p : sub.dangles) a.problems.push_back({ProblemKind::dangle, p});
  for (Vec2 p : sub.cuts) a.problems.push_back({ProblemKind::cut, p});
  for (const Face& f : a.faces) {
    if (a.classes[f.cls].sliver) a.problems.push_back({ProblemKind::sliver, middleOf(f)});
    if (a.classes[f.cls].odd) a.problems.push_back({ProblemKind::odd, middleOf(f)});
  }
  for (const Face& f : a.faces) a.faceArea += f.area;
  a.enclosedArea = sub.enclosedArea;
  return a;
}

std::map<int, int> Analysis::facesBySides() const {
  std::map<int, int> count;
  for (const Face& f : faces) ++count[int(f.corners.size())];
  return count;
}

int Analysis::count(ProblemKind kind) const {
  return int(std::count_if(problems.begin(), problems.end(),
                           [kind](const Problem& p) { return p.kind == kind; }));
}

std::string Analysis::verdict() const {
  if (faces.empty()) return "no closed face";
  std::vector<std::string> parts;
  if (int n = count(ProblemKind::crossing)) parts.push_back(plural(n, "crossing", "crossings"));
  if (int n = count(ProblemKind::sliver)) parts.push_back(plural(n, "sliver face", "sliver faces"));
  if (int n = count(ProblemKind::odd)) parts.push_back(plural(n, "face unlike the others", "faces unlike the others"));
  if (int n = count(ProblemKind::dangle)) parts.push_back(plural(n, "dangling edge", "dangling edges"));
  if (int n = count(ProblemKind::cut)) parts.push_back(plural(n, "cut edge", "cut edges"));
  if (parts.empty()) return "tiles without gaps or overlaps";
  std::ostringstream out;
  out << "does not tile cleanly: ";
  for (std::size_t k = 0; k < parts.size(); ++k) out << (k ? ", " : "") << parts[k];
  return out.str();
}

}  // namespace faces
