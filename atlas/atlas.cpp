#include "atlas/atlas.h"

#include <algorithm>
#include <cmath>

#include "atlas/motions.h"
#include "atlas/tables.h"
#include "faces/vec2.h"

namespace atlas {

namespace {
Point pointOf(Vec p) { return Point{static_cast<float>(p.x), static_cast<float>(p.y), 0, 9}; }
}  // namespace

std::vector<Vec> polygonFrom(std::span<const double> angles, std::span<const double> sides) {
  const std::size_t n = angles.size();
  if (n < 3 || sides.size() + 2 != n) return {};
  // Walk the given sides, turning by the exterior angle at each corner.
  std::vector<Vec> corners{{0, 0}};
  double direction = 0;
  for (std::size_t k = 0; k < sides.size(); ++k) {
    const Vec d = heading(direction);
    const Vec& last = corners.back();
    corners.push_back({last.x + sides[k] * d.x, last.y + sides[k] * d.y});
    direction += 180 - angles[k + 1];
  }
  // Close with two sides: from the last corner along `direction`, then along
  // the direction after corner n - 1, back to the origin.
  const Vec p = corners.back();
  const Vec d1 = heading(direction);
  const Vec d2 = heading(direction + 180 - angles[n - 1]);
  // p + s d1 + t d2 = 0
  const double det = d1.x * d2.y - d1.y * d2.x;
  if (std::abs(det) < 1e-12) return {};
  const double s = (-p.x * d2.y + p.y * d2.x) / det;
  corners.push_back({p.x + s * d1.x, p.y + s * d1.y});
  return corners;
}

std::vector<Vec> regularPolygon(int n) {
  std::vector<double> angles(static_cast<std::size_t>(n), 180.0 * (n - 2) / n);
  std::vector<double> sides(static_cast<std::size_t>(n - 2), 1.0);
  return polygonFrom(angles, sides);
}

Vec placed(const Placement& p, Vec x) {
  if (p.mirrored) x.y = -x.y;
  const Vec c = heading(p.turn);
  return {c.x * x.x - c.y * x.y + p.shift.x, c.y * x.x + c.x * x.y + p.shift.y};
}

namespace {

void storeBlock(const Entry& entry, int rows, int columns) {
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < columns; ++j) {
      const Vec step{i * entry.v.x + j * entry.u.x, i * entry.v.y + j * entry.u.y};
      for (const Placement& copy : entry.copies) {
        const std::vector<Vec>& tile = entry.prototiles.at(static_cast<std::size_t>(copy.tile));
        for (std::size_t k = 0; k < tile.size(); ++k) {
          const Vec a = placed(copy, tile[k]);
          const Vec b = placed(copy, tile[(k + 1) % tile.size()]);
          addSegment(9, Segment{pointOf({a.x + step.x, a.y + step.y}),
                                pointOf({b.x + step.x, b.y + step.y}), 9});
        }
      }
    }
  }
}

}  // namespace

void storePatch(const Entry& entry, int n) {
  Entry reduced = entry;
  reducePeriods(reduced.u, reduced.v);
  storeBlock(reduced, n, n);
}

void storeOwnPatch(const Entry& entry) {
  Entry reduced = entry;
  reducePeriods(reduced.u, reduced.v);
  const double u = std::hypot(reduced.u.x, reduced.u.y), v = std::hypot(reduced.v.x, reduced.v.y);
  const double across = entry.latticeSize * std::max(u, v);
  storeBlock(reduced, int(std::lround(across / v)), int(std::lround(across / u)));
}

void reducePeriods(Vec& u, Vec& v) {
  faces::Vec2 a{u.x, u.y}, b{v.x, v.y};
  faces::reduceBasis(a, b);
  u = {a.x, a.y};
  v = {b.x, b.y};
}

std::span<const Entry> entries() {
  static const std::vector<Entry> all = [] {
    std::vector<Entry> list;
    for (auto part : {pentagonTypes1to5, pentagonTypes6to15, archimedeanTilings})
      for (Entry& e : part()) list.push_back(std::move(e));
    return list;
  }();
  return all;
}

const Entry* findEntry(std::string_view name) {
  for (const Entry& e : entries())
    if (e.name == name) return &e;
  return nullptr;
}

}  // namespace atlas
