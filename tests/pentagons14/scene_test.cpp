// The four pentagon tilings as stored scenes and as geometry, one table row
// per program.

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "programs/pentatile2/pentatile2.h"
#include "programs/pentatile3/pentatile3.h"
#include "tests/pentagons14/facts.h"
#include "tests/testbed/geometry.h"

namespace pentagons14 {
namespace {

// Float precision at size v: the noise grows with the coordinate and with the
// moves that accumulate along a row.
double tolerance(double v) { return 1e-4 + 2e-6 * std::fabs(v); }

::testing::AssertionResult near(const Point& p, Xy want) {
  if (std::fabs(p.x - want.x) <= tolerance(want.x) && std::fabs(p.y - want.y) <= tolerance(want.y))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << p.x << ", " << p.y << ") is not (" << want.x << ", " << want.y << ")";
}

std::vector<Point> corners(const std::vector<Point>& tile, const Pentagon& pentagon) {
  std::vector<Point> result;
  for (int k : pentagon) result.push_back(tile[k]);
  return result;
}

class PentagonTiling : public ::testing::TestWithParam<Tiling> {
 protected:
  void SetUp() override {
    clearScene();
    ::testing::internal::CaptureStdout();  // pentatile3 and 4 report progress
  }
  void TearDown() override { ::testing::internal::GetCapturedStdout(); }

  void buildScene() { GetParam().buildScene(); }
  // The stored segment of edge e in copy (row i, column j).
  const Segment& copyEdge(int i, int j, std::size_t e) const {
    const Tiling& t = GetParam();
    return Scene.segments[(std::size_t(i) * t.count + j) * t.edgesPerCopy + e];
  }
};

// --- The tile as geometry

TEST_P(PentagonTiling, EachTurnedOrMovedPentagonHasTheGivenSidesAnglesAndArea) {
  const Tiling& t = GetParam();
  const std::vector<Point> tile = t.tile();
  const std::vector<double> given = testbed::interiorAngles(corners(tile, t.congruent[0]));
  for (std::size_t k = 0; k < 5; ++k) {
    if (!std::isnan(t.angles[k])) {
      EXPECT_NEAR(given[k], t.angles[k], 0.01) << "corner " << k;
    }
  }
  for (const Pentagon& pentagon : t.congruent) {
    SCOPED_TRACE("pentagon from T" + std::to_string(pentagon[0]));
    const std::vector<Point> p = corners(tile, pentagon);
    const std::vector<double> sides = testbed::sideLengths(p);
    const std::vector<double> angles = testbed::interiorAngles(p);
    for (std::size_t k = 0; k < 5; ++k) {
      EXPECT_NEAR(sides[k], t.sides[k], 1e-4) << "side " << k;
      EXPECT_NEAR(angles[k], given[k], 1e-3) << "corner " << k;
      EXPECT_LT(angles[k], 180) << "corner " << k << " is not convex";
    }
    // Counter-clockwise like the given one: turned or moved, not mirrored.
    EXPECT_NEAR(testbed::signedArea(p), t.area, 1e-3);
  }
}

TEST_P(PentagonTiling, ThePentagonsOfOneTileCoverTheLatticeCell) {
  const Tiling& t = GetParam();
  const std::vector<Point> tile = t.tile();
  double total = 0;
  for (const Pentagon& p : t.congruent) total += testbed::signedArea(corners(tile, p));
  for (const Pentagon& pentagon : t.joining) {
    SCOPED_TRACE("pentagon from T" + std::to_string(pentagon[0]));
    const std::vector<Point> p = corners(tile, pentagon);
    const std::vector<double> sides = testbed::sideLengths(p);
    for (std::size_t k = 0; k < 5; ++k) EXPECT_NEAR(sides[k], t.joiningSides[k], 1e-4);
    const double area = std::fabs(testbed::signedArea(p));
    EXPECT_NEAR(area, t.joiningArea, 1e-3);
    total += area;
  }
  EXPECT_NEAR(total, t.tileArea, 1e-3);

  // The cell the stored copies span: from the first copy to its neighbour in
  // the row and to the start of the next row.
  buildScene();
  const Point &o = copyEdge(0, 0, 0).a, &u = copyEdge(0, 1, 0).a, &v = copyEdge(1, 0, 0).a;
  const double cell = (double(u.x) - o.x) * (double(v.y) - o.y) - (double(u.y) - o.y) * (double(v.x) - o.x);
  EXPECT_NEAR(std::fabs(cell), t.cellArea, 1e-3);
}

TEST_P(PentagonTiling, AVertexOnAnotherPentagonsSideLiesAtItsMiddle) {
  const std::vector<Point> tile = GetParam().tile();
  for (const Midpoint& m : GetParam().midpoints) {
    const Point &a = tile[m.from], &b = tile[m.to];
    EXPECT_TRUE(near(tile[m.at], {(double(a.x) + b.x) / 2, (double(a.y) + b.y) / 2}))
        << "T" << m.at << " on T" << m.from << "-T" << m.to;
  }
}

// --- The stored scene

TEST_P(PentagonTiling, TheSceneHoldsNSquaredCopiesOfTheTileEdgesInBlack) {
  const Tiling& t = GetParam();
  buildScene();
  ASSERT_EQ(Scene.segments.size(), std::size_t(t.count * t.count) * t.edgesPerCopy);
  for (const Segment& s : Scene.segments) {
    EXPECT_EQ(s.color, 9);
    EXPECT_EQ(s.a.z, 0);
    EXPECT_EQ(s.b.z, 0);
  }
  EXPECT_TRUE(Scene.points.empty() && Scene.circles.empty() && Scene.lines.empty());
}

TEST_P(PentagonTiling, ALatticeOfNoCopiesStoresNothing) {
  for (int n : {0, -1}) GetParam().tileLattice(n);
  EXPECT_TRUE(Scene.segments.empty());
}

TEST_P(PentagonTiling, TheFirstCopysSegmentsAreTheTileEdgesInOrderAndDirection) {
  buildScene();
  for (const StoredEdge& e : GetParam().firstEdges) {
    EXPECT_TRUE(near(Scene.segments.at(e.index).a, e.from)) << "segment " << e.index + 1;
    EXPECT_TRUE(near(Scene.segments.at(e.index).b, e.to)) << "segment " << e.index + 1;
  }
}

TEST_P(PentagonTiling, CopyInRowIColumnJLiesIVPlusJUFromTheFirst) {
  const Tiling& t = GetParam();
  buildScene();
  ASSERT_EQ(Scene.segments.size(), std::size_t(t.count * t.count) * t.edgesPerCopy);
  auto moved = [](const Point& p, double dx, double dy) { return Xy{p.x + dx, p.y + dy}; };
  for (int i = 0; i < t.count; ++i)
    for (int j = 0; j < t.count; ++j)
      for (std::size_t e = 0; e < t.edgesPerCopy; ++e) {
        const Segment &first = copyEdge(0, 0, e), &copy = copyEdge(i, j, e);
        const double dx = i * t.v.x + j * t.u.x, dy = i * t.v.y + j * t.u.y;
        ASSERT_TRUE(near(copy.a, moved(first.a, dx, dy)) && near(copy.b, moved(first.b, dx, dy)))
            << "row " << i << " column " << j << " edge " << e + 1;
      }
  EXPECT_TRUE(near(Scene.segments.back().b,
                   moved(copyEdge(0, 0, t.edgesPerCopy - 1).b, t.lastCopy.x, t.lastCopy.y)));
}

TEST_P(PentagonTiling, EveryStoredEdgeHasOneOfTheStatedLengths) {
  const Tiling& t = GetParam();
  buildScene();
  const std::vector<double> lengths = testbed::lengthSet(Scene.segments);
  ASSERT_EQ(lengths.size(), t.lengths.size());
  for (std::size_t k = 0; k < lengths.size(); ++k) EXPECT_NEAR(lengths[k], t.lengths[k], 1e-4);
}

TEST_P(PentagonTiling, TheEndPointsSpanTheStatedBoxAndTheBoundsAreThatSpan) {
  const Tiling& t = GetParam();
  buildScene();
  const testbed::Span s = testbed::span(Scene.segments);
  EXPECT_NEAR(s.minX, t.spanMin.x, tolerance(t.spanMin.x));
  EXPECT_NEAR(s.maxX, t.spanMax.x, tolerance(t.spanMax.x));
  EXPECT_NEAR(s.minY, t.spanMin.y, tolerance(t.spanMin.y));
  EXPECT_NEAR(s.maxY, t.spanMax.y, tolerance(t.spanMax.y));
  // The span lies inside the start values (1024, 700) and (0, 0), so the
  // bounds the camera is framed on are the span itself.
  EXPECT_EQ(SceneBounds.min.x, float(s.minX));
  EXPECT_EQ(SceneBounds.max.x, float(s.maxX));
  EXPECT_EQ(SceneBounds.min.y, float(s.minY));
  EXPECT_EQ(SceneBounds.max.y, float(s.maxY));
}

TEST_P(PentagonTiling, NeighbouringCopiesEachStoreTheEdgesTheyShare) {
  if (GetParam().distinct == 0) GTEST_SKIP() << "no distinct count to hold it to";
  buildScene();
  EXPECT_EQ(testbed::distinctEdgeCount(Scene.segments), GetParam().distinct);
}

INSTANTIATE_TEST_SUITE_P(Pentagons, PentagonTiling, ::testing::ValuesIn(tilings()),
                         [](const auto& info) { return info.param.name; });

TEST(SquareRootThree, HeightsAreTheDoubleValuesStoredAsFloats) {
  // Exact: a shortened decimal for sqrt 3 lands on another float and moves
  // every coordinate that depends on it.
  EXPECT_EQ(pentatile2::computeD(), 7.3301272f);
  EXPECT_EQ(pentatile3::computeHeights().c1, 3.1650636f);
  EXPECT_EQ(pentatile3::computeHeights().c2, 5.3301272f);
}

}  // namespace
}  // namespace pentagons14
