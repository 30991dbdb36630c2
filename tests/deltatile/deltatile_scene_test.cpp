// deltatile's stored patch: a triangle and its half-turn copy repeated 6 x 6.
#include <gtest/gtest.h>

#include <cmath>

#include "programs/deltatile/deltatile.h"
#include "tests/testbed/geometry.h"

namespace {

using deltatile::Tile;

// The half-turn leaves float noise of order 1e-6 on integer coordinates.
constexpr float tol = 1e-5f;

void expectSegment(const Segment& s, float ax, float ay, float bx, float by) {
  EXPECT_NEAR(s.a.x, ax, tol);
  EXPECT_NEAR(s.a.y, ay, tol);
  EXPECT_NEAR(s.b.x, bx, tol);
  EXPECT_NEAR(s.b.y, by, tol);
  EXPECT_EQ(s.color, 9);
}

class DeltatileScene : public ::testing::Test {
 protected:
  void SetUp() override {
    clearScene();
    deltatile::buildScene();
  }
  const std::vector<Segment>& segments = Scene.segments;
};

TEST(DeltatileTile, HalfTurnCompletesTheParallelogramAtTheOrigin) {
  const Tile t = deltatile::buildTile(deltatile::P1, deltatile::P2, deltatile::P3);
  const float want[4][2] = {{0, 0}, {4, -1}, {3, 2}, {1, -3}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_NEAR(t[k].x, want[k][0], tol) << k;
    EXPECT_NEAR(t[k].y, want[k][1], tol) << k;
    EXPECT_EQ(t[k].z, 0.0f);
    EXPECT_EQ(t[k].color, 9);
  }
  // Opposite sides of A, D, B, C are equal: D - A = B - C.
  EXPECT_EQ(t[deltatile::A].x, 0.0f);
  EXPECT_EQ(t[deltatile::A].y, 0.0f);
  EXPECT_NEAR(t[deltatile::D].x - t[deltatile::A].x, t[deltatile::B].x - t[deltatile::C].x, tol);
  EXPECT_NEAR(t[deltatile::D].y - t[deltatile::A].y, t[deltatile::B].y - t[deltatile::C].y, tol);
}

TEST_F(DeltatileScene, StoresThirtySixTilesOfFiveEdges) {
  ASSERT_EQ(segments.size(), 180u);
  expectSegment(segments[0], 0, 0, 4, -1);
  expectSegment(segments[1], 4, -1, 3, 2);
  expectSegment(segments[2], 3, 2, 0, 0);
  expectSegment(segments[3], 1, -3, 0, 0);
  expectSegment(segments[4], 1, -3, 4, -1);
  expectSegment(segments[5], -3, -2, 1, -3);
  expectSegment(segments[179], -9, -28, -6, -26);
}

TEST_F(DeltatileScene, EachCopyLiesOneLatticeVectorFromItsNeighbour) {
  const Point u{-3, -2}, v{1, -3};
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) {
      const Segment& first = segments[(i * 6 + j) * 5];
      EXPECT_NEAR(first.a.x, i * v.x + j * u.x, tol) << i << "," << j;
      EXPECT_NEAR(first.a.y, i * v.y + j * u.y, tol) << i << "," << j;
    }
  expectSegment(segments[30], 1, -3, 5, -4);  // row 1 starts at A = v
}

TEST_F(DeltatileScene, SharedSidesAreStoredByBothTiles) {
  EXPECT_EQ(testbed::distinctEdgeCount(segments), 120u);
}

TEST_F(DeltatileScene, EdgesHaveTheTriangleSideLengths) {
  const std::vector<double> lengths = testbed::lengthSet(segments);
  ASSERT_EQ(lengths.size(), 3u);
  EXPECT_NEAR(lengths[0], std::sqrt(10.0), 1e-6);  // B-C
  EXPECT_NEAR(lengths[1], std::sqrt(13.0), 1e-6);  // C-A
  EXPECT_NEAR(lengths[2], std::sqrt(17.0), 1e-6);  // A-B
}

TEST_F(DeltatileScene, BoundsAndFramingFollowTheEndPoints) {
  const testbed::Span s = testbed::span(segments);
  EXPECT_NEAR(s.minX, -15, tol);
  EXPECT_NEAR(s.maxX, 9, tol);
  EXPECT_NEAR(s.minY, -28, tol);
  EXPECT_NEAR(s.maxY, 2, tol);
  EXPECT_EQ(SceneBounds.min.x, float(s.minX));
  EXPECT_EQ(SceneBounds.min.y, float(s.minY));
  EXPECT_EQ(SceneBounds.max.x, float(s.maxX));
  EXPECT_EQ(SceneBounds.max.y, float(s.maxY));
}

TEST_F(DeltatileScene, TrianglesFillTheLatticeCellWithoutGaps) {
  // Two triangles per tile, each half the cell spanned by u and v.
  const Tile t = deltatile::buildTile(deltatile::P1, deltatile::P2, deltatile::P3);
  const double abc = std::fabs(testbed::signedArea({t[0], t[1], t[2]}));
  const double bad = std::fabs(testbed::signedArea({t[1], t[0], t[3]}));
  const double cell = std::fabs((-3.0) * (-3.0) - (-2.0) * 1.0);
  EXPECT_NEAR(abc + bad, cell, 1e-5);
}

TEST(DeltatileLattice, SmallPatches) {
  const Tile t = deltatile::buildTile(deltatile::P1, deltatile::P2, deltatile::P3);
  clearScene();
  deltatile::tileLattice(1, t);
  EXPECT_EQ(Scene.segments.size(), 5u);
  clearScene();
  deltatile::tileLattice(0, t);
  deltatile::tileLattice(-2, t);
  EXPECT_TRUE(Scene.segments.empty());
  EXPECT_EQ(SceneBounds.min.x, 1024.0f);
}

}  // namespace
