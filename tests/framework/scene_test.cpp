// The scene store and its running bounds, which fix the camera framing.
#include <gtest/gtest.h>

#include "scene/scene.h"

namespace {

struct BoundsCase {
  const char* name;
  friend void PrintTo(const BoundsCase& c, std::ostream* os) { *os << c.name; }
  std::vector<Segment> segments;
  float minX, minY, maxX, maxY;
};

class SceneBoundsTest : public ::testing::TestWithParam<BoundsCase> {};

TEST_P(SceneBoundsTest, BoundsStartFixedAndOnlyWiden) {
  clearScene();
  for (const Segment& s : GetParam().segments) addSegment(9, s);
  EXPECT_EQ(SceneBounds.min.x, GetParam().minX);
  EXPECT_EQ(SceneBounds.min.y, GetParam().minY);
  EXPECT_EQ(SceneBounds.max.x, GetParam().maxX);
  EXPECT_EQ(SceneBounds.max.y, GetParam().maxY);
  EXPECT_EQ(SceneBounds.min.z, 0.0f);
  EXPECT_EQ(SceneBounds.max.color, 9);
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, SceneBoundsTest,
    ::testing::Values(
        BoundsCase{"Empty", {}, 1024, 700, 0, 0},
        BoundsCase{"AcrossTheOrigin", {{{-2, -3}, {5, 1}}}, -2, -3, 5, 1},
        BoundsCase{"BelowTheStartMinimum", {{{2, 3}, {5, 4}}}, 2, 3, 5, 4},
        BoundsCase{"BeyondTheStartMinimum",
                   {{{2000, 900}, {3000, 950}}}, 1024, 700, 3000, 950},
        BoundsCase{"WhollyNegative", {{{-5, -5}, {-1, -2}}}, -5, -5, 0, 0},
        BoundsCase{"DepthIgnored", {{{1, 1, -50}, {2, 2, 80}}}, 1, 1, 2, 2}),
    [](const auto& info) { return info.param.name; });

TEST(SceneStore, AddSegmentStoresACopyInTheGivenColour) {
  clearScene();
  const Segment caller{{0, 0, 0, 4}, {1, 1, 0, 5}, 9};
  addSegment(2, caller);
  ASSERT_EQ(Scene.segments.size(), 1u);
  EXPECT_EQ(Scene.segments[0].color, 2);
  EXPECT_EQ(Scene.segments[0].a.color, 4);
  EXPECT_EQ(caller.color, 9);
  EXPECT_TRUE(Scene.points.empty() && Scene.circles.empty() && Scene.lines.empty());
}

TEST(SceneStore, SegmentsKeepTheirOrderAndDuplicates) {
  clearScene();
  const Segment s{{0, 0}, {1, 0}};
  addSegment(0, s);
  addSegment(1, s);
  ASSERT_EQ(Scene.segments.size(), 2u);
  EXPECT_EQ(Scene.segments[0].color, 0);
  EXPECT_EQ(Scene.segments[1].color, 1);
}

TEST(Palette, TenFixedColoursWithBlackLast) {
  EXPECT_EQ(palette[4].green, 0.5f);
  EXPECT_EQ(palette[7].red, 0.5f);
  EXPECT_EQ(palette[7].blue, 0.5f);
  EXPECT_EQ(palette[8].red + palette[8].green + palette[8].blue, 3.0f);
  EXPECT_EQ(palette[9].red + palette[9].green + palette[9].blue, 0.0f);
  EXPECT_EQ(Point{}.color, 9);
  EXPECT_EQ(Segment{}.color, 9);
}

}  // namespace
