// The given points and buildSceneFrom of all seventeen programs, through the
// registry: from the program's own values it stores what buildScene stores,
// n = 1 stores one copy, every given point is used, and wild points or a
// wrong count never crash.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iostream>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/registry.h"

namespace {

using tools::TilingProgram;

// Segments stored outside the lattice loop, before the first copy.
int extraSegments(const TilingProgram& p) {
  return p.name == "pentatile7" ? 6 : 0;  // its pentagon and one mirror edge
}

std::vector<Point> valuesOf(const TilingProgram& p) {
  return tiles::givenValues(p.givenPoints());
}

// What a construction stores in an emptied scene, its console words dropped.
std::vector<Segment> stored(auto build) {
  clearScene();
  tools::QuietConsole quiet;
  build();
  return Scene.segments;
}

std::vector<Segment> storedFrom(const TilingProgram& p,
                                const std::vector<Point>& given, int n) {
  return stored([&] { p.buildSceneFrom(given, n); });
}

bool sameBits(const std::vector<Segment>& a, const std::vector<Segment>& b) {
  return a.size() == b.size() &&
         std::memcmp(a.data(), b.data(), a.size() * sizeof(Segment)) == 0;
}

class EveryProgram : public ::testing::TestWithParam<TilingProgram> {};

TEST_P(EveryProgram, GivenValuesRebuildTheProgramsSceneBitForBit) {
  const TilingProgram& p = GetParam();
  const std::vector<Segment> own = stored(p.buildScene);
  const Bounds ownBounds = SceneBounds;
  ASSERT_FALSE(own.empty());
  EXPECT_TRUE(sameBits(storedFrom(p, valuesOf(p), p.latticeSize), own));
  EXPECT_EQ(std::memcmp(&SceneBounds, &ownBounds, sizeof(Bounds)), 0);
  EXPECT_TRUE(Scene.points.empty() && Scene.circles.empty() && Scene.lines.empty());
}

TEST_P(EveryProgram, SmallPatchesStoreOneCopyOrOnlyTheExtras) {
  const TilingProgram& p = GetParam();
  const std::size_t full = stored(p.buildScene).size();
  const std::size_t extra = extraSegments(p);
  const std::size_t copy = (full - extra) / (p.latticeSize * p.latticeSize);
  EXPECT_EQ(copy * p.latticeSize * p.latticeSize + extra, full);
  EXPECT_EQ(storedFrom(p, valuesOf(p), 1).size(), copy + extra);
  EXPECT_EQ(storedFrom(p, valuesOf(p), 0).size(), extra);
  EXPECT_EQ(storedFrom(p, valuesOf(p), -3).size(), extra);
}

TEST_P(EveryProgram, NamesAreUniqueAndEveryPointIsUsed) {
  const TilingProgram& p = GetParam();
  const std::vector<Segment> own = storedFrom(p, valuesOf(p), 1);
  std::set<std::string> names;
  for (std::size_t k = 0; k < p.givenPoints().size(); ++k) {
    const char* name = p.givenPoints()[k].name;
    ASSERT_NE(name, nullptr);
    EXPECT_NE(std::string(name), "");
    EXPECT_TRUE(names.insert(name).second) << name << " twice";
    std::vector<Point> moved = valuesOf(p);
    moved[k].x += 0.5f;
    moved[k].y += 0.25f;
    EXPECT_FALSE(sameBits(storedFrom(p, moved, 1), own)) << name << " is ignored";
  }
}

TEST_P(EveryProgram, AWrongCountStoresAndWritesNothing) {
  const TilingProgram& p = GetParam();
  std::vector<Point> given = valuesOf(p);
  std::ostringstream console;
  std::streambuf* saved = std::cout.rdbuf(console.rdbuf());
  for (std::size_t count : {std::size_t{0}, given.size() - 1, given.size() + 1}) {
    given.resize(count, Point{1, 2, 0, 9});
    clearScene();
    p.buildSceneFrom(given, p.latticeSize);
    EXPECT_TRUE(Scene.segments.empty()) << count << " points";
  }
  std::cout.rdbuf(saved);
  EXPECT_EQ(console.str(), "");
}

// Degenerate and non-finite point sets: the construction runs to the end
// with the same number of segments, whatever their coordinates.
TEST_P(EveryProgram, WildPointsStillStoreEveryCopy) {
  const TilingProgram& p = GetParam();
  const std::size_t count = stored(p.buildScene).size();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<Point> own = valuesOf(p);
  const std::size_t size = own.size();
  const auto each = [&](auto at) {
    std::vector<Point> points(size);
    for (std::size_t k = 0; k < size; ++k) points[k] = at(k, own[k]);
    return points;
  };
  const std::vector<std::pair<const char*, std::vector<Point>>> sets{
      {"coincident", each([](std::size_t, Point) { return Point{3, 3, 0, 9}; })},
      {"at the origin", each([](std::size_t, Point) { return Point{}; })},
      {"collinear", each([](std::size_t k, Point) { return Point{float(k), 2.0f * k, 0, 9}; })},
      {"huge", each([](std::size_t k, Point q) { return Point{q.x * 1e30f, -1e30f * k, 0, 9}; })},
      {"beyond float", each([&](std::size_t k, Point) { return Point{k % 2 ? inf : -inf, inf, 0, 9}; })},
      {"all NaN", each([&](std::size_t, Point) { return Point{nan, nan, nan, 9}; })},
      {"one NaN", each([&](std::size_t k, Point q) { return k == 0 ? Point{nan, q.y, 0, 9} : q; })},
      {"tiny", each([](std::size_t k, Point) { return Point{1e-40f * k, 1e-42f, 0, 9}; })},
  };
  for (const auto& [what, points] : sets)
    EXPECT_EQ(storedFrom(p, points, p.latticeSize).size(), count) << what;
}

INSTANTIATE_TEST_SUITE_P(Given, EveryProgram,
                         ::testing::ValuesIn(tools::tilingPrograms().begin(),
                                             tools::tilingPrograms().end()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
