#include "faces/shapes.h"

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
  double t = std::fmod(turn * degrees + 360, 360);
  if (t > 360 - sameTurn / 2) t = 0;
  return t;
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
  if (std::abs(face.area - model.area) > fitDistance * (1 + std::sqrt(model.area)) * 4)
    return std::nullopt;
  for (bool mirrored : {false, true}) {
    std::optional<double> best;
    for (std::size_t start = 0; start < n; ++start) {
      std::optional<double> turn = fitFrom(model, face, start, mirrored);
      // The fit turns the model onto the reflected face; the face itself is
      // the reflected model turned the other way.
      if (turn && mirrored && *turn != 0) turn = 360 - *turn;
      if (turn && (!best || *turn < *best)) best = turn;
    }
    if (best) return Orientation{*best, mirrored};
  }
  return std::nullopt;
}

}  // namespace faces
