#include "atlas/motions.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace atlas {

namespace {
constexpr double degreesPerRadian = 180 / std::numbers::pi;
}

Vec heading(double degrees) {
  const double r = degrees / degreesPerRadian;
  return {std::cos(r), std::sin(r)};
}

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(double s, Vec a) { return {s * a.x, s * a.y}; }
Vec turned(Vec a, double degrees) { return placed(Placement{0, degrees, false, {}}, a); }
double length(Vec a) { return std::hypot(a.x, a.y); }

Placement onSide(int tile, Vec from, double degrees) { return {tile, degrees, false, from}; }

Placement turnAbout(Vec centre, double degrees) {
  return {0, degrees, false, centre - turned(centre, degrees)};
}

Placement mirrorTaking(Vec p, Vec q, Vec p2, Vec q2) {
  // x -> R(turn) F x + shift: F takes q - p to its mirror image, R turns
  // that onto q2 - p2.
  const Vec d{q.x - p.x, p.y - q.y}, d2 = q2 - p2;
  const double turn = (std::atan2(d2.y, d2.x) - std::atan2(d.y, d.x)) * degreesPerRadian;
  Placement m{0, turn, true, {}};
  m.shift = p2 - placed(m, p);
  return m;
}

Placement after(const Placement& outer, const Placement& inner) {
  Placement m{inner.tile, outer.turn + (outer.mirrored ? -inner.turn : inner.turn),
              outer.mirrored != inner.mirrored, placed(outer, inner.shift)};
  m.turn = std::remainder(m.turn, 360.0);
  return m;
}

Vec translationOf(const Placement& motion) {
  if (motion.mirrored || std::abs(std::remainder(motion.turn, 360.0)) > 1e-9)
    throw std::logic_error("atlas: a period must be a translation");
  return motion.shift;
}

}  // namespace atlas
