// Each of the seventeen is one unit repeated by two translations: the patch
// the program stores is, segment for segment, its stored-once segments and
// then the unit moved by i v + j u, for its own points and for moved ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/periodic.h"
#include "tools/registry.h"

namespace {

using tools::Periodic;
using tools::TilingProgram;

// Float noise grows with the size of a coordinate and with the number of
// translations a copy went through.
bool same(Point p, Point q) {
  const double tolerance = 2e-5 * std::max({1.0, double(std::abs(p.x)), double(std::abs(p.y))});
  return std::abs(p.x - q.x) <= tolerance && std::abs(p.y - q.y) <= tolerance;
}

// The first segment where the two drawings part, or "" when none does.
std::string firstDifference(const std::vector<Segment>& stored, const std::vector<Segment>& block) {
  if (stored.size() != block.size())
    return std::to_string(stored.size()) + " segments stored, " + std::to_string(block.size()) +
           " in the block";
  for (std::size_t k = 0; k < stored.size(); ++k)
    if (!same(stored[k].a, block[k].a) || !same(stored[k].b, block[k].b) ||
        stored[k].color != block[k].color)
      return "segment " + std::to_string(k) + " differs";
  return "";
}

// The program's own points, each moved by a different small step: a shape
// the construction still accepts, but not the one it was written for.
std::vector<Point> movedPoints(const TilingProgram& program) {
  std::vector<Point> points = tiles::givenValues(program.givenPoints());
  for (std::size_t k = 0; k < points.size(); ++k) {
    points[k].x += float(0.03 * double(k + 1));
    points[k].y -= float(0.02 * double(k % 3));
  }
  return points;
}

class EveryTiling : public ::testing::TestWithParam<TilingProgram> {};

TEST_P(EveryTiling, ItsOwnPatchIsTheUnitRepeatedByTwoPeriods) {
  const TilingProgram& program = GetParam();
  const Periodic periodic = tools::periodicOf(program);
  const std::vector<Segment> stored = tools::builtScene(program).segments;
  EXPECT_EQ(firstDifference(stored, tools::periodicBlock(periodic, 0, program.latticeSize - 1)), "");
  // The two periods are independent: the copies fill the plane, not a strip.
  EXPECT_GT(std::abs(periodic.u.x * periodic.v.y - periodic.u.y * periodic.v.x), 1e-3);
}

TEST_P(EveryTiling, AMovedShapeIsStillTheUnitRepeatedByTwoPeriods) {
  const TilingProgram& program = GetParam();
  const std::vector<Point> points = movedPoints(program);
  const Periodic periodic = tools::periodicOf(program, points);
  const std::vector<Segment> stored = tools::builtScene(program, points, 4).segments;
  EXPECT_EQ(firstDifference(stored, tools::periodicBlock(periodic, 0, 3)), "");
}

INSTANTIATE_TEST_SUITE_P(Seventeen, EveryTiling, ::testing::ValuesIn(tools::tilingPrograms()),
                         [](const auto& info) { return std::string(info.param.name); });

// The comparison is sharp enough to matter: a period off by a thousandth of
// a unit, or one copy missing, no longer gives the stored patch.
TEST(PeriodicBlock, APeriodSlightlyOffOrACopyMissingIsNoLongerThePatch) {
  const TilingProgram& program = *tools::findTilingProgram("pentatile8");
  const std::vector<Segment> stored = tools::builtScene(program).segments;
  Periodic off = tools::periodicOf(program);
  off.v.x += 1e-3;
  EXPECT_NE(firstDifference(stored, tools::periodicBlock(off, 0, program.latticeSize - 1)), "");
  std::vector<Segment> holed = tools::periodicBlock(tools::periodicOf(program), 0, program.latticeSize - 1);
  holed.pop_back();
  EXPECT_NE(firstDifference(stored, holed), "");
}

// pentatile7 stores six segments while it builds its tile, before any copy;
// every other program stores copies only.
TEST(PeriodicBlock, OnlyPentatile7StoresSegmentsOnce) {
  for (const TilingProgram& program : tools::tilingPrograms())
    EXPECT_EQ(tools::periodicOf(program).once.size(), program.name == "pentatile7" ? 6u : 0u)
        << program.name;
}

}  // namespace
