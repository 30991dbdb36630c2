// The stored order of quadtile's patch, and what copyTile leaves alone.
#include <gtest/gtest.h>

#include "programs/quadtile/quadtile.h"
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

}  // namespace
