// What each program stores in the scene, read back from the scene alone.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/pentagons58/tilings.h"
#include "tests/testbed/geometry.h"

namespace pentagons58 {
namespace {

class StoredScene : public ::testing::TestWithParam<Tiling> {
 protected:
  void SetUp() override {
    clearScene();
    GetParam().buildScene();
  }
  const std::vector<Segment>& segments = Scene.segments;
};

TEST_P(StoredScene, EveryEdgeOfEveryCopyIsStoredBlackExceptTheBlueOne) {
  const Tiling& t = GetParam();
  const int copies = t.latticeSize * t.latticeSize;
  EXPECT_EQ(t.storedBefore + copies * t.edgesPerCopy, t.segmentCount);
  ASSERT_EQ(segments.size(), std::size_t(t.segmentCount));
  EXPECT_TRUE(Scene.points.empty() && Scene.circles.empty() && Scene.lines.empty());
  for (int i = 0; i < t.segmentCount; ++i) {
    const bool blue = std::count(t.blue.begin(), t.blue.end(), i) > 0;
    EXPECT_EQ(segments[i].color, blue ? 2 : 9) << "segment " << i;
    for (const Point& end : {segments[i].a, segments[i].b})
      EXPECT_TRUE(end.color == 9 && end.z == 0) << "segment " << i;
  }
}

// Only the pentagon's side lengths (and sides joined on one line) occur, the
// end points fill the stated rectangle, which the camera is framed from, and
// borders between neighbouring copies are stored once by each.
TEST_P(StoredScene, LengthsSpanAndDistinctSegments) {
  const Tiling& t = GetParam();
  const std::vector<double> found = testbed::lengthSet(segments, 1e-4);
  ASSERT_EQ(found.size(), t.lengths.size());
  for (std::size_t i = 0; i < found.size(); ++i)
    EXPECT_NEAR(found[i], t.lengths[i], 1e-4);

  const testbed::Span s = testbed::span(segments);
  EXPECT_NEAR(s.minX, t.minX, 1e-4);
  EXPECT_NEAR(s.maxX, t.maxX, 1e-4);
  EXPECT_NEAR(s.minY, t.minY, 1e-4);
  EXPECT_NEAR(s.maxY, t.maxY, 1e-4);
  // The extent straddles both axes, so the bounds are exactly the extent.
  EXPECT_EQ(SceneBounds.min.x, float(s.minX));
  EXPECT_EQ(SceneBounds.max.x, float(s.maxX));
  EXPECT_EQ(SceneBounds.min.y, float(s.minY));
  EXPECT_EQ(SceneBounds.max.y, float(s.maxY));

  if (t.distinctSegments > 0) {
    EXPECT_EQ(testbed::distinctEdgeCount(segments, 1e-3),
              std::size_t(t.distinctSegments));
  }
}

// Copy (i, j) is the first copy moved by i v + j u, rows i outer and columns
// j inner, its edges in the tile's order.
TEST_P(StoredScene, CopiesAreTheTileMovedByLatticeVectors) {
  const Tiling& t = GetParam();
  const int n = t.latticeSize;
  const Segment* first = &segments[t.storedBefore];
  EXPECT_NEAR(first[t.edgeFromOrigin].a.x, 0, 1e-6);
  EXPECT_NEAR(first[t.edgeFromOrigin].a.y, 0, 1e-6);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const Segment* copy = first + (i * n + j) * t.edgesPerCopy;
      const double dx = i * t.v.x + j * t.u.x, dy = i * t.v.y + j * t.u.y;
      SCOPED_TRACE("copy " + std::to_string(i) + ", " + std::to_string(j));
      for (int k = 0; k < t.edgesPerCopy; ++k) {
        EXPECT_NEAR(copy[k].a.x - first[k].a.x, dx, 2e-4);
        EXPECT_NEAR(copy[k].a.y - first[k].a.y, dy, 2e-4);
        EXPECT_NEAR(copy[k].b.x - first[k].b.x, dx, 2e-4);
        EXPECT_NEAR(copy[k].b.y - first[k].b.y, dy, 2e-4);
      }
    }
}

TEST_P(StoredScene, LatticeOfCountNStoresNSquaredCopiesAndNoneBelowOne) {
  for (int n : {-6, -1, 0, 1, 2}) {
    GetParam().lattice(n);
    EXPECT_EQ(segments.size(),
              std::size_t(n > 0 ? n * n * GetParam().edgesPerCopy : 0))
        << "count " << n;
  }
}

INSTANTIATE_TEST_SUITE_P(PentagonTilings, StoredScene,
                         ::testing::ValuesIn(tilings()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace pentagons58
