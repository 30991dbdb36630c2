// The stored order of quadtile's patch, the long segments of mixtile2, and
// the slotted tile operations the multi-shape tilings share.
#include <gtest/gtest.h>

#include "programs/mixtile2/mixtile2.h"
#include "programs/quadtile/quadtile.h"
#include "tests/mixtiles/patch.h"
#include "tests/testbed/geometry.h"
#include "tiles/slots.h"

namespace {

// The half-turn leaves float noise of a few units in the last place on
// coordinates that are integers in exact arithmetic.
constexpr double noise = 2e-6;

void expectSegment(const Segment& s, float ax, float ay, float bx, float by) {
  EXPECT_NEAR(s.a.x, ax, noise);
  EXPECT_NEAR(s.a.y, ay, noise);
  EXPECT_NEAR(s.b.x, bx, noise);
  EXPECT_NEAR(s.b.y, by, noise);
}

TEST(Quadtile, SegmentsFollowRowsThenColumnsFromTheOrigin) {
  clearScene();
  quadtile::buildScene();
  const std::vector<Segment>& s = Scene.segments;
  ASSERT_EQ(s.size(), 175u);
  // The quadrilateral, then the three free sides of its half-turn copy.
  expectSegment(s[0], 0, 0, 4, -1);
  expectSegment(s[1], 4, -1, 3, 3);
  expectSegment(s[2], 3, 3, 1, 5);
  expectSegment(s[3], 1, 5, 0, 0);
  expectSegment(s[4], 3, -6, 4, -1);
  expectSegment(s[5], 3, -6, 1, -4);
  expectSegment(s[6], 1, -4, 0, 0);
  // The second copy of row 0 is moved by u = (3, 3).
  expectSegment(s[7], 3, 3, 7, 2);
  // Row 1 starts from the first copy moved by v = (0, 9).
  expectSegment(s[35], 0, 9, 4, 8);
  // Edge F-A of the last copy, A at 4u + 4v = (12, 48).
  expectSegment(s[174], 13, 44, 12, 48);
  EXPECT_EQ(testbed::distinctEdgeCount(s), 119u);
}

TEST(Quadtile, CopyIsTheHalfTurnOfTheQuadrilateralAboutTheMidpointOfAB) {
  using namespace quadtile;
  const Tile t = buildTile(P1, P2, P3, P4);
  // E = A + B - D and F = A + B - C.
  EXPECT_NEAR(t[E].x, t[A].x + t[B].x - t[D].x, noise);
  EXPECT_NEAR(t[E].y, t[A].y + t[B].y - t[D].y, noise);
  EXPECT_NEAR(t[F].x, t[A].x + t[B].x - t[C].x, noise);
  EXPECT_NEAR(t[F].y, t[A].y + t[B].y - t[C].y, noise);
  // Opposite sides of the hexagon A, F, E, B, C, D are parallel and equal.
  const std::vector<Point> hexagon{t[A], t[F], t[E], t[B], t[C], t[D]};
  const std::vector<double> sides = testbed::sideLengths(hexagon);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(sides[k], sides[k + 3], noise);
}

TEST(Quadtile, OneCopyForSizeOneAndNothingForSizeZero) {
  const quadtile::Tile t = quadtile::buildTile(quadtile::P1, quadtile::P2,
                                               quadtile::P3, quadtile::P4);
  clearScene();
  quadtile::tileLattice(1, t);
  EXPECT_EQ(Scene.segments.size(), 7u);
  clearScene();
  quadtile::tileLattice(0, t);
  EXPECT_TRUE(Scene.segments.empty());
  EXPECT_EQ(SceneBounds.min.x, 1024.0f);
  EXPECT_EQ(SceneBounds.max.x, 0.0f);
}

// Segment 1 runs 11-2-1-7, and five more run through one further vertex.
TEST(Mixtile2, LongSegmentsRunStraightThroughFurtherVertices) {
  mixtile2::Tile t{};
  mixtile2::buildTile(t, mixtile2::givenA, mixtile2::givenB);
  const struct {
    int from, to;
    std::vector<int> through;
  } runs[] = {{11, 7, {2, 1}}, {4, 11, {3}}, {8, 10, {9}},
              {6, 9, {1}},     {9, 3, {2}},  {7, 5, {6}}};
  for (const auto& run : runs) {
    const Segment s{t[run.from], t[run.to], 9};
    const double edges = testbed::length(s) / testbed::distance(t[1], t[2]);
    EXPECT_NEAR(edges, double(run.through.size() + 1), 1e-5);
    for (int k : run.through)
      EXPECT_TRUE(patch::onSegment(t[k], s, 1e-5))
          << run.from << "-" << run.to << " misses " << k;
  }
}

// Triangles 1, 7, 8 and 1, 8, 9 show as one rhombus.
TEST(Mixtile2, NoStoredSegmentCoversEdge1To8OfAnyCopy) {
  clearScene();
  mixtile2::buildScene();
  mixtile2::Tile t{};
  mixtile2::buildTile(t, mixtile2::givenA, mixtile2::givenB);
  const std::vector<Segment>& s = Scene.segments;
  const Point u = patch::between(s[0].a, s[12].a);
  const Point v = patch::between(s[0].a, s[12 * 6].a);
  EXPECT_NEAR(testbed::distance(t[1], t[8]), testbed::distance(t[1], t[2]),
              1e-5);
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) {
      const Point at = patch::latticeOffset(i, j, u, v);
      const Segment diagonal{patch::plus(t[1], at), patch::plus(t[8], at), 9};
      EXPECT_EQ(patch::coverCount(s, diagonal), 0u) << i << ", " << j;
    }
}

using Slots = tiles::Tile<10>;

Slots numbered() {
  Slots t{};
  for (std::size_t k = 0; k < t.size(); ++k)
    t[k] = Point{float(k), float(10 * k), 0, int(k % 10)};
  return t;
}

TEST(SlottedTile, CopyTileLeavesSlotZeroAndTheSlotsAboveNOfTheDestination) {
  const Slots src = numbered();
  Slots dst{};
  tiles::copyTile<6>(dst, src);
  EXPECT_EQ(dst[0].x, 0.0f);
  EXPECT_EQ(dst[0].color, 9);
  for (std::size_t k = 1; k <= 6; ++k) {
    EXPECT_EQ(dst[k].x, src[k].x);
    EXPECT_EQ(dst[k].y, src[k].y);
    EXPECT_EQ(dst[k].color, src[k].color);
  }
  for (std::size_t k = 7; k < dst.size(); ++k) {
    EXPECT_EQ(dst[k].x, 0.0f);
    EXPECT_EQ(dst[k].color, 9);
  }
  Slots same = src;
  tiles::copyTile<6>(same, same);
  for (std::size_t k = 0; k < same.size(); ++k) EXPECT_EQ(same[k].x, src[k].x);
}

TEST(SlottedTile, TranslatingInPlaceEqualsTranslatingIntoAnotherTile) {
  const Slots src = numbered();
  const Point by{0.1f, -7.3f, 0, 9};
  Slots apart{};
  tiles::translateTile<8>(apart, src, by);
  Slots inPlace = src;
  tiles::translateTile<8>(inPlace, inPlace, by);
  for (std::size_t k = 1; k <= 8; ++k) {
    EXPECT_EQ(apart[k].x, src[k].x + by.x);
    EXPECT_EQ(apart[k].y, src[k].y + by.y);
    EXPECT_EQ(apart[k].color, src[k].color);
    EXPECT_EQ(inPlace[k].x, apart[k].x);
    EXPECT_EQ(inPlace[k].y, apart[k].y);
  }
  // Only vertices 1 to N move; the other slots keep what they held.
  EXPECT_EQ(inPlace[0].x, src[0].x);
  EXPECT_EQ(inPlace[9].y, src[9].y);
  EXPECT_EQ(apart[9].y, 0.0f);
}

}  // namespace
