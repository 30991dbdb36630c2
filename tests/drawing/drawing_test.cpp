// A tiling's stored drawing, written as segments text and read back, opens
// as a tiling of the same group with the same tiles per period; its link
// carries it whole and short; drawings that are no periodic tiling are
// refused in words.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "faces/periods.h"
#include "shape/drawing.h"
#include "shape/link.h"
#include "shape/opened.h"
#include "shape/segments_text.h"
#include "symmetry/identity.h"

namespace {

std::string segmentsText(const tools::TilingProgram& tiling) {
  std::ostringstream out;
  shape::writeSegments(out, tools::builtScene(tiling));
  return out.str();
}

shape::Learned learned(const std::string& text, const std::string& name = "drawing") {
  std::istringstream in(text);
  return shape::readDrawing(in, name);
}

int facesPerPeriod(const faces::Analysis& a) {
  int n = 0;
  if (const auto l = faces::findPeriods(a))
    for (const auto& [sides, count] : faces::countPerPeriod(a, *l).faces) n += count;
  return n;
}

// What a tiling is: the group and the tiles per period of the drawing it
// stores, its verdict, and whether the explorer finds it a family to move in.
struct Nature {
  std::string group, verdict;
  int perPeriod = 0;
  bool family = false;
};

Nature natureOf(const tools::TilingProgram& tiling) {
  const faces::Analysis stored = faces::analyse(faces::sceneSegments(tools::builtScene(tiling)));
  shape::Opened o;
  shape::open(o, tiling);
  return {symmetry::groupName(symmetry::identify(stored)), stored.verdict(), facesPerPeriod(stored),
          o.family.family.has_value()};
}

Nature natureOfDrawing(const tools::TilingProgram& tiling) {
  shape::Learned l = learned(segmentsText(tiling), std::string(tiling.name));
  EXPECT_TRUE(l.drawing) << l.problem;
  if (!l.drawing) return {};
  return natureOf(shape::holdDrawing(std::move(*l.drawing)));
}

std::vector<tools::TilingProgram> someTilings() {
  std::vector<tools::TilingProgram> some;
  for (const char* name : {"deltatile", "quadtile", "pentatile1", "pentatile3", "mixtile2", "mixtile5",
                           "pentagon-type-1", "pentagon-type-15", "archimedean-4.8.8", "archimedean-3.4.6.4"})
    if (const tools::TilingProgram* t = tools::findTilingProgram(name)) some.push_back(*t);
  return some;
}

class EveryDrawnTiling : public testing::TestWithParam<tools::TilingProgram> {};

TEST_P(EveryDrawnTiling, ItsDrawingReadBackKeepsItsGroupAndTilesPerPeriod) {
  const Nature named = natureOf(GetParam()), drawn = natureOfDrawing(GetParam());
  EXPECT_EQ(drawn.group, named.group);
  EXPECT_EQ(drawn.verdict, named.verdict);
  EXPECT_EQ(drawn.perPeriod, named.perPeriod);
  EXPECT_GT(drawn.perPeriod, 0);
  // A program's unit may be smaller than its whole tiles, and its block
  // then spans more periods: an atlas entry's is the drawing's.
  if (tools::isAtlasTiling(GetParam())) {
    EXPECT_EQ(drawn.family, named.family);
  }
}

TEST_P(EveryDrawnTiling, ItsLinkReadBackIsTheSameDrawingToTheBit) {
  shape::Learned l = learned(segmentsText(GetParam()), std::string(GetParam().name));
  ASSERT_TRUE(l.drawing) << l.problem;
  shape::Opened o;
  shape::open(o, shape::holdDrawing(*l.drawing));
  const std::string link = shape::linkOf(o);
  const shape::LinkRequest r = shape::readLink(link);
  ASSERT_TRUE(r.problems.empty()) << r.problems.front();
  const shape::Drawing* back = shape::drawingOf(*r.program);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->name, GetParam().name);
  EXPECT_EQ(back->unit.u.x, l.drawing->unit.u.x);
  EXPECT_EQ(back->unit.v.y, l.drawing->unit.v.y);
  ASSERT_EQ(back->unit.unit.size(), l.drawing->unit.unit.size());
  for (std::size_t k = 0; k < back->unit.unit.size(); ++k) {
    EXPECT_EQ(back->unit.unit[k].a.x, l.drawing->unit.unit[k].a.x);
    EXPECT_EQ(back->unit.unit[k].b.y, l.drawing->unit.unit[k].b.y);
  }
  // The drawing's part of the link is the same again; the shape's places
  // may differ by float noise.
  shape::Opened again;
  EXPECT_EQ(shape::openLink(again, link, "test", std::cerr), 0);
  const std::string reopened = shape::linkOf(again);
  EXPECT_EQ(reopened.substr(0, reopened.find("&keep=")), link.substr(0, link.find("&keep=")));
}

INSTANTIATE_TEST_SUITE_P(Tilings, EveryDrawnTiling, testing::ValuesIn(someTilings()));

TEST(DrawingLink, EveryAtlasEntryOpenedFromItsDrawingHasALinkUnder2000Characters) {
  for (const tools::TilingProgram& t : tools::atlasTilings()) {
    shape::Learned l = learned(segmentsText(t), std::string(t.name));
    ASSERT_TRUE(l.drawing) << t.name << ": " << l.problem;
    shape::Opened o;
    shape::open(o, shape::holdDrawing(std::move(*l.drawing)));
    const std::string link = shape::linkOf(o);
    EXPECT_LT(link.size(), 2000u) << t.name;
    std::cout << t.name << ": " << link.size() << " characters, the drawing "
              << std::min(link.find("&keep="), link.size()) << "\n";
  }
}

TEST(DrawingLink, AMalformedDrawingIsRefusedInWords) {
  const std::string good = "explore.html?drawing=d&periods=1,0;0,1&points=0,0;1,0;1,1;0,1&faces=0.1.2.3";
  EXPECT_TRUE(shape::readLink(good).problems.empty());
  for (const std::string bad :
       {"explore.html?drawing=d&periods=1,0&points=0,0;1,0;1,1;0,1&faces=0.1.2.3",
        "explore.html?drawing=d&periods=1,0;0,1&points=0,0;1,x;1,1;0,1&faces=0.1.2.3",
        "explore.html?drawing=d&periods=1,0;0,1&points=0,0;1,0;1,1;0,1&faces=0.1.2.9",
        "explore.html?drawing=d&periods=1,0;0,1&points=0,0;1,0;1,1;0,1&faces=0.1",
        "explore.html?drawing=d&periods=1,0;2,0&points=0,0;1,0;1,1;0,1&faces=0.1.2.3",
        "explore.html?drawing=d&periods=1,0;0,1&points=0,0;2,0;0,1&faces=0.1.2",
        "explore.html?drawing=d&periods=1e39,0;0,1&points=0,0;1,0;1,1;0,1&faces=0.1.2.3",
        "explore.html?drawing=", "explore.html?drawing=d&faces=%00"}) {
    const shape::LinkRequest r = shape::readLink(bad);
    ASSERT_FALSE(r.problems.empty()) << bad;
    EXPECT_NE(r.problems.front().find("drawing cannot be opened"), std::string::npos) << r.problems.front();
  }
}

// --- Drawings that are no periodic tiling.

TEST(DrawingRefused, WhatIsNoPeriodicTilingIsSaidInTheAnalysisWords) {
  const struct {
    std::string text, words;
  } cases[] = {
      {"", "no segments"},
      {"# nothing\n\n", "no segments"},
      {"0 0 1 1\n", "the segments close no face"},
      {"0 0 1 0\n1 0 0 1\n0 1 0 0\n", "no two independent periods"},
      {"0 0 1\n", "line 1: expected four numbers x1 y1 x2 y2"},
      {"0 0 1 nan\n", "line 1: a number that is not finite"},
      {"0 0 1e39 0\n", "a coordinate beyond the range of a float"},
      {"0 0 1 0\n1 0 0 1\n0 1 0 0\n0 0 -1 -1\n", "does not tile cleanly: 1 dangling edge"},
      {"0 0 2 0\n2 0 2 2\n2 2 0 2\n0 2 0 0\n1 1 3 1\n3 1 3 3\n3 3 1 3\n1 3 1 1\n", "2 crossings"},
  };
  for (const auto& c : cases) {
    const shape::Learned l = learned(c.text);
    EXPECT_FALSE(l.drawing) << c.text;
    EXPECT_NE(l.problem.find(c.words), std::string::npos) << c.text << " -> " << l.problem;
  }
}

TEST(DrawingRefused, RandomSegmentsAndHugeCoordinatesEndInWords) {
  std::mt19937 random(7);
  for (const double scale : {1.0, 1e6, 1e30}) {
    std::uniform_real_distribution<double> at(-scale, scale);
    std::ostringstream text;
    for (int k = 0; k < 200; ++k) text << at(random) << ' ' << at(random) << ' ' << at(random) << ' ' << at(random) << '\n';
    const shape::Learned l = learned(text.str());
    EXPECT_FALSE(l.drawing) << scale;
    EXPECT_FALSE(l.problem.empty());
  }
}

TEST(DrawingRefused, TooManySegmentsAreRefusedBeforeTheAnalysis) {
  std::vector<faces::Segment2> many(shape::mostSegments + 1, {{0, 0}, {1, 0}});
  const shape::Learned l = shape::learnDrawing(many, "many");
  EXPECT_EQ(l.problem, "too many segments: " + std::to_string(shape::mostSegments + 1) + "; at most " +
                           std::to_string(shape::mostSegments));
}

// Whole periods in an L, three periods thick and ten long: the middle of
// the drawing's box lies outside it, yet one whole period is found inside.
TEST(DrawingLearned, ARaggedDrawingStillYieldsOnePeriodFromInside) {
  const tools::TilingProgram& tiling = *tools::findTilingProgram("pentagon-type-1");
  shape::Learned whole = learned(segmentsText(tiling));
  ASSERT_TRUE(whole.drawing) << whole.problem;
  SceneStore ell;
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 10; ++j)
      for (const Segment& s : whole.drawing->unit.unit)
        if (i < 3 || j < 3)
          ell.segments.push_back(tools::copyOf(whole.drawing->unit, s, i, j));
  std::ostringstream text;
  shape::writeSegments(text, ell);
  const shape::Learned l = learned(text.str());
  ASSERT_TRUE(l.drawing) << l.problem;
  EXPECT_EQ(natureOf(shape::holdDrawing(*l.drawing)).perPeriod, natureOf(tiling).perPeriod);
}

// Unit squares with a diagonal in every 41st square each way: a period of
// 41 x 41 squares, too many tiles to open.
TEST(DrawingRefused, APeriodOfTooManyTilesIsRefused) {
  std::vector<faces::Segment2> grid;
  for (int i = 0; i < 100; ++i)
    for (int j = 0; j < 100; ++j) {
      const double x = i, y = j;
      grid.insert(grid.end(), {{{x, y}, {x + 1, y}}, {{x + 1, y}, {x + 1, y + 1}}, {{x + 1, y + 1}, {x, y + 1}},
                               {{x, y + 1}, {x, y}}});
      if (i % 41 == 0 && j % 41 == 0) grid.push_back({{x, y}, {x + 1, y + 1}});
    }
  const shape::Learned l = shape::learnDrawing(grid, "marked");
  EXPECT_FALSE(l.drawing);
  EXPECT_EQ(l.problem, "one period holds 1682 tiles; at most " + std::to_string(shape::mostSides / 3));
}

// Injected faults: one edge left out of a stored drawing, and a period a
// little off, are caught.
TEST(DrawingFaults, ADrawingMissingOneEdgeInItsMiddleIsNoTiling) {
  const tools::TilingProgram& tiling = *tools::findTilingProgram("archimedean-4.8.8");
  // Each tile stores its sides: both copies of the edge go.
  SceneStore scene = tools::builtScene(tiling);
  double cx = 0, cy = 0;
  for (const Segment& s : scene.segments) cx += s.a.x + s.b.x, cy += s.a.y + s.b.y;
  cx /= 2.0 * double(scene.segments.size()), cy /= 2.0 * double(scene.segments.size());
  auto offMiddle = [&](const Segment& s) { return std::hypot((s.a.x + s.b.x) / 2 - cx, (s.a.y + s.b.y) / 2 - cy); };
  const Segment gone = *std::min_element(scene.segments.begin(), scene.segments.end(),
                                         [&](const Segment& p, const Segment& q) { return offMiddle(p) < offMiddle(q); });
  auto at = [](Point p, Point q) { return std::hypot(p.x - q.x, p.y - q.y) < 1e-4; };
  std::erase_if(scene.segments, [&](const Segment& s) {
    return (at(s.a, gone.a) && at(s.b, gone.b)) || (at(s.a, gone.b) && at(s.b, gone.a));
  });
  ASSERT_LT(scene.segments.size(), tools::builtScene(tiling).segments.size());
  std::ostringstream text;
  shape::writeSegments(text, scene);
  const shape::Learned l = learned(text.str());
  EXPECT_FALSE(l.drawing);
  EXPECT_NE(l.problem.find("does not tile cleanly"), std::string::npos) << l.problem;
}

TEST(DrawingFaults, AUnitWhosePeriodIsALittleOffIsRefused) {
  shape::Learned l = learned(segmentsText(*tools::findTilingProgram("quadtile")));
  ASSERT_TRUE(l.drawing) << l.problem;
  EXPECT_EQ(shape::checkDrawing(*l.drawing), "");
  shape::Drawing off = *l.drawing;
  off.unit.u.x *= 1.05f;
  EXPECT_NE(shape::checkDrawing(off), "");
  shape::Drawing none = *l.drawing;
  none.unit.unit.clear();
  EXPECT_EQ(shape::checkDrawing(none), "no tiles in one period");
}

TEST(DrawingName, IsTheFilesBaseNameOrDrawing) {
  EXPECT_EQ(shape::drawingName("/tmp/grid.txt"), "grid");
  EXPECT_EQ(shape::drawingName("my tiling.segments"), "my_tiling.segments");
  EXPECT_EQ(shape::drawingName("-"), "drawing");
  EXPECT_EQ(shape::drawingName(""), "drawing");
  EXPECT_EQ(shape::drawingName("a/&&&"), "drawing");
}

}  // namespace
