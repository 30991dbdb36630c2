#include "symmetry/group.h"

#include <algorithm>
#include <cmath>

namespace symmetry {

namespace {

using Matrix = std::array<int, 4>;
using PlaneMatrix = std::array<double, 4>;

// A symmetry may fail to carry this share of the tiles (counted by their
// members in the drawing) onto tiles of their class: holes, stray faces.
constexpr double missShare = 0.05;
// Whole periods tried each way when looking for mirrors, glides and
// rotation centres among the translates of one symmetry.
constexpr int reach = 3;


constexpr Matrix unit = identityPart;

// The least k with m^k the identity (1 to 6), or 0.
int order(const Matrix& m) {
  Matrix p = m;
  for (int k = 1; k <= 6; ++k, p = times(p, m))
    if (p == unit) return k;
  return 0;
}

Vec2 map(const PlaneMatrix& l, Vec2 p) {
  return {l[0] * p.x + l[1] * p.y, l[2] * p.x + l[3] * p.y};
}

// Every corner of `from`, mapped by l, lands within `near` of a corner of `to`.
bool cornersFit(const PlaneMatrix& l, const std::vector<Vec2>& from, const std::vector<Vec2>& to,
                double near) {
  if (from.size() != to.size()) return false;
  for (Vec2 p : from) {
    const Vec2 q = map(l, p);
    if (std::none_of(to.begin(), to.end(), [&](Vec2 r) { return length(minus(q, r)) <= near; }))
      return false;
  }
  return true;
}

// Tiles of the motif found again by place and class.
class Tiles {
 public:
  Tiles(const Motif& motif, const Frame& frame, double near)
      : motif_(motif), index_(frame, near), near_(near) {
    for (int k = 0; k < int(motif.tiles.size()); ++k) {
      index_.add(motif.tiles[k].st, k);
      if (!motif.tiles[k].sparse) total_ += motif.tiles[k].count;
    }
  }

  // Whether the operation carries the tiles onto tiles, within the misses allowed.
  bool carried(const Operation& op, const PlaneMatrix& l) const {
    const double allowed = missShare * total_;
    int missed = 0;
    for (const Translates& t : motif_.tiles) {
      if (t.sparse) continue;
      const int found = index_.find(apply(op, t.st), [&](int k) {
        return motif_.tiles[k].kind == t.kind &&
               cornersFit(l, t.corners, motif_.tiles[k].corners, near_);
      });
      if (found < 0 && (missed += t.count) > allowed) return false;
    }
    return true;
  }

 private:
  const Motif& motif_;
  PeriodIndex index_;
  double near_;
  int total_ = 0;
};

// The tile the others are fitted against: of the class with most members.
int referenceTile(const Motif& motif) {
  int best = -1;
  for (int k = 0; k < int(motif.tiles.size()); ++k)
    if (!motif.tiles[k].sparse && (best < 0 || motif.tiles[k].count > motif.tiles[best].count))
      best = k;
  return best;
}

// The direction a reflection leaves fixed, in the plane.
Vec2 mirrorDirection(const Frame& frame, const Matrix& m) {
  const PlaneMatrix l = planeMatrix(frame, m);
  Vec2 d{0, 0};
  for (Vec2 w : {frame.u, frame.v}) {
    const Vec2 sum{map(l, w).x + w.x, map(l, w).y + w.y};
    if (length(sum) > length(d)) d = sum;
  }
  const double n = length(d);
  return {d.x / n, d.y / n};
}

// How far each translate of a reflection (the operation and the same
// followed by whole periods) slides along its mirror line: 0 for a
// mirror, otherwise a glide.
std::vector<double> slides(const Operation& op, const Frame& frame) {
  const Vec2 d = mirrorDirection(frame, op.m);
  std::vector<double> out;
  for (int i = -reach; i <= reach; ++i)
    for (int j = -reach; j <= reach; ++j)
      out.push_back(dot(frame.along({op.shift.x + i, op.shift.y + j}), d));
  return out;
}

bool hasMirror(const Operation& op, const Frame& frame, double near) {
  const std::vector<double> s = slides(op, frame);
  return std::any_of(s.begin(), s.end(), [&](double g) { return std::abs(g) <= near; });
}

// A glide whose slide is no whole period: a glide line that is no mirror.
bool hasTrueGlide(const Operation& op, const Frame& frame, double near) {
  const Vec2 d = mirrorDirection(frame, op.m);
  const std::vector<double> s = slides(op, frame);
  return std::any_of(s.begin(), s.end(), [&](double g) {
    return std::abs(g) > near && frame.offLattice(frame.inPeriods({g * d.x, g * d.y})) > near;
  });
}

// The centres of a rotation and its translates, once each within a period:
// the solutions of (I - m) x = shift + k.
std::vector<Vec2> centres(const Operation& op, const Frame& frame, double near) {
  const double a = 1 - op.m[0], b = -op.m[1], c = -op.m[2], d = 1 - op.m[3];
  const double det = a * d - b * c;
  std::vector<Vec2> found;
  for (int i = -reach; i <= reach; ++i)
    for (int j = -reach; j <= reach; ++j) {
      const Vec2 r{op.shift.x + i, op.shift.y + j};
      const Vec2 x = wrap({(d * r.x - b * r.y) / det, (a * r.y - c * r.x) / det});
      if (std::none_of(found.begin(), found.end(),
                       [&](Vec2 y) { return frame.apart(x, y) <= near; }))
        found.push_back(x);
    }
  return found;
}

// Whether x lies on a mirror: some reflection leaves it where it is, up to
// whole periods.
bool onMirror(Vec2 x, const std::vector<Operation>& reflections, const Frame& frame, double near) {
  return std::any_of(reflections.begin(), reflections.end(),
                     [&](const Operation& r) { return frame.apart(apply(r, x), x) <= near; });
}

std::optional<WallpaperGroup> named(std::string_view name) {
  // clang-format off
  static constexpr WallpaperGroup groups[] = {
      // oblique, rectangular, centred rectangular, square, hexagonal lattices
      {"p1", "o"}, {"p2", "2222"},
      {"pm", "**"}, {"pg", "xx"}, {"pmm", "*2222"}, {"pmg", "22*"}, {"pgg", "22x"},
      {"cm", "*x"}, {"cmm", "2*22"},
      {"p4", "442"}, {"p4m", "*442"}, {"p4g", "4*2"},
      {"p3", "333"}, {"p3m1", "*333"}, {"p31m", "3*3"}, {"p6", "632"}, {"p6m", "*632"}};
  // clang-format on
  for (const WallpaperGroup& g : groups)
    if (g.name == name) return g;
  return std::nullopt;
}

}  // namespace

Matrix times(const Matrix& a, const Matrix& b) {
  return {a[0] * b[0] + a[1] * b[2], a[0] * b[1] + a[1] * b[3], a[2] * b[0] + a[3] * b[2],
          a[2] * b[1] + a[3] * b[3]};
}

int determinant(const Matrix& m) { return m[0] * m[3] - m[1] * m[2]; }

Matrix inverse(const Matrix& m) {
  const int det = determinant(m);
  return {m[3] * det, -m[1] * det, -m[2] * det, m[0] * det};
}

Vec2 applyLinear(const Matrix& m, Vec2 st) { return {m[0] * st.x + m[1] * st.y, m[2] * st.x + m[3] * st.y}; }

Vec2 apply(const Operation& op, Vec2 st) {
  return {op.m[0] * st.x + op.m[1] * st.y + op.shift.x,
          op.m[2] * st.x + op.m[3] * st.y + op.shift.y};
}

PlaneMatrix planeMatrix(const Frame& f, const Matrix& m) {
  // B m B^-1, with B the periods as columns.
  const double b00 = f.u.x * m[0] + f.v.x * m[2], b01 = f.u.x * m[1] + f.v.x * m[3];
  const double b10 = f.u.y * m[0] + f.v.y * m[2], b11 = f.u.y * m[1] + f.v.y * m[3];
  const double i00 = f.v.y / f.det, i01 = -f.v.x / f.det, i10 = -f.u.y / f.det, i11 = f.u.x / f.det;
  return {b00 * i00 + b01 * i10, b00 * i01 + b01 * i11, b10 * i00 + b11 * i10,
          b10 * i01 + b11 * i11};
}

std::vector<Matrix> latticeSymmetries(const Frame& f, double near) {
  struct Image {
    int i, j;
    Vec2 w;
  };
  const auto imagesOf = [&](Vec2 p) {
    std::vector<Image> out;
    for (int i = -2; i <= 2; ++i)
      for (int j = -2; j <= 2; ++j) {
        const Vec2 w = f.along({double(i), double(j)});
        if (std::abs(length(w) - length(p)) <= near) out.push_back({i, j, w});
      }
    return out;
  };
  std::vector<Matrix> out;
  for (const Image& iu : imagesOf(f.u))
    for (const Image& iv : imagesOf(f.v)) {
      const Matrix m{iu.i, iv.i, iu.j, iv.j};
      if (std::abs(dot(iu.w, iv.w) - dot(f.u, f.v)) <= near * (length(f.u) + length(f.v)) &&
          std::abs(determinant(m)) == 1)
        out.push_back(m);
    }
  return out;
}

std::vector<Operation> symmetriesOf(const Motif& motif, const Frame& frame, double near) {
  std::vector<Operation> found;
  const int ref = referenceTile(motif);
  if (ref < 0) return found;
  const Translates& r = motif.tiles[ref];
  const Tiles tiles(motif, frame, near);
  for (const Matrix& m : latticeSymmetries(frame, near)) {
    const PlaneMatrix l = planeMatrix(frame, m);
    for (const Translates& g : motif.tiles) {
      if (g.kind != r.kind || !cornersFit(l, r.corners, g.corners, near)) continue;
      Operation op{m, {0, 0}};
      const Vec2 moved = apply(op, r.st);
      op.shift = wrap(minus(g.st, moved));
      const bool known = std::any_of(found.begin(), found.end(), [&](const Operation& o) {
        return o.m == m && frame.apart(o.shift, op.shift) <= near;
      });
      if (!known && tiles.carried(op, l)) found.push_back(op);
    }
  }
  return found;
}

std::optional<faces::Lattice> finerLattice(const std::vector<Operation>& symmetries,
                                           const Frame& frame, double near) {
  std::vector<Vec2> shifts{{0, 0}};
  for (const Operation& op : symmetries)
    if (op.m == unit && frame.offLattice(op.shift) > near) shifts.push_back(op.shift);
  if (shifts.size() == 1) return std::nullopt;
  std::vector<Vec2> periods;
  for (Vec2 s : shifts)
    for (int i = -2; i <= 1; ++i)
      for (int j = -2; j <= 1; ++j) {
        const Vec2 w = frame.along({s.x + i, s.y + j});
        if (length(w) > near) periods.push_back(w);
      }
  const auto shorter = [](Vec2 p, Vec2 q) { return dot(p, p) < dot(q, q); };
  std::sort(periods.begin(), periods.end(), shorter);
  faces::Lattice l;
  l.u = periods.front();
  const auto v = std::find_if(periods.begin(), periods.end(),
                              [&](Vec2 w) { return std::abs(cross(l.u, w)) > near * length(l.u); });
  if (v == periods.end()) return std::nullopt;
  l.v = cross(l.u, *v) > 0 ? *v : Vec2{-v->x, -v->y};
  l.area = cross(l.u, l.v);
  return l;
}

std::optional<WallpaperGroup> classify(const std::vector<Operation>& symmetries, const Frame& frame,
                                       double near) {
  std::vector<Operation> rotations, reflections;
  int n = 1;
  for (const Operation& op : symmetries) {
    if (determinant(op.m) == 1) {
      rotations.push_back(op);
      n = std::max(n, order(op.m));
    } else {
      reflections.push_back(op);
    }
  }
  // The point group: n rotations, and none or n reflections.
  if (int(rotations.size()) != n || (!reflections.empty() && int(reflections.size()) != n))
    return std::nullopt;
  static constexpr std::string_view turnsOnly[] = {"", "p1", "p2", "p3", "p4", "", "p6"};
  if (reflections.empty()) return named(turnsOnly[n]);

  int mirrors = 0;
  bool glides = false;
  for (const Operation& r : reflections) {
    mirrors += hasMirror(r, frame, near);
    glides = glides || hasTrueGlide(r, frame, near);
  }
  // Where the centres of the rotation of highest order lie against the
  // mirrors: on every one, or on some.
  const auto centresOnMirrors = [&](bool every) {
    const Operation& turn = *std::find_if(rotations.begin(), rotations.end(),
                                          [&](const Operation& op) { return order(op.m) == n; });
    const std::vector<Vec2> points = centres(turn, frame, near);
    const auto onOne = [&](Vec2 x) { return onMirror(x, reflections, frame, near); };
    return every ? std::all_of(points.begin(), points.end(), onOne)
                 : std::any_of(points.begin(), points.end(), onOne);
  };
  switch (n) {
    case 1:
      return named(mirrors == 0 ? "pg" : glides ? "cm" : "pm");
    case 2:
      return named(mirrors == 0 ? "pgg" : mirrors == 1 ? "pmg" : glides ? "cmm" : "pmm");
    case 3:
      return named(centresOnMirrors(true) ? "p3m1" : "p31m");
    case 4:
      return named(centresOnMirrors(false) ? "p4m" : "p4g");
    case 6:
      return named("p6m");
  }
  return std::nullopt;
}

}  // namespace symmetry
