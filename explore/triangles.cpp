#include "explore/triangles.h"

namespace explore {

namespace {

using faces::Vec2;

double cross(Vec2 a, Vec2 b, Vec2 c) {
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

bool inside(Vec2 p, Vec2 a, Vec2 b, Vec2 c) {
  return cross(a, b, p) >= 0 && cross(b, c, p) >= 0 && cross(c, a, p) >= 0;
}

// Is the corner at ring[k] an ear: convex, with no other corner in it?
bool isEar(std::span<const Vec2> polygon, const std::vector<int>& ring, std::size_t k) {
  const std::size_t n = ring.size();
  const Vec2 a = polygon[ring[(k + n - 1) % n]], b = polygon[ring[k]],
             c = polygon[ring[(k + 1) % n]];
  if (cross(a, b, c) <= 0) return false;
  for (std::size_t j = 0; j < n; ++j) {
    if (j == k || j == (k + 1) % n || j == (k + n - 1) % n) continue;
    if (inside(polygon[ring[j]], a, b, c)) return false;
  }
  return true;
}

}  // namespace

void triangulate(std::span<const Vec2> polygon, std::vector<Vec2>& out) {
  std::vector<int> ring;
  for (int k = 0; k < int(polygon.size()); ++k) ring.push_back(k);
  while (ring.size() > 3) {
    std::size_t ear = ring.size();
    for (std::size_t k = 0; k < ring.size() && ear == ring.size(); ++k)
      if (isEar(polygon, ring, k)) ear = k;
    if (ear == ring.size()) break;
    const std::size_t n = ring.size();
    out.push_back(polygon[ring[(ear + n - 1) % n]]);
    out.push_back(polygon[ring[ear]]);
    out.push_back(polygon[ring[(ear + 1) % n]]);
    ring.erase(ring.begin() + std::ptrdiff_t(ear));
  }
  for (std::size_t k = 1; k + 1 < ring.size(); ++k) {
    out.push_back(polygon[ring[0]]);
    out.push_back(polygon[ring[k]]);
    out.push_back(polygon[ring[k + 1]]);
  }
}

}  // namespace explore
