#include "family/congruent.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include <Eigen/Dense>

#include "symmetry/frame.h"

namespace family {

namespace {

using Eigen::MatrixXd;
using Eigen::VectorXd;
using faces::cross;
using faces::dot;
using faces::length;
using faces::minus;
using faces::plus;
using faces::times;

// Pivots below this share of the largest are no condition: float noise of
// the numeric derivatives.
constexpr double rankThreshold = 1e-5;
// The derivatives' step, as a share of the period's size.
constexpr double derivativeStep = 1e-6;
// Steps along the solutions toward the wanted shape, corrections back onto
// them after each, and halvings of a step that does not settle.
constexpr int alongSteps = 10, corrections = 12, halvings = 6;
// Halvings when a move stops at the last shape that keeps and tiles.
constexpr int searchSteps = 12;
// Two faces' corners agree this well when they are congruent now.
constexpr double matchWithin = 1e-4;
// A corner is convex while the sine of its angle is above this: short of
// 179.9 degrees.
constexpr double convexSine = 1e-3;

// ---- The parameters -----------------------------------------------------

int sizeOf(const Family& f) {
  int n = int(f.lattice.size());
  for (const Orbit& o : f.orbits) n += o.straight && !o.crossing ? 1 : o.free;
  return n;
}

bool onSide(const Orbit& o) { return o.straight && !o.crossing; }

VectorXd parametersOf(const Family& f, const Shape& s) {
  VectorXd x(sizeOf(f));
  int i = 0;
  const std::array<double, 4> b{s.u.x, s.u.y, s.v.x, s.v.y};
  for (const auto& n : f.lattice) x[i++] = b[0] * n[0] + b[1] * n[1] + b[2] * n[2] + b[3] * n[3];
  for (std::size_t k = 0; k < f.orbits.size(); ++k) {
    const Orbit& o = f.orbits[k];
    if (onSide(o)) {
      x[i++] = f.size * s.t[k];
    } else if (o.free == 2) {
      x[i++] = f.size * s.at[k].x;
      x[i++] = f.size * s.at[k].y;
    } else if (o.free == 1) {
      x[i++] = f.size * dot(s.at[k], o.along) / length(o.along);
    }
  }
  return x;
}

// The shape of parameters x, everything else (the parts of representatives
// across their lines, bends) as in `base`.
Shape shapeAt(const Family& f, const Shape& base, const VectorXd& x) {
  Shape s = base;
  std::array<double, 4> b{};
  int i = 0;
  for (const auto& n : f.lattice) {
    for (int k = 0; k < 4; ++k) b[k] += x[i] * n[k];
    ++i;
  }
  s.u = {b[0], b[1]};
  s.v = {b[2], b[3]};
  for (std::size_t k = 0; k < f.orbits.size(); ++k) {
    const Orbit& o = f.orbits[k];
    if (onSide(o)) {
      s.t[k] = x[i++] / f.size;
    } else if (o.free == 2) {
      s.at[k] = {x[i] / f.size, x[i + 1] / f.size};
      i += 2;
    } else if (o.free == 1) {
      const double l2 = dot(o.along, o.along);
      const Vec2 across = minus(base.at[k], times(dot(base.at[k], o.along) / l2, o.along));
      s.at[k] = plus(across, times(x[i++] / f.size / std::sqrt(l2), o.along));
    }
  }
  return s;
}

// Which orbit each parameter moves (-1: the periods).
std::vector<int> ownersOf(const Family& f) {
  std::vector<int> owner(f.lattice.size(), -1);
  for (int k = 0; k < int(f.orbits.size()); ++k) {
    const Orbit& o = f.orbits[k];
    const int n = onSide(o) ? 1 : o.free;
    owner.insert(owner.end(), std::size_t(n), k);
  }
  return owner;
}

// ---- The tiles ----------------------------------------------------------

// A face's true corners in the plane, counter-clockwise.
std::vector<Vec2> cornersOf(const Family& f, const Shape& s, const std::vector<Vec2>& st, int face) {
  const Face& r = f.faces[face];
  std::vector<Vec2> out;
  for (std::size_t k = 0; k < r.ring.size(); ++k)
    if (!r.straight[k]) out.push_back(cornerAt(f, s, st, r.ring[k]));
  return out;
}

struct Measure {
  std::vector<double> sides, cosines, sines;
};

Measure measured(const std::vector<Vec2>& p) {
  const std::size_t n = p.size();
  Measure m;
  for (std::size_t k = 0; k < n; ++k) {
    const Vec2 at = p[k], prev = p[(k + n - 1) % n], next = p[(k + 1) % n];
    const Vec2 back = minus(prev, at), on = minus(next, at);
    const double l = length(back) * length(on);
    m.sides.push_back(length(on));
    m.cosines.push_back(dot(back, on) / l);
    m.sines.push_back(cross(on, back) / l);
  }
  return m;
}

// Corner k of `face` goes to corner `shift + k` of `to` (mirrored:
// `shift - k`); side k (corner k to k + 1) to the side between their
// images.
std::size_t cornerOf(std::size_t n, const Partners& p, std::size_t k) {
  const long long j = p.mirrored ? p.shift - (long long)k : p.shift + (long long)k;
  return std::size_t(((j % (long long)n) + (long long)n) % (long long)n);
}
std::size_t sideOf(std::size_t n, const Partners& p, std::size_t k) {
  return p.mirrored ? cornerOf(n, p, k + 1) : cornerOf(n, p, k);
}

// The equations' mismatches of one pair, appended to `out`.
void compare(const Measure& a, const Measure& b, const Partners& p, double size, std::vector<double>& out) {
  const std::size_t n = a.sides.size();
  if (b.sides.size() != n) {
    out.push_back(1);
    return;
  }
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t j = cornerOf(n, p, k);
    out.push_back((a.sides[k] - b.sides[sideOf(n, p, k)]) / size);
    out.push_back(a.cosines[k] - b.cosines[j]);
    out.push_back(a.sines[k] - b.sines[j]);
  }
}

double worst(const std::vector<double>& v) {
  double w = 0;
  for (double x : v) w = std::max(w, std::isfinite(x) ? std::abs(x) : INFINITY);
  return w;
}

// Every correspondence of face onto `to` that matches now, those in the
// given sense first.
std::vector<Partners> matchesOf(const Measure& a, const Measure& b, int face, int to, bool mirrored, double size) {
  std::vector<Partners> out;
  for (const bool sense : {mirrored, !mirrored})
    for (int shift = 0; shift < int(a.sides.size()); ++shift) {
      const Partners p{face, to, shift, sense};
      std::vector<double> d;
      compare(a, b, p, size, d);
      if (worst(d) < matchWithin) out.push_back(p);
    }
  return out;
}

Vec2 latticeOf(const Family& f, const Shape& s, Vec2 p) {
  const Vec2 d = minus(p, f.origin);
  const double det = cross(s.u, s.v);
  return {cross(d, s.v) / det, cross(s.u, d) / det};
}

bool sameModPeriods(Vec2 a, Vec2 b, double near) {
  const Vec2 d = minus(a, b);
  return std::abs(d.x - std::round(d.x)) < near && std::abs(d.y - std::round(d.y)) < near;
}

// The orbit of each face under the kept group, by where the group takes
// the middle of its ring.
std::vector<int> faceOrbits(const Family& f, const std::vector<Vec2>& st) {
  const std::size_t n = f.faces.size();
  std::vector<Vec2> middle(n);
  for (std::size_t i = 0; i < n; ++i) {
    Vec2 sum;
    for (const Corner& c : f.faces[i].ring) sum = plus(sum, {st[c.vertex].x + c.i, st[c.vertex].y + c.j});
    middle[i] = times(1.0 / double(f.faces[i].ring.size()), sum);
  }
  std::vector<int> orbit(n, -1);
  int orbits = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (orbit[i] >= 0) continue;
    orbit[i] = orbits;
    for (const symmetry::Operation& op : f.keep.elements) {
      const Vec2 image = symmetry::apply(op, middle[i]);
      for (std::size_t j = 0; j < n; ++j)
        if (orbit[j] < 0 && sameModPeriods(image, middle[j], 1e-6)) orbit[j] = orbits;
    }
    ++orbits;
  }
  return orbit;
}

// ---- The solutions ------------------------------------------------------

VectorXd residual(const Family& f, const Shape& base, const TileKeeping& keep, const VectorXd& x) {
  const std::vector<double> r = mismatchOf(f, shapeAt(f, base, x), keep);
  return Eigen::Map<const VectorXd>(r.data(), Eigen::Index(r.size()));
}

MatrixXd jacobianAt(const Family& f, const Shape& base, const TileKeeping& keep, const VectorXd& x) {
  const double h = derivativeStep * f.size;
  MatrixXd j;
  for (Eigen::Index c = 0; c < x.size(); ++c) {
    VectorXd a = x, b = x;
    a[c] += h;
    b[c] -= h;
    const VectorXd d = (residual(f, base, keep, a) - residual(f, base, keep, b)) / (2 * h);
    if (j.size() == 0) j.resize(d.size(), x.size());
    j.col(c) = d;
  }
  return j;
}

// An orthonormal basis of the directions J leaves free, and J's rank.
struct Free {
  MatrixXd basis;
  int rank = 0;
};

Free freeOf(const MatrixXd& j, Eigen::Index n) {
  if (j.rows() == 0) return {MatrixXd::Identity(n, n), 0};
  Eigen::ColPivHouseholderQR<MatrixXd> qr;
  qr.setThreshold(rankThreshold);
  qr.compute(j.transpose());
  const MatrixXd q = qr.householderQ();
  const int rank = int(qr.rank());
  return {q.rightCols(n - rank), rank};
}

// x taken back onto the solutions by least-norm corrections with the
// Jacobian j (of a point near x), renewed where a correction gains little;
// whether it settled.
bool settle(const Family& f, const Shape& base, const TileKeeping& keep, MatrixXd j, VectorXd& x) {
  if (j.rows() == 0) return true;
  Eigen::CompleteOrthogonalDecomposition<MatrixXd> cod;
  cod.setThreshold(rankThreshold);
  cod.compute(j);
  double last = INFINITY;
  for (int k = 0; k < corrections; ++k) {
    const VectorXd r = residual(f, base, keep, x);
    const double w = r.size() ? r.cwiseAbs().maxCoeff() : 0;
    if (!std::isfinite(w) || w > 2 * last) return false;
    if (w < keep.within / 10) return true;
    if (w > last / 4) cod.compute(jacobianAt(f, base, keep, x));
    last = w;
    x -= cod.solve(r);
  }
  const VectorXd r = residual(f, base, keep, x);
  return r.size() == 0 || r.cwiseAbs().maxCoeff() < keep.within;
}

// A tile with a mirror or a turn of its own matches its partner in more
// than one way, and each way ties the shapes differently (for some, the
// shape now is where ways cross and no move follows them). Of every choice
// of one way per pair, the one whose equations leave the most freedom now,
// the first such.
constexpr std::size_t mostChoices = 256;
std::vector<Partners> leastTied(const Family& f, const Shape& s, const std::vector<std::vector<Partners>>& options) {
  std::size_t choices = 1;
  for (const auto& o : options) choices = std::min(mostChoices, choices * o.size());
  std::vector<Partners> best;
  int least = INT_MAX;
  const VectorXd x = parametersOf(f, s);
  for (std::size_t c = 0; c < choices; ++c) {
    TileKeeping trial;
    std::size_t rest = c;
    for (const auto& o : options) {
      trial.pairs.push_back(o[rest % o.size()]);
      rest /= o.size();
    }
    const int rank = freeOf(jacobianAt(f, s, trial, x), x.size()).rank;
    if (rank < least) least = rank, best = trial.pairs;
  }
  return best;
}

}  // namespace

TileKeeping congruenceOf(const Family& f, const Shape& s, const faces::Analysis& analysis) {
  TileKeeping keep;
  keep.tiedEdges.assign(f.edgeOrbits.size(), false);
  const std::vector<Vec2> st = placed(f, s);
  const std::size_t n = f.faces.size();
  // Each face's class and sense, from the analysis's face at its place.
  std::vector<int> cls(n, -1);
  std::vector<bool> mirrored(n, false);
  std::vector<Vec2> middles;
  for (const faces::Face& a : analysis.faces) middles.push_back(latticeOf(f, s, faces::middleOf(a)));
  std::vector<std::vector<Vec2>> corners(n);
  std::vector<Measure> measures(n);
  int unfound = 0;
  for (std::size_t i = 0; i < n; ++i) {
    corners[i] = cornersOf(f, s, st, int(i));
    measures[i] = measured(corners[i]);
    Vec2 sum;
    for (Vec2 p : corners[i]) sum = plus(sum, p);
    const Vec2 middle = latticeOf(f, s, times(1.0 / double(corners[i].size()), sum));
    for (std::size_t a = 0; a < analysis.faces.size(); ++a) {
      const faces::Face& face = analysis.faces[a];
      if (face.problem || face.cls < 0 || face.corners.size() != corners[i].size()) continue;
      if (!sameModPeriods(middle, middles[a], 1e-4)) continue;
      cls[i] = face.cls;
      mirrored[i] = face.mirrored;
      break;
    }
    if (cls[i] < 0) ++unfound;
  }
  if (unfound) keep.problem = std::to_string(unfound) + " of the family's tiles are not among the analysis's";

  // Per class, the first face of its first orbit against the first face of
  // every further orbit.
  const std::vector<int> orbit = faceOrbits(f, st);
  std::vector<bool> tied(n, false);
  std::vector<std::vector<Partners>> options;  // per pair, the correspondences that match
  for (int c = 0; c < int(analysis.classes.size()); ++c) {
    std::vector<int> firsts;  // faces, one per orbit
    for (std::size_t i = 0; i < n; ++i) {
      if (cls[i] != c) continue;
      if (std::none_of(firsts.begin(), firsts.end(), [&](int j) { return orbit[j] == orbit[i]; }))
        firsts.push_back(int(i));
    }
    if (firsts.size() < 2) continue;
    for (std::size_t i = 0; i < n; ++i) tied[i] = tied[i] || cls[i] == c;
    const int to = firsts[0];
    for (std::size_t k = 1; k < firsts.size(); ++k) {
      const int face = firsts[k];
      std::vector<Partners> m =
          matchesOf(measures[face], measures[to], face, to, mirrored[face] != mirrored[to], f.size);
      if (m.empty())
        keep.problem = "two tiles of one class do not match corner for corner";
      else
        options.push_back(std::move(m));
    }
  }
  keep.convex.assign(n, false);
  for (std::size_t i = 0; i < n; ++i)
    keep.convex[i] = tied[i] && std::all_of(measures[i].sines.begin(), measures[i].sines.end(),
                                            [](double sine) { return sine > convexSine; });
  keep.pairs = leastTied(f, s, options);
  keep.within = std::clamp(2 * mismatch(f, s, keep), keptWithin, drawnWithin);
  for (const Edge& e : f.edges)
    if ((e.left >= 0 && tied[e.left]) || (e.right >= 0 && tied[e.right])) keep.tiedEdges[e.orbit] = true;
  return keep;
}

std::vector<double> mismatchOf(const Family& f, const Shape& s, const TileKeeping& keep) {
  std::vector<double> out;
  out.reserve(keep.pairs.size() * 15);
  const std::vector<Vec2> st = placed(f, s);
  for (const Partners& p : keep.pairs)
    compare(measured(cornersOf(f, s, st, p.face)), measured(cornersOf(f, s, st, p.to)), p, f.size, out);
  return out;
}

double mismatch(const Family& f, const Shape& s, const TileKeeping& keep) { return worst(mismatchOf(f, s, keep)); }

int freedomKeepingTiles(const Family& f, const Shape& s, const TileKeeping& keep) {
  const VectorXd x = parametersOf(f, s);
  return f.freedom - freeOf(jacobianAt(f, s, keep, x), x.size()).rank;
}

std::vector<bool> freeOrbits(const Family& f, const Shape& s, const TileKeeping& keep) {
  const VectorXd x = parametersOf(f, s);
  const Eigen::Index n = x.size();
  MatrixXd basis = freeOf(jacobianAt(f, s, keep, x), n).basis;
  // Slides of the whole drawing: every vertex moved by the same vector, if
  // the family has such a shape.
  const std::vector<Vec2> st = placed(f, s);
  std::vector<VectorXd> slides;
  for (const Vec2 d : {Vec2{1, 0}, Vec2{0, 1}}) {
    const Vec2 by = latticeOf(f, s, plus(f.origin, d));
    Shape moved = s;
    for (int k = 0; k < int(f.orbits.size()); ++k) moved.at[k] = plus(s.at[k], by);
    const VectorXd y = parametersOf(f, moved);
    const std::vector<Vec2> there = placed(f, shapeAt(f, s, y));
    bool slide = true;
    for (std::size_t v = 0; v < st.size() && slide; ++v)
      slide = length(minus(minus(there[v], st[v]), by)) < 1e-9;
    if (slide) slides.push_back(y - x);
  }
  if (!slides.empty()) {
    MatrixXd along(n, Eigen::Index(slides.size()));
    for (std::size_t k = 0; k < slides.size(); ++k) along.col(Eigen::Index(k)) = slides[k];
    Eigen::ColPivHouseholderQR<MatrixXd> qr(along);
    const MatrixXd q = MatrixXd(qr.householderQ()).leftCols(qr.rank());
    basis -= q * (q.transpose() * basis);
  }
  const std::vector<int> owner = ownersOf(f);
  std::vector<bool> free(f.orbits.size(), false);
  for (Eigen::Index i = 0; i < n; ++i)
    if (owner[std::size_t(i)] >= 0 && basis.row(i).norm() > 1e-6) free[std::size_t(owner[std::size_t(i)])] = true;
  return free;
}

std::optional<Shape> nearestKeepingTiles(const Family& f, const Shape& from, const Shape& wanted,
                                         const TileKeeping& keep) {
  const VectorXd target = parametersOf(f, wanted);
  VectorXd x = parametersOf(f, from);
  if (!settle(f, wanted, keep, jacobianAt(f, wanted, keep, x), x)) return std::nullopt;
  for (int k = 0; k < alongSteps; ++k) {
    const MatrixXd j = jacobianAt(f, wanted, keep, x);
    const MatrixXd free = freeOf(j, x.size()).basis;
    VectorXd step = free * (free.transpose() * (target - x));
    if (step.norm() < 1e-9 * f.size) break;
    bool settled = false;
    for (int h = 0; h <= halvings && !settled; ++h, step /= 2) {
      VectorXd y = x + step;
      if (settle(f, wanted, keep, j, y)) {
        x = y;
        settled = true;
      }
    }
    if (!settled) return std::nullopt;
  }
  return shapeAt(f, wanted, x);
}

namespace {

// Whether every tile that keeps convex is still convex at s.
bool staysConvex(const Family& f, const Shape& s, const TileKeeping& keep) {
  const std::vector<Vec2> st = placed(f, s);
  for (std::size_t i = 0; i < keep.convex.size() && i < f.faces.size(); ++i) {
    if (!keep.convex[i]) continue;
    const Measure m = measured(cornersOf(f, s, st, int(i)));
    if (std::any_of(m.sines.begin(), m.sines.end(), [](double sine) { return sine <= convexSine; }))
      return false;
  }
  return true;
}

}  // namespace

std::optional<Fault> keepingFault(const Family& f, const Shape& s, const TileKeeping& keep) {
  if (std::optional<Fault> fault = faultOf(f, s)) return fault;
  if (!staysConvex(f, s, keep)) return Fault{-1, "a tile would no longer be convex"};
  return std::nullopt;
}

bool moveKeepingTiles(const Family& f, Shape& s, const Shape& wanted, const TileKeeping& keep, int orbit,
                      Fault* stopped) {
  const std::string who = orbit >= 0 ? f.orbits[std::size_t(orbit)].name : std::string("the periods");
  const auto say = [&](Fault fault) {
    if (stopped) *stopped = std::move(fault);
  };
  const VectorXd x = parametersOf(f, s), target = parametersOf(f, wanted);
  // Less than this is the settling of a drawing drawn in floats, no move.
  const auto moves = [&](const Shape& to) { return (parametersOf(f, to) - x).norm() > 1e-6 * f.size; };
  if ((target - x).norm() <= 1e-6 * f.size) return false;  // nothing asked
  const std::optional<Shape> whole = nearestKeepingTiles(f, s, wanted, keep);
  std::optional<Fault> fault = whole ? faultOf(f, *whole) : std::nullopt;
  if (whole && !fault && !staysConvex(f, *whole, keep))
    fault = Fault{orbit, who + " cannot move further and keep the tiles convex"};
  if (whole && !fault) {
    if (!moves(*whole)) {
      say({orbit, who + " cannot move and keep the tiles congruent"});
      return false;
    }
    s = *whole;
    return true;
  }
  // The last shape toward the wanted one that keeps the tiles and tiles.
  double good = 0, bad = 1;
  std::optional<Shape> best;
  for (int k = 0; k < searchSteps; ++k) {
    const double mid = (good + bad) / 2;
    const std::optional<Shape> there =
        nearestKeepingTiles(f, s, shapeAt(f, wanted, x + mid * (target - x)), keep);
    if (there && !keepingFault(f, *there, keep)) {
      good = mid;
      best = there;
    } else {
      bad = mid;
    }
  }
  say(fault ? *fault : Fault{orbit, who + (best ? " cannot move further" : " cannot move") +
                                        " and keep the tiles congruent"});
  if (!best || !moves(*best)) return false;
  s = *best;
  return true;
}

std::optional<std::string> bendRefused(const Family& f, const TileKeeping& keep, int edge) {
  if (edge < 0 || edge >= int(f.edges.size())) return std::nullopt;
  const int orbit = f.edges[std::size_t(edge)].orbit;
  if (orbit >= int(keep.tiedEdges.size()) || !keep.tiedEdges[std::size_t(orbit)]) return std::nullopt;
  return f.edgeOrbits[std::size_t(orbit)].name +
         " bounds a tile kept congruent to another orbit's: its bend would have to be repeated there";
}

}  // namespace family
