#include "explore/cells.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace explore {

namespace {

// Whole numbers within int range, for bounds that may be far out.
int clampedFloor(double x) {
  return int(std::clamp(std::floor(x), -1e9, 1e9));
}
int clampedCeil(double x) {
  return int(std::clamp(std::ceil(x), -1e9, 1e9));
}

}  // namespace

bool spanPlane(Vec u, Vec v) {
  // The sine of the angle between them at least 1e-6.
  const double det = u.x * v.y - u.y * v.x;
  const double scale = (u.x * u.x + u.y * u.y) * (v.x * v.x + v.y * v.y);
  return std::isfinite(det) && std::isfinite(scale) && det * det > 1e-12 * scale;
}

bool latticeCoordinates(Vec p, Vec u, Vec v, double& a, double& b) {
  if (!spanPlane(u, v)) return false;
  const double det = u.x * v.y - u.y * v.x;
  a = (p.x * v.y - p.y * v.x) / det;
  b = (u.x * p.y - u.y * p.x) / det;
  return std::isfinite(a) && std::isfinite(b);
}

long long CellRange::count() const {
  if (i1 < i0 || j1 < j0) return 0;
  return (long long)(i1 - i0 + 1) * (long long)(j1 - j0 + 1);
}

UnitExtent extentOf(std::span<const Segment> unit, Vec u, Vec v) {
  UnitExtent e{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
               std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
  for (const Segment& s : unit)
    for (const Point& p : {s.a, s.b}) {
      double a, b;
      if (!latticeCoordinates({p.x, p.y}, u, v, a, b)) return {};
      e.a0 = std::min(e.a0, a), e.a1 = std::max(e.a1, a);
      e.b0 = std::min(e.b0, b), e.b1 = std::max(e.b1, b);
    }
  if (unit.empty()) return {};
  return e;
}

CellRange cellsMeeting(std::span<const Vec> corners, Vec u, Vec v, const UnitExtent& unit) {
  double a0 = std::numeric_limits<double>::infinity(), a1 = -a0, b0 = a0, b1 = -a0;
  for (Vec c : corners) {
    double a, b;
    if (!latticeCoordinates(c, u, v, a, b)) return {};
    a0 = std::min(a0, a), a1 = std::max(a1, a);
    b0 = std::min(b0, b), b1 = std::max(b1, b);
  }
  if (corners.empty()) return {};
  // Copy (i, j) reaches a from j + unit.a0 to j + unit.a1, and b likewise.
  return {clampedCeil(b0 - unit.b1), clampedFloor(b1 - unit.b0), clampedCeil(a0 - unit.a1),
          clampedFloor(a1 - unit.a0)};
}

CellRange atMost(CellRange r, long long most) {
  if (r.count() <= most) return r;
  const long long rows = (long long)r.i1 - r.i0 + 1, columns = (long long)r.j1 - r.j0 + 1;
  const long long side = std::max(1LL, (long long)std::sqrt(double(most)));
  long long keepRows = side, keepColumns = side;
  if (rows < side) keepRows = rows, keepColumns = std::max(1LL, most / rows);
  if (columns < side) keepColumns = columns, keepRows = std::max(1LL, most / columns);
  // Kept about the middle of each range.
  auto middle = [](int& from, int& to, long long keep) {
    const long long mid = ((long long)from + to) / 2;
    from = int(mid - (keep - 1) / 2);
    to = int(from + keep - 1);
  };
  middle(r.i0, r.i1, keepRows);
  middle(r.j0, r.j1, keepColumns);
  return r;
}

}  // namespace explore
