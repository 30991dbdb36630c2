// What every one of the eight patches stores, read back from the scene as
// geometry: counts, the tile's vertices, lengths, extent, the lattice, the
// overlaps between neighbouring copies and the vertex stars.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/mixtiles/cases.h"
#include "tests/mixtiles/patch.h"
#include "tests/testbed/geometry.h"

namespace {

using cases::Tiling;

class Patch : public ::testing::TestWithParam<Tiling> {
 protected:
  void SetUp() override {
    clearScene();
    GetParam().buildScene();
  }

  const Tiling& tiling() const { return GetParam(); }
  const std::vector<Segment>& stored() const { return Scene.segments; }

  // Segment k of the copy in row i, column j.
  const Segment& copySegment(int i, int j, int k) const {
    const Tiling& t = tiling();
    return stored()[std::size_t((i * t.n + j) * t.segmentsPerTile + k)];
  }

  // The move from the first copy to the copy in row i, column j, measured on
  // the stored end points of each copy's first segment.
  Point measuredOffset(int i, int j) const {
    return patch::between(copySegment(0, 0, 0).a, copySegment(i, j, 0).a);
  }
};

std::string caseName(const ::testing::TestParamInfo<Tiling>& info) {
  return info.param.name;
}

TEST_P(Patch, StoresEveryEdgeOfEveryCopyOnceInBlackAndNothingElse) {
  const Tiling& t = tiling();
  EXPECT_EQ(stored().size(), t.segmentCount);
  EXPECT_EQ(stored().size(), std::size_t(t.n * t.n * t.segmentsPerTile));
  for (const Segment& s : stored()) {
    EXPECT_EQ(s.color, 9);
    for (const Point& p : {s.a, s.b}) {
      EXPECT_EQ(p.color, 9);
      EXPECT_EQ(p.z, 0.0f);
    }
  }
  EXPECT_TRUE(Scene.points.empty());
  EXPECT_TRUE(Scene.circles.empty());
  EXPECT_TRUE(Scene.lines.empty());
}

TEST_P(Patch, FirstCopyStoresTheTileEdgesInOrderFromFirstToSecondVertex) {
  const Tiling& t = tiling();
  const std::vector<Point> tile = t.tile();
  ASSERT_EQ(t.firstCopy.size(), std::size_t(t.segmentsPerTile));
  for (int k = 0; k < t.segmentsPerTile; ++k) {
    const auto [from, to] = t.firstCopy[std::size_t(k)];
    const Segment& s = copySegment(0, 0, k);
    SCOPED_TRACE(testing::Message() << "segment " << k << ": " << from << "-" << to);
    EXPECT_EQ(s.a.x, tile[from].x);
    EXPECT_EQ(s.a.y, tile[from].y);
    EXPECT_EQ(s.b.x, tile[to].x);
    EXPECT_EQ(s.b.y, tile[to].y);
  }
}

TEST_P(Patch, TileVerticesToFourDecimals) {
  const std::vector<Point> tile = tiling().tile();
  for (const cases::VertexAt& v : tiling().vertices) {
    SCOPED_TRACE("vertex " + std::to_string(v.k));
    EXPECT_NEAR(tile[v.k].x, v.x, 6e-5);
    EXPECT_NEAR(tile[v.k].y, v.y, 6e-5);
    EXPECT_EQ(tile[v.k].z, 0.0f);
    EXPECT_EQ(tile[v.k].color, 9);
  }
}

TEST_P(Patch, SegmentLengthsAreTheStatedSet) {
  const std::vector<double> lengths = testbed::lengthSet(stored(), 1e-4);
  ASSERT_EQ(lengths.size(), tiling().lengths.size());
  for (std::size_t k = 0; k < lengths.size(); ++k)
    EXPECT_NEAR(lengths[k], tiling().lengths[k], 1e-4);
}

TEST_P(Patch, EndPointsSpanTheStatedRectangleAndSetTheBounds) {
  const testbed::Span s = testbed::span(stored());
  const testbed::Span& want = tiling().span;
  EXPECT_NEAR(s.minX, want.minX, 1e-4);
  EXPECT_NEAR(s.maxX, want.maxX, 1e-4);
  EXPECT_NEAR(s.minY, want.minY, 1e-4);
  EXPECT_NEAR(s.maxY, want.maxY, 1e-4);
  // The bounds start at min (1024, 700) and max (0, 0).
  EXPECT_EQ(SceneBounds.min.x, std::min<float>(float(s.minX), 1024));
  EXPECT_EQ(SceneBounds.min.y, std::min<float>(float(s.minY), 700));
  EXPECT_EQ(SceneBounds.max.x, std::max<float>(float(s.maxX), 0));
  EXPECT_EQ(SceneBounds.max.y, std::max<float>(float(s.maxY), 0));
}

TEST_P(Patch, CopyInRowIColumnJIsTheFirstMovedByIVPlusJU) {
  const Tiling& t = tiling();
  const Point u = measuredOffset(0, 1);
  const Point v = measuredOffset(1, 0);
  EXPECT_NEAR(u.x, t.u.x, 1e-4);
  EXPECT_NEAR(u.y, t.u.y, 1e-4);
  EXPECT_NEAR(v.x, t.v.x, 1e-4);
  EXPECT_NEAR(v.y, t.v.y, 1e-4);
  for (int i = 0; i < t.n; ++i)
    for (int j = 0; j < t.n; ++j) {
      const Point at = patch::latticeOffset(i, j, u, v);
      for (int k = 0; k < t.segmentsPerTile; ++k) {
        const Segment& first = copySegment(0, 0, k);
        const Segment& copy = copySegment(i, j, k);
        SCOPED_TRACE(testing::Message() << "row " << i << " column " << j
                                        << " segment " << k);
        EXPECT_NEAR(copy.a.x, first.a.x + at.x, 1e-3);
        EXPECT_NEAR(copy.a.y, first.a.y + at.y, 1e-3);
        EXPECT_NEAR(copy.b.x, first.b.x + at.x, 1e-3);
        EXPECT_NEAR(copy.b.y, first.b.y + at.y, 1e-3);
      }
    }
}

TEST_P(Patch, NeighbouringCopiesShareTheStatedEdgesAndBothStoreThem) {
  const Tiling& t = tiling();
  const std::vector<Point> tile = t.tile();
  const Point u = measuredOffset(0, 1);
  const Point v = measuredOffset(1, 0);
  for (const cases::Overlap& o : t.overlaps) {
    SCOPED_TRACE(testing::Message() << "edge " << o.p << "-" << o.q
                                    << " against " << o.r << "-" << o.s);
    int checked = 0;
    for (int i = 0; i < t.n; ++i)
      for (int j = 0; j < t.n; ++j) {
        const int ni = i + o.dv, nj = j + o.du;
        if (ni < 0 || ni >= t.n || nj < 0 || nj >= t.n) continue;
        const Point here = patch::latticeOffset(i, j, u, v);
        const Point there = patch::latticeOffset(ni, nj, u, v);
        const Segment mine{patch::plus(tile[o.p], here),
                           patch::plus(tile[o.q], here), 9};
        const Segment theirs{patch::plus(tile[o.r], there),
                             patch::plus(tile[o.s], there), 9};
        ASSERT_TRUE(testbed::sameEdge(mine, theirs, patch::tol))
            << "row " << i << " column " << j;
        EXPECT_EQ(patch::coverCount(stored(), mine), 2u)
            << "row " << i << " column " << j;
        ++checked;
      }
    EXPECT_EQ(checked, (t.n - std::abs(o.du)) * (t.n - std::abs(o.dv)));
  }
}

// Counting the pattern's distinct edges against the stated overlaps shows
// that no other pair of copies shares an edge.
TEST_P(Patch, TheStatedOverlapsAreTheOnlyRepeatedEdges) {
  const Tiling& t = tiling();
  const std::vector<Segment> edges = patch::patternEdges(stored());
  const std::size_t perTile = edges.size() / std::size_t(t.n * t.n);
  ASSERT_EQ(edges.size(), perTile * t.n * t.n);
  std::size_t shared = 0;
  for (const cases::Overlap& o : t.overlaps)
    shared += std::size_t((t.n - std::abs(o.du)) * (t.n - std::abs(o.dv)));
  EXPECT_EQ(testbed::distinctEdgeCount(edges, patch::tol), edges.size() - shared);
}

TEST_P(Patch, EveryInteriorVertexHasTheStatedEdgesAtTheStatedAngles) {
  const Tiling& t = tiling();
  const std::vector<Point> tile = t.tile();
  std::vector<double> want = t.starGaps;
  if (t.name == "quadtile") {
    // The four corners of the quadrilateral meet at every vertex.
    want = testbed::interiorAngles({tile[0], tile[1], tile[2], tile[3]});
  }
  if (t.anyOrder) std::sort(want.begin(), want.end());

  const std::vector<testbed::Star> stars =
      testbed::vertexStars(patch::patternEdges(stored()), patch::tol);
  const Point u = measuredOffset(0, 1);
  const Point v = measuredOffset(1, 0);
  int checked = 0;
  // A vertex of a copy whose eight neighbouring copies are all in the patch.
  for (int i = 1; i + 1 < t.n; ++i)
    for (int j = 1; j + 1 < t.n; ++j)
      for (std::size_t k = 0; k < tile.size(); ++k) {
        if (t.movedInPlace && (k == 0 || k > t.vertexCount)) continue;
        const Point at = patch::plus(tile[k], patch::latticeOffset(i, j, u, v));
        const auto star =
            std::find_if(stars.begin(), stars.end(), [&](const testbed::Star& s) {
              return testbed::distance(s.at, at) <= patch::tol;
            });
        ASSERT_NE(star, stars.end());
        std::vector<double> gaps = star->gaps();
        if (t.anyOrder) std::sort(gaps.begin(), gaps.end());
        const auto other = t.otherStars.find(int(k));
        EXPECT_TRUE(patch::sameCycle(
            gaps, other == t.otherStars.end() ? want : other->second))
            << "vertex " << k << " of row " << i << " column " << j << ": "
            << testing::PrintToString(gaps);
        ++checked;
      }
  EXPECT_GT(checked, 0);
}

TEST_P(Patch, UnusedSlotsStayAtTheDefaultPointAlsoAfterMovingInPlace) {
  const Tiling& t = tiling();
  if (!t.movedInPlace) GTEST_SKIP() << "not a slotted tile";
  const Point by{3.5f, -2.25f, 0, 9};
  const std::vector<Point> built = t.tile();
  const std::vector<Point> moved = t.movedInPlace(by);
  for (const std::vector<Point>* tile : {&built, &moved})
    for (std::size_t k = 0; k < tile->size(); ++k) {
      if (k != 0 && k <= t.vertexCount) continue;
      SCOPED_TRACE("slot " + std::to_string(k));
      EXPECT_EQ((*tile)[k].x, 0.0f);
      EXPECT_EQ((*tile)[k].y, 0.0f);
      EXPECT_EQ((*tile)[k].z, 0.0f);
      EXPECT_EQ((*tile)[k].color, 9);
    }
  for (std::size_t k = 1; k <= t.vertexCount; ++k) {
    EXPECT_EQ(moved[k].x, built[k].x + by.x) << "vertex " << k;
    EXPECT_EQ(moved[k].y, built[k].y + by.y) << "vertex " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(EightTilings, Patch,
                         ::testing::ValuesIn(cases::all()), caseName);

}  // namespace
