#include "tests/symmetry/drawings.h"

#include <cmath>
#include <numbers>

namespace symmetry_test {

std::vector<Segment2> outlines(const std::vector<std::vector<Vec2>>& polygons) {
  std::vector<Segment2> out;
  for (const std::vector<Vec2>& p : polygons)
    for (std::size_t k = 0; k < p.size(); ++k) out.push_back({p[k], p[(k + 1) % p.size()]});
  return out;
}

Vec2 Placement::operator()(Vec2 p) const {
  if (mirrored) p.y = -p.y;
  const double a = turn * std::numbers::pi / 180, c = std::cos(a) * scale, s = std::sin(a) * scale;
  return {c * p.x - s * p.y + shift.x, s * p.x + c * p.y + shift.y};
}

std::vector<Segment2> placed(const std::vector<Segment2>& drawing, const Placement& where) {
  std::vector<Segment2> out;
  for (const Segment2& s : drawing) out.push_back({where(s.a), where(s.b)});
  return out;
}

}  // namespace symmetry_test
