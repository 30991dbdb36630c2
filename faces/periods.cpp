#include "faces/periods.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "faces/grid_hash.h"

namespace faces {

namespace {

// Two places closer than this share of the drawing's typical face size (the
// square root of the median face area) are the same place: far above the
// float noise of the drawings (about 1e-5) and far below the distance
// between any two faces' centres.
constexpr double samePlace = 3e-3;
// A candidate period may miss this share of the faces it is checked on (a
// hole, a stray face) and still be one.
constexpr double missShare = 0.1;
// A period is confirmed by at least this many faces mapped onto their like.
constexpr int fewestMatches = 4;
// Candidates from one reference face are checked shortest first, at most
// this many, and at most this many kinds of face are tried as references.
constexpr std::size_t mostCandidates = 100;
constexpr std::size_t mostReferences = 4;

// Faces alike in shape and lying the same way: class, orientation, mirroring.
std::uint64_t kindOf(const Face& f) {
  return (std::uint64_t(std::uint32_t(f.cls)) << 32) |
         (std::uint64_t(std::uint32_t(f.orientation)) << 1) | std::uint64_t(f.mirrored);
}

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// The distance within which two places are the same, from the drawing's
// typical face; 0 when it has no face that is not a problem.
double sameDistance(const Analysis& a) {
  std::vector<double> areas;
  for (const Face& f : a.faces)
    if (!f.problem) areas.push_back(f.area);
  return samePlace * std::sqrt(median(areas));
}

// Places of things of some kind (faces, vertices), found again by kind and
// place within one distance.
class Landmarks {
 public:
  explicit Landmarks(double near) : near_(near), grid_(near) {}

  void add(Vec2 at, std::uint64_t kind) {
    grid_.insert(at, int(places_.size()));
    places_.push_back({at, kind});
  }
  // The landmark of that kind within the distance of p, or -1.
  int find(Vec2 p, std::uint64_t kind) const {
    int found = -1;
    grid_.forNear(p, [&](int id) {
      if (found < 0 && places_[id].kind == kind && length(minus(places_[id].at, p)) <= near_)
        found = id;
    });
    return found;
  }

 private:
  struct Place {
    Vec2 at;
    std::uint64_t kind;
  };
  double near_;
  GridHash grid_;
  std::vector<Place> places_;
};

bool inside(const Face& f, Vec2 p) {
  bool in = false;
  const std::size_t n = f.corners.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const Vec2 a = f.corners[i], b = f.corners[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) in = !in;
  }
  return in;
}

// The faces that decide: each face's centre and kind, filed by place, and
// whether it lies away from the drawing's edge (shares no edge with the
// outside). Problem faces are left out.
class Drawing {
 public:
  Drawing(const Analysis& a, double near) : a_(a), landmarks_(near), reach_(reachOf(a)) {
    centres_.reserve(a.faces.size());
    for (const Face& f : a.faces) centres_.push_back(middleOf(f));
    inner_.assign(a.faces.size(), true);
    for (const Edge& e : a.edges) {
      if (e.left < 0 && e.right >= 0) inner_[e.right] = false;
      if (e.right < 0 && e.left >= 0) inner_[e.left] = false;
    }
    for (int f = 0; f < int(a.faces.size()); ++f) {
      if (a.faces[f].problem) {
        inner_[f] = false;
        continue;
      }
      landmarks_.add(centres_[f], kindOf(a.faces[f]));
      ids_.push_back(f);
      reach_.insert(centres_[f], f);
    }
  }

  const Analysis& analysis() const { return a_; }
  Vec2 centre(int f) const { return centres_[f]; }
  bool inner(int f) const { return inner_[f]; }
  // The face that is not a problem with the kind of face f centred at p, or -1.
  int like(int f, Vec2 p) const {
    const int id = landmarks_.find(p, kindOf(a_.faces[f]));
    return id < 0 ? -1 : ids_[id];
  }
  // The face that is not a problem containing p, or -1.
  int containing(Vec2 p) const {
    int found = -1;
    reach_.forNear(p, [&](int f) {
      if (found < 0 && inside(a_.faces[f], p)) found = f;
    });
    return found;
  }

 private:
  // Cells as large as the farthest corner from its face's centre, so that a
  // face holding a point has its centre within the nine cells around it.
  static GridHash reachOf(const Analysis& a) {
    double reach = 0;
    for (const Face& f : a.faces) {
      if (f.problem) continue;
      const Vec2 c = middleOf(f);
      for (Vec2 p : f.corners) reach = std::max(reach, length(minus(p, c)));
    }
    return GridHash(reach > 0 ? reach : 1);
  }

  const Analysis& a_;
  std::vector<Vec2> centres_;
  std::vector<bool> inner_;
  std::vector<int> ids_;  // landmark to face
  Landmarks landmarks_;
  GridHash reach_;
};

// Faces away from the edge, nearest the middle of them first, so that a
// translation that is no period shows it at once.
std::vector<int> innerFacesFromTheMiddle(const Drawing& d) {
  std::vector<int> inner;
  Vec2 low{1e300, 1e300}, high{-1e300, -1e300};
  for (int f = 0; f < int(d.analysis().faces.size()); ++f) {
    if (!d.inner(f)) continue;
    inner.push_back(f);
    const Vec2 c = d.centre(f);
    low = {std::min(low.x, c.x), std::min(low.y, c.y)};
    high = {std::max(high.x, c.x), std::max(high.y, c.y)};
  }
  const Vec2 middle = times(0.5, plus(low, high));
  std::vector<double> away(d.analysis().faces.size());
  for (int f : inner) away[f] = length(minus(d.centre(f), middle));
  std::stable_sort(inner.begin(), inner.end(), [&](int l, int r) { return away[l] < away[r]; });
  return inner;
}

// Whether t carries the faces away from the edge onto faces of their kind,
// and if so t as their centres show it on average. A face whose image falls
// outside the drawing or on a face at its edge does not count either way.
std::optional<Vec2> confirm(const Drawing& d, const std::vector<int>& inner, Vec2 t) {
  const double allowed = std::max(1.0, missShare * double(inner.size()));
  int matched = 0, missed = 0;
  Vec2 sum;
  for (int f : inner) {
    const Vec2 p = plus(d.centre(f), t);
    const int g = d.like(f, p);
    if (g >= 0) {
      if (d.inner(g)) ++matched, sum = plus(sum, minus(d.centre(g), d.centre(f)));
      continue;
    }
    const int h = d.containing(p);
    if (h < 0 || !d.inner(h)) continue;
    if (++missed > allowed) return std::nullopt;
  }
  const int checked = matched + missed;
  if (matched < fewestMatches || missed > std::max(1.0, missShare * checked)) return std::nullopt;
  return times(1.0 / matched, sum);
}

bool parallel(Vec2 u, Vec2 w, double near) { return std::abs(cross(u, w)) <= near * length(u); }

// The shortest confirmed translation and the shortest confirmed one not
// parallel to it, among the offsets from `reference` to the faces of its
// kind.
std::optional<std::pair<Vec2, Vec2>> periodsFrom(const Drawing& d, const std::vector<int>& inner,
                                                 int reference, double near) {
  const Face& r = d.analysis().faces[reference];
  std::vector<Vec2> offsets;
  for (int g = 0; g < int(d.analysis().faces.size()); ++g) {
    const Face& f = d.analysis().faces[g];
    if (f.problem || kindOf(f) != kindOf(r)) continue;
    const Vec2 t = minus(d.centre(g), d.centre(reference));
    if (length(t) > near) offsets.push_back(t);
  }
  std::stable_sort(offsets.begin(), offsets.end(),
                   [](Vec2 l, Vec2 r) { return dot(l, l) < dot(r, r); });
  std::optional<Vec2> u;
  std::size_t tried = 0;
  for (Vec2 t : offsets) {
    if (u && parallel(*u, t, near)) continue;
    if (++tried > mostCandidates) break;
    const std::optional<Vec2> period = confirm(d, inner, t);
    if (!period) continue;
    if (u) return std::pair{*u, *period};
    u = period;
  }
  return std::nullopt;
}

// Reference faces, one of each kind with at least three faces away from the
// edge: the kinds with fewest such faces first (they give fewest
// candidates), each represented by its face nearest the middle.
std::vector<int> references(const Drawing& d, const std::vector<int>& inner) {
  std::unordered_map<std::uint64_t, std::pair<int, int>> kinds;  // to count, first face
  for (int f : inner) {
    auto [it, added] = kinds.try_emplace(kindOf(d.analysis().faces[f]), 0, f);
    ++it->second.first;
  }
  std::vector<std::pair<int, int>> chosen;
  for (const auto& [kind, seen] : kinds)
    if (seen.first >= 3) chosen.push_back(seen);
  std::sort(chosen.begin(), chosen.end());
  std::vector<int> faces;
  for (const auto& seen : chosen) faces.push_back(seen.second);
  return faces;
}

// Of equally short vectors (within `near`), the one pointing furthest along
// +x, and of those the one furthest along +y.
bool before(Vec2 l, Vec2 r, double near) {
  const double ll = length(l), lr = length(r);
  if (std::abs(ll - lr) > near) return ll < lr;
  if (std::abs(l.x - r.x) > near) return l.x > r.x;
  return l.y > r.y;
}

}  // namespace

Lattice reduceLattice(Vec2 a, Vec2 b, double near) {
  reduceBasis(a, b);
  std::vector<Vec2> small;
  for (int i = -2; i <= 2; ++i)
    for (int j = -2; j <= 2; ++j)
      if (i != 0 || j != 0) small.push_back(plus(times(i, a), times(j, b)));
  Lattice l;
  l.u = *std::min_element(small.begin(), small.end(),
                          [&](Vec2 p, Vec2 q) { return before(p, q, near); });
  bool found = false;
  for (Vec2 w : small) {
    if (cross(l.u, w) <= near * length(l.u)) continue;
    const double lw = length(w), lv = length(l.v);
    if (!found || lw < lv - near || (lw <= lv + near && dot(l.u, w) > dot(l.u, l.v))) l.v = w;
    found = true;
  }
  l.area = cross(l.u, l.v);
  return l;
}

std::optional<Lattice> findPeriods(const Analysis& analysis) {
  const double near = sameDistance(analysis);
  if (!(near > 0)) return std::nullopt;
  const Drawing drawing(analysis, near);
  const std::vector<int> inner = innerFacesFromTheMiddle(drawing);
  const std::vector<int> candidates = references(drawing, inner);
  for (std::size_t k = 0; k < candidates.size() && k < mostReferences; ++k)
    if (const auto uv = periodsFrom(drawing, inner, candidates[k], near))
      return reduceLattice(uv->first, uv->second, near);
  return std::nullopt;
}

namespace {

// Things of several kinds at places, counted once per translation class of
// the lattice: a thing counts when it repeats along both periods (so that
// what lies only along the drawing's edge adds nothing), and things whose
// places differ by a lattice vector are one.
class TranslationClasses {
 public:
  TranslationClasses(const Lattice& lattice, double near)
      : lattice_(lattice), det_(cross(lattice.u, lattice.v)), all_(near), classes_(near) {}

  void add(Vec2 at, std::uint64_t kind) { things_.push_back({at, kind}), all_.add(at, kind); }

  // How many classes of each kind.
  std::map<std::uint64_t, int> count() {
    std::map<std::uint64_t, int> counts;
    for (const Thing& t : things_) {
      if (!repeats(t)) continue;
      const Vec2 home = wrapped(t.at);
      bool known = false;
      for (int i = -1; i <= 1 && !known; ++i)
        for (int j = -1; j <= 1 && !known; ++j)
          known = classes_.find(plus(home, plus(times(i, lattice_.u), times(j, lattice_.v))),
                                t.kind) >= 0;
      if (known) continue;
      classes_.add(home, t.kind);
      ++counts[t.kind];
    }
    return counts;
  }

 private:
  struct Thing {
    Vec2 at;
    std::uint64_t kind;
  };

  bool repeats(const Thing& t) const {
    const auto along = [&](Vec2 w) {
      return all_.find(plus(t.at, w), t.kind) >= 0 || all_.find(minus(t.at, w), t.kind) >= 0;
    };
    return along(lattice_.u) && along(lattice_.v);
  }
  // The place moved by lattice vectors into the parallelogram of u and v.
  Vec2 wrapped(Vec2 p) const {
    double s = cross(p, lattice_.v) / det_, t = cross(lattice_.u, p) / det_;
    s -= std::floor(s), t -= std::floor(t);
    return plus(times(s, lattice_.u), times(t, lattice_.v));
  }

  Lattice lattice_;
  double det_;
  std::vector<Thing> things_;
  Landmarks all_, classes_;
};

// The ends of every edge along a problem face.
Landmarks problemCorners(const Analysis& analysis, double near) {
  Landmarks ends(near);
  const auto problem = [&](int f) { return f >= 0 && analysis.faces[f].problem; };
  for (const Edge& e : analysis.edges)
    if (problem(e.left) || problem(e.right)) ends.add(e.a, 0), ends.add(e.b, 0);
  return ends;
}

}  // namespace

PerPeriod countPerPeriod(const Analysis& analysis, const Lattice& lattice) {
  PerPeriod per;
  const double near = sameDistance(analysis);
  if (!(near > 0) || !(std::abs(cross(lattice.u, lattice.v)) > 0)) return per;

  TranslationClasses faces(lattice, near);
  for (const Face& f : analysis.faces)
    if (!f.problem) faces.add(middleOf(f), kindOf(f));
  for (auto [kind, n] : faces.count()) per.faces[analysis.classes[kind >> 32].sides] += n;

  // A vertex at a problem face (a hole, a sliver) is no vertex of the tiling.
  const Landmarks troubled = problemCorners(analysis, near);
  std::map<std::string, std::uint64_t> names;
  TranslationClasses vertices(lattice, near);
  for (const Vertex& v : analysis.interior)
    if (troubled.find(v.at, 0) < 0)
      vertices.add(v.at, names.try_emplace(v.configuration, names.size()).first->second);
  const std::map<std::uint64_t, int> counted = vertices.count();
  for (const auto& [name, kind] : names)
    if (const auto it = counted.find(kind); it != counted.end()) per.vertices[name] = it->second;
  return per;
}

}  // namespace faces
