#include "faces/shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace faces {

namespace {

constexpr double degrees = 180 / std::numbers::pi;
// sin of the largest turn still taken as going straight on: about 0.006
// degrees, far above the drawings' float noise and far below any corner.
constexpr double straightSine = 1e-4;


double twiceArea(const std::vector<Vec2>& ring) {
  double sum = 0;
  for (std::size_t k = 0; k < ring.size(); ++k) sum += cross(ring[k], ring[(k + 1) % ring.size()]);
  return sum;
}

// A turn in radians as an orientation's, in degrees in [0, 360).
double turnInDegrees(double turn) {
  double t = std::fmod(turn * degrees + 360, 360);
  if (t > 360 - sameTurn / 2) t = 0;
  return t;
}

// The face's corners as the fit walks them: from corner `start`, forwards,
// or backwards and reflected in the x axis.
Vec2 walk(const Face& f, std::size_t start, std::size_t k, bool mirrored) {
  const std::size_t n = f.corners.size();
  if (!mirrored) return f.corners[(start + k) % n];
  const Vec2 p = f.corners[(start + n - k % n) % n];
  return {p.x, -p.y};
}

// The turn in degrees, in [0, 360), that carries the model onto the face
// walked from `start`, if every corner then lands on its partner.
std::optional<double> fitFrom(const Face& model, const Face& face, std::size_t start,
                              bool mirrored) {
  const std::size_t n = model.corners.size();
  for (std::size_t k = 0; k < n; ++k) {
    const double side = length(minus(walk(face, start, k + 1, mirrored), walk(face, start, k, mirrored)));
    if (std::abs(side - model.sides[k]) > sideTolerance) return std::nullopt;
  }
  const Vec2 m0 = model.corners[0], f0 = walk(face, start, 0, mirrored);
  const Vec2 mu = minus(model.corners[1 % n], m0), fu = minus(walk(face, start, 1, mirrored), f0);
  const double turn = std::atan2(cross(mu, fu), dot(mu, fu));
  const double c = std::cos(turn), s = std::sin(turn);
  for (std::size_t k = 2; k < n; ++k) {
    const Vec2 d = minus(model.corners[k], m0);
    const Vec2 placed{f0.x + c * d.x - s * d.y, f0.y + s * d.x + c * d.y};
    if (length(minus(placed, walk(face, start, k, mirrored))) > fitDistance) return std::nullopt;
  }
  return turnInDegrees(turn);
}

// The orientation fitShape promises, from the turns fitFrom(start,
// mirrored) finds: direct fits first, the smallest turn among the starts.
template <class FitFrom>
std::optional<Orientation> bestFit(std::size_t n, FitFrom fitFrom) {
  for (bool mirrored : {false, true}) {
    std::optional<double> best;
    for (std::size_t start = 0; start < n; ++start) {
      std::optional<double> turn = fitFrom(start, mirrored);
      // The fit turns the model onto the reflected face; the face itself is
      // the reflected model turned the other way.
      if (turn && mirrored && *turn != 0) turn = 360 - *turn;
      if (turn && (!best || *turn < *best)) best = turn;
    }
    if (best) return Orientation{*best, mirrored};
  }
  return std::nullopt;
}

bool areasDiffer(const Face& model, const Face& face) {
  return std::abs(face.area - model.area) > fitDistance * (1 + std::sqrt(model.area)) * 4;
}

// --- Curved sides

// The turn at b in degrees, either way, coming from a and going on to c.
double turnAt(Vec2 a, Vec2 b, Vec2 c) {
  const Vec2 in = minus(b, a), out = minus(c, b);
  return std::abs(std::atan2(cross(in, out), dot(in, out))) * degrees;
}

// Whether point k of the boundary is a corner, by its role.
bool isCurvedCorner(const std::vector<Vec2>& boundary, const std::vector<NodeRole>& roles, std::size_t k) {
  const std::size_t n = boundary.size();
  const Vec2 a = boundary[(k + n - 1) % n], b = boundary[k], c = boundary[(k + 1) % n];
  if (roles[k] == NodeRole::along || !isCorner(a, b, c)) return false;
  return roles[k] == NodeRole::vertex || turnAt(a, b, c) > rimCornerTurn;
}

// The boundary from point `from` on to point `to` (the whole of it when
// they are the same): its length, and its points at alongShares of that.
double measureSide(const std::vector<Vec2>& boundary, std::size_t from, std::size_t to,
                   std::vector<Vec2>& along) {
  const std::size_t n = boundary.size(), steps = (to + n - from - 1) % n + 1;
  double total = 0;
  for (std::size_t k = 0; k < steps; ++k)
    total += length(minus(boundary[(from + k + 1) % n], boundary[(from + k) % n]));
  double walked = 0;
  std::size_t k = 0;
  for (double share : alongShares) {
    const double target = share * total;
    for (;; ++k) {
      const Vec2 p = boundary[(from + k) % n], q = boundary[(from + k + 1) % n];
      const double step = length(minus(q, p));
      if (walked + step >= target || k + 1 == steps) {
        const double t = step > 0 ? std::clamp((target - walked) / step, 0.0, 1.0) : 0;
        along.push_back(plus(p, times(t, minus(q, p))));
        break;
      }
      walked += step;
    }
  }
  return total;
}

// A curved shape's points in order round it, each corner followed by the
// points along its side, and walked as the fit walks them: from corner
// `start`, forwards, or backwards and reflected in the x axis.
struct Outline {
  const Face& face;
  std::span<const Vec2> along;

  std::size_t size() const { return 4 * face.corners.size(); }
  Vec2 at(std::size_t j) const { return j % 4 == 0 ? face.corners[j / 4] : along[3 * (j / 4) + j % 4 - 1]; }
  Vec2 walk(std::size_t start, std::size_t j, bool mirrored) const {
    const std::size_t n = size();
    if (!mirrored) return at((4 * start + j) % n);
    const Vec2 p = at((4 * start + n - j % n) % n);
    return {p.x, -p.y};
  }
  // The length of the k-th side walked from `start`.
  double side(std::size_t start, std::size_t k, bool mirrored) const {
    const std::size_t n = face.corners.size();
    return face.sides[mirrored ? (start + 2 * n - k - 1) % n : (start + k) % n];
  }
};

// As fitFrom, with every point along the sides fitted too.
std::optional<double> fitCurvedFrom(const Outline& model, const Outline& face, std::size_t start,
                                    bool mirrored) {
  const std::size_t n = model.face.corners.size();
  for (std::size_t k = 0; k < n; ++k)
    if (std::abs(face.side(start, k, mirrored) - model.face.sides[k]) > sideTolerance) return std::nullopt;
  const Vec2 m0 = model.at(0), f0 = face.walk(start, 0, mirrored);
  const Vec2 mu = minus(model.at(4 % model.size()), m0), fu = minus(face.walk(start, 4, mirrored), f0);
  const double turn = std::atan2(cross(mu, fu), dot(mu, fu));
  const double c = std::cos(turn), s = std::sin(turn);
  for (std::size_t j = 1; j < model.size(); ++j) {
    const Vec2 d = minus(model.at(j), m0);
    const Vec2 placed{f0.x + c * d.x - s * d.y, f0.y + s * d.x + c * d.y};
    if (length(minus(placed, face.walk(start, j, mirrored))) > fitDistance) return std::nullopt;
  }
  return turnInDegrees(turn);
}

}  // namespace

bool isCorner(Vec2 a, Vec2 b, Vec2 c) {
  const Vec2 in = minus(b, a), out = minus(c, b);
  const double scale = length(in) * length(out);
  if (scale == 0) return false;
  return dot(in, out) < 0 || std::abs(cross(in, out)) > straightSine * scale;
}

Face measureFace(const std::vector<Vec2>& boundary) {
  Face f;
  const std::size_t n = boundary.size();
  for (std::size_t k = 0; k < n; ++k)
    if (isCorner(boundary[(k + n - 1) % n], boundary[k], boundary[(k + 1) % n]))
      f.corners.push_back(boundary[k]);
  const std::size_t m = f.corners.size();
  for (std::size_t k = 0; k < m; ++k) {
    const Vec2 prev = f.corners[(k + m - 1) % m], here = f.corners[k], next = f.corners[(k + 1) % m];
    f.sides.push_back(length(minus(next, here)));
    const Vec2 in = minus(here, prev), out = minus(next, here);
    f.angles.push_back(180 - std::atan2(cross(in, out), dot(in, out)) * degrees);
  }
  f.area = twiceArea(boundary) / 2;
  return f;
}

std::optional<Orientation> fitShape(const Face& model, const Face& face) {
  const std::size_t n = model.corners.size();
  if (face.corners.size() != n || n < 3) return std::nullopt;
  if (areasDiffer(model, face)) return std::nullopt;
  return bestFit(n, [&](std::size_t start, bool mirrored) { return fitFrom(model, face, start, mirrored); });
}

CurvedShape measureCurvedFace(const std::vector<Vec2>& boundary, const std::vector<NodeRole>& roles) {
  CurvedShape shape;
  Face& f = shape.face;
  const std::size_t n = boundary.size();
  std::vector<std::size_t> at;  // where each corner lies on the boundary
  for (std::size_t k = 0; k < n; ++k)
    if (isCurvedCorner(boundary, roles, k)) at.push_back(k), f.corners.push_back(boundary[k]);
  const std::size_t m = at.size();
  for (std::size_t k = 0; k < m; ++k) {
    f.sides.push_back(measureSide(boundary, at[k], at[(k + 1) % m], shape.along));
    const Vec2 prev = boundary[(at[k] + n - 1) % n], here = boundary[at[k]], next = boundary[(at[k] + 1) % n];
    const Vec2 in = minus(here, prev), out = minus(next, here);
    f.angles.push_back(180 - std::atan2(cross(in, out), dot(in, out)) * degrees);
  }
  std::size_t corner = 0;
  for (std::size_t k = 0; k < n && !f.curved; ++k) {
    if (corner < m && at[corner] == k) {
      ++corner;
      continue;
    }
    f.curved = isCorner(boundary[(k + n - 1) % n], boundary[k], boundary[(k + 1) % n]);
  }
  f.area = twiceArea(boundary) / 2;
  return shape;
}

std::optional<Orientation> fitCurvedShape(const Face& model, std::span<const Vec2> modelAlong,
                                          const Face& face, std::span<const Vec2> faceAlong) {
  const std::size_t n = model.corners.size();
  if (face.corners.size() != n || n < 3) return std::nullopt;
  if (modelAlong.size() != 3 * n || faceAlong.size() != 3 * n) return std::nullopt;
  if (areasDiffer(model, face)) return std::nullopt;
  const Outline m{model, modelAlong}, f{face, faceAlong};
  return bestFit(n, [&](std::size_t start, bool mirrored) { return fitCurvedFrom(m, f, start, mirrored); });
}

}  // namespace faces
