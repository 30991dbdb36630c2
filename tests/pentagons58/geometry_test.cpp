// Each tile checked as geometry: its pentagons are copies of the one
// pentagon, fill the lattice cell, cover the plane once with their lattice
// translates, and are outlined by exactly the tile's stored edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/pentagons58/tilings.h"
#include "tests/testbed/geometry.h"

namespace pentagons58 {
namespace {

// Does p read as the reference pentagon, from some vertex, either way round?
bool congruent(std::vector<Point> p, const Pentagon& shape) {
  for (int turn = 0; turn < 10; ++turn) {
    if (turn == 5) std::reverse(p.begin(), p.end());
    std::rotate(p.begin(), p.begin() + 1, p.end());
    const auto sides = testbed::sideLengths(p);
    const auto angles = testbed::interiorAngles(p);
    bool same = true;
    for (int i = 0; i < 5; ++i)
      same = same && std::fabs(sides[i] - shape.sides[i]) < 1e-4 &&
             std::fabs(angles[i] - shape.angles[i]) < 1e-3;
    if (same) return true;
  }
  return false;
}

class TileGeometry : public ::testing::TestWithParam<Tiling> {
 protected:
  void SetUp() override {
    clearScene();
    tile = GetParam().tile();
    for (const auto& corners : GetParam().pentagons) {
      pentagons.emplace_back();
      for (int k : corners) pentagons.back().push_back(tile[k]);
    }
  }
  std::vector<Point> tile;
  std::vector<std::vector<Point>> pentagons;
};

TEST_P(TileGeometry, PentagonsHaveTheSidesAnglesAndAreaOfTheOnePentagon) {
  const Tiling& t = GetParam();
  double total = 0;
  for (std::size_t i = 0; i < pentagons.size(); ++i) {
    const double area = std::fabs(testbed::signedArea(pentagons[i]));
    EXPECT_TRUE(congruent(pentagons[i], t.shape)) << "pentagon " << i;
    EXPECT_NEAR(area, t.shape.area, 1e-4) << "pentagon " << i;
    total += area;
  }
  // Together they are as large as the lattice cell.
  EXPECT_NEAR(total, t.cellArea, 1e-3);
  EXPECT_NEAR(std::fabs(t.u.x * t.v.y - t.u.y * t.v.x), t.cellArea, 1e-9);
}

// Sample points over the tile, away from every side, each lie in exactly one
// pentagon of the tile's lattice translates: no overlap and no gap.
TEST_P(TileGeometry, LatticeTranslatesCoverEveryPointOnce) {
  const Tiling& t = GetParam();
  std::vector<Segment> corners;
  for (const Point& p : tile) corners.push_back(Segment{p, p, 9});
  const testbed::Span box = testbed::span(corners);
  int sampled = 0;
  for (double fx = 0.3183 / 37; fx < 1; fx += 1.0 / 37)
    for (double fy = 0.5772 / 41; fy < 1; fy += 1.0 / 41) {
      int covering = 0;
      bool onSide = false;
      for (int a = -2; a <= 2; ++a)
        for (int b = -2; b <= 2; ++b)
          for (const auto& p : pentagons) {
            const double x = box.minX + (box.maxX - box.minX) * fx - a * t.u.x - b * t.v.x;
            const double y = box.minY + (box.maxY - box.minY) * fy - a * t.u.y - b * t.v.y;
            const double s = testbed::signedArea(p) > 0 ? 1 : -1;
            double nearest = INFINITY;  // signed distance to the nearest side
            for (int k = 0; k < 5; ++k) {
              const Point &from = p[k], &to = p[(k + 1) % 5];
              const double dx = double(to.x) - from.x, dy = double(to.y) - from.y;
              nearest = std::min(nearest, s * (dx * (y - from.y) - dy * (x - from.x)) /
                                              std::hypot(dx, dy));
            }
            onSide = onSide || std::fabs(nearest) < 1e-3;
            covering += nearest > 0;
          }
      if (onSide) continue;
      ++sampled;
      EXPECT_EQ(covering, 1) << "at fraction (" << fx << ", " << fy << ")";
    }
  EXPECT_GT(sampled, 1400);
}

// Where p lies on the line of s (0 at s.a, 1 at s.b), or NaN off the line.
double along(const Segment& s, const Point& p) {
  const double dx = double(s.b.x) - s.a.x, dy = double(s.b.y) - s.a.y;
  const double px = double(p.x) - s.a.x, py = double(p.y) - s.a.y;
  if (std::fabs(dx * py - dy * px) / std::hypot(dx, dy) > 1e-4) return NAN;
  return (dx * px + dy * py) / (dx * dx + dy * dy);
}

// The first copy is the tile itself: every pentagon side lies on a stored
// edge, and every stored edge is made up of pentagon sides end to end.
TEST_P(TileGeometry, StoredEdgesAreExactlyThePentagonSides) {
  const Tiling& t = GetParam();
  clearScene();
  t.buildScene();
  const Segment* copy = &Scene.segments[t.storedBefore];
  std::vector<std::vector<std::pair<double, double>>> cover(t.edgesPerCopy);
  for (std::size_t i = 0; i < pentagons.size(); ++i)
    for (int k = 0; k < 5; ++k) {
      bool stored = false;
      for (int e = 0; e < t.edgesPerCopy; ++e) {
        const double from = along(copy[e], pentagons[i][k]);
        const double to = along(copy[e], pentagons[i][(k + 1) % 5]);
        if (!(std::min(from, to) > -1e-5 && std::max(from, to) < 1 + 1e-5)) continue;
        stored = true;
        cover[e].push_back({std::min(from, to), std::max(from, to)});
      }
      EXPECT_TRUE(stored) << "side " << k << " of pentagon " << i;
    }
  for (int e = 0; e < t.edgesPerCopy; ++e) {
    std::sort(cover[e].begin(), cover[e].end());
    double reached = 0;
    for (const auto& [from, to] : cover[e])
      if (from < reached + 1e-5) reached = std::max(reached, to);
    EXPECT_GT(reached, 1 - 1e-5) << "edge " << e + 1 << " is not all sides";
  }
}

INSTANTIATE_TEST_SUITE_P(PentagonTilings, TileGeometry,
                         ::testing::ValuesIn(tilings()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace pentagons58
