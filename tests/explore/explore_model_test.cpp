// The explorer's model for each of the seventeen programs: handles on the
// drawing, the program's own construction drawn, degenerate shapes caught
// and recovered from, and reshaped tilings judged by the face analysis.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <regex>
#include <string>

#include "explore/explorer.h"
#include "explore/link.h"
#include "explore/triangles.h"
#include "faces/faces.h"

namespace {

using explore::Explorer;

// In construction mode: the given points are the handles.
Explorer opened(const std::string& name) {
  Explorer e;
  explore::load(e, *tools::findTilingProgram(name), explore::Mode::construction);
  return e;
}

double distanceToSegment(Point p, const Segment& s) {
  const double ex = double(s.b.x) - s.a.x, ey = double(s.b.y) - s.a.y;
  const double t = std::clamp(((p.x - s.a.x) * ex + (p.y - s.a.y) * ey) / (ex * ex + ey * ey), 0.0, 1.0);
  return std::hypot(p.x - (s.a.x + t * ex), p.y - (s.a.y + t * ey));
}

bool finite(const SceneStore& scene) {
  for (const Segment& s : scene.segments)
    for (const Point& p : {s.a, s.b})
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
  return true;
}

class EveryProgram : public ::testing::TestWithParam<tools::TilingProgram> {
 protected:
  Explorer e = opened(std::string(GetParam().name));
};

// The explorer's patch says what the program's own scene says: clean, or
// (pentatile2, whose own drawing crosses itself) not.
TEST_P(EveryProgram, OwnShapeIsJudgedAsTheProgramsOwnScene) {
  clearScene();
  {
    const tools::QuietConsole quiet;
    GetParam().buildScene();
  }
  const faces::Analysis whole = faces::analyse(faces::sceneSegments(Scene));
  clearScene();
  EXPECT_EQ(e.feedback.status.clean, whole.verdict() == "tiles without gaps or overlaps")
      << e.feedback.status.line();
  EXPECT_FALSE(e.analysis.faces.empty());
}

// Every handle sits on a drawn segment (some run on through vertices), and
// the block analysed is the program's own construction from the same
// points: what it stores once where it stores it, its copies moved as a
// whole so that the middle one lies on the points.
TEST_P(EveryProgram, HandlesSitOnTheDrawingOfTheProgramsOwnConstruction) {
  for (const Point& p : e.points) {
    bool onDrawing = false;
    for (const Segment& s : e.placed.segments) onDrawing = onDrawing || distanceToSegment(p, s) < 1e-4;
    EXPECT_TRUE(onDrawing) << "(" << p.x << ", " << p.y << ")";
  }
  const std::vector<Segment> built = tools::builtScene(GetParam(), e.points, e.layout.block).segments;
  ASSERT_EQ(built.size(), e.placed.segments.size());
  const std::size_t once = e.periodic.once.size();
  for (std::size_t k = 0; k < once; ++k) {
    EXPECT_NEAR(e.placed.segments[k].a.x, built[k].a.x, 1e-5) << k;
    EXPECT_NEAR(e.placed.segments[k].b.y, built[k].b.y, 1e-5) << k;
  }
  const double dx = e.placed.segments[once].a.x - built[once].a.x;
  const double dy = e.placed.segments[once].a.y - built[once].a.y;
  for (std::size_t k = once; k < built.size(); ++k) {
    EXPECT_NEAR(e.placed.segments[k].b.x - built[k].b.x, dx, 1e-4) << k;
    EXPECT_NEAR(e.placed.segments[k].b.y - built[k].b.y, dy, 1e-4) << k;
  }
}

// The faces the endless view repeats are one period: together exactly the
// area of one lattice cell, for the own shape and for a reshaped one.
TEST_P(EveryProgram, TheFacesRepeatedFillExactlyOnePeriod) {
  for (int reshaped = 0; reshaped < 2; ++reshaped) {
    if (reshaped) {
      const std::size_t k = e.points.size() - 1;
      explore::movePoint(e, k, Point{e.points[k].x + float(0.03 * e.layout.size), e.points[k].y, 0, 9});
    }
    ASSERT_FALSE(e.analysis.faces.empty()) << e.feedback.status.line();
    double area = 0;
    for (std::size_t k : e.periodFaces) area += e.analysis.faces[k].area;
    const tools::Step u = e.periodic.u, v = e.periodic.v;
    EXPECT_NEAR(area, std::abs(u.x * v.y - u.y * v.x), 1e-3 * area) << "reshaped " << reshaped;
  }
}

// Two points dragged onto each other are named, nothing is analysed, and
// the tiling comes back exactly when they move apart again.
TEST_P(EveryProgram, CoincidingPointsAreNamedAndTheTilingComesBack) {
  const std::string before = e.feedback.status.line();
  const auto names = GetParam().givenPoints();
  const std::size_t moved = e.points.size() - 1;  // never a pinned first point
  const Point home = e.points[moved];
  ASSERT_TRUE(explore::movePoint(e, moved, e.points[moved - 1]));
  EXPECT_EQ(e.feedback.status.verdict, std::string("degenerate: ") + names[moved - 1].name +
                                           " and " + names[moved].name + " coincide");
  EXPECT_TRUE(e.analysis.faces.empty());
  EXPECT_TRUE(finite(e.placed));
  ASSERT_TRUE(explore::movePoint(e, moved, home));
  EXPECT_EQ(e.feedback.status.line(), before);
}

// A point thrown anywhere, infinity and NaN included, leaves only finite
// points and a finite drawing, and the status says what happened.
TEST_P(EveryProgram, PointsThrownFarAwayStayFiniteAndAreReported) {
  const std::size_t moved = e.points.size() - 1;
  constexpr float inf = std::numeric_limits<float>::infinity();
  for (Point to : {Point{1e30f, -1e30f, 0, 9}, Point{-inf, inf, 0, 9}, Point{3e3f, 0, 0, 9}}) {
    explore::movePoint(e, moved, to);
    EXPECT_TRUE(std::isfinite(e.points[moved].x) && std::isfinite(e.points[moved].y));
    EXPECT_TRUE(finite(e.placed));
    EXPECT_NE(e.feedback.status.verdict.find("thrown too far"), std::string::npos)
        << e.feedback.status.line();
  }
  const Point before = e.points[moved];
  EXPECT_FALSE(explore::movePoint(e, moved, Point{std::nanf(""), 0, 0, 9}));
  EXPECT_EQ(e.points[moved].x, before.x);
  explore::resetPoints(e);
  const std::vector<Point> own = tiles::givenValues(GetParam().givenPoints());
  for (std::size_t k = 0; k < own.size(); ++k) {
    EXPECT_EQ(e.points[k].x, own[k].x);
    EXPECT_EQ(e.points[k].y, own[k].y);
  }
}

INSTANTIATE_TEST_SUITE_P(Programs, EveryProgram,
                         ::testing::ValuesIn(tools::tilingPrograms().begin(),
                                             tools::tilingPrograms().end()),
                         [](const auto& info) { return std::string(info.param.name); });

// Any triangle and any quadrilateral tile the plane: every shape that is
// not degenerate keeps the verdict, convex or not.
TEST(Reshaped, AnyTriangleOrQuadrilateralTilesUnlessDegenerate) {
  std::mt19937 random(7);
  for (const char* name : {"deltatile", "quadtile"}) {
    Explorer e = opened(name);
    std::uniform_real_distribution<float> x(float(e.layout.centre.x - 6),
                                            float(e.layout.centre.x + 6));
    std::uniform_real_distribution<float> y(float(e.layout.centre.y - 6),
                                            float(e.layout.centre.y + 6));
    int judged = 0;
    for (int step = 0; step < 40; ++step) {
      explore::movePoint(e, std::size_t(step) % e.points.size(), Point{x(random), y(random), 0, 9});
      const std::string& verdict = e.feedback.status.verdict;
      if (verdict.rfind("degenerate: ", 0) == 0) continue;
      ++judged;
      EXPECT_EQ(verdict, "tiles without gaps or overlaps") << name << ": " << explore::pointsLine(e);
    }
    EXPECT_GT(judged, 10) << name;
  }
}

// Injected faults in the given shape, each named in the status.
TEST(Reshaped, CollapsedAndSelfCrossingShapesAreNamed) {
  Explorer triangle = opened("deltatile");  // P1 (2, 1), P3 (5, 3)
  explore::movePoint(triangle, 1, Point{3.5f, 2, 0, 9});
  EXPECT_EQ(triangle.feedback.status.verdict, "degenerate: P1, P2 and P3 are collinear");
  // Its copies lie along one line and tile no plane, but stay on the screen.
  EXPECT_FALSE(triangle.placed.segments.empty());

  Explorer quadrilateral = opened("quadtile");  // P1 (2, 1) P2 (6, 0) P3 (5, 4) P4 (3, 6)
  explore::movePoint(quadrilateral, 2, Point{1, 5, 0, 9});
  EXPECT_EQ(quadrilateral.feedback.status.verdict, "degenerate: sides P2-P3 and P4-P1 cross");

  Explorer pentagon = opened("pentatile4");
  explore::movePoint(pentagon, 2, Point{0, 4, 0, 9});
  EXPECT_EQ(pentagon.feedback.status.verdict, "degenerate: sides B-C and E-A cross");
  explore::resetPoints(pentagon);
  EXPECT_TRUE(pentagon.feedback.status.clean);
}

// pentatile1's copies of a deformed pentagon leave hexagonal holes while
// making a clean subdivision: the explorer sets the census against the own
// shape's, says so, and shows the holes red.
TEST(Reshaped, GapsWithoutCrossingsAreFoundAgainstTheOwnShape) {
  Explorer e = opened("pentatile1");
  const Point d = e.points[3];
  explore::movePoint(e, 3, Point{d.x + 1.5f, d.y - 0.7f, 0, 9});
  EXPECT_EQ(e.analysis.verdict(), "tiles without gaps or overlaps");
  EXPECT_FALSE(e.feedback.status.clean);
  EXPECT_EQ(e.feedback.status.verdict.rfind("gaps or overlaps: ", 0), 0u)
      << e.feedback.status.verdict;
  int red = 0;
  for (std::size_t k = 0; k < e.analysis.faces.size(); ++k)
    if (e.feedback.flagged[k]) {
      ++red;
      EXPECT_EQ(e.analysis.faces[k].corners.size(), 6u);
      faces::Face problem = e.analysis.faces[k];
      problem.problem = true;
      EXPECT_EQ(e.fills[k].colour.r, faces::fillOf(e.analysis, problem).r);
    }
  EXPECT_EQ(red, 20);
}

// Every copy of the unit that reaches into a view is among the copies the
// view draws, whatever the view's place, turn and size, and whatever the
// lattice's slant; cutting the range down keeps its middle.
TEST(Cells, EveryCopyReachingIntoTheViewIsDrawn) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> unit(-1, 1);
  const std::vector<Segment> tile{{{0, 0, 0, 9}, {1.5f, 0.2f, 0, 9}, 9},
                                  {{1.5f, 0.2f, 0, 9}, {0.3f, 1.1f, 0, 9}, 9}};
  for (int trial = 0; trial < 200; ++trial) {
    const explore::Vec u{1 + unit(random), unit(random)}, v{unit(random), 1 + unit(random)};
    if (!explore::spanPlane(u, v)) continue;
    const explore::Vec middle{20 * unit(random), 20 * unit(random)};
    const double turn = 3 * unit(random), half = 1 + 4 * std::abs(unit(random));
    const double c = std::cos(turn), s = std::sin(turn);
    std::vector<explore::Vec> corners;
    for (auto [x, y] : {std::pair{-1.4, -1.0}, {1.4, -1.0}, {1.4, 1.0}, {-1.4, 1.0}})
      corners.push_back({middle.x + half * (c * x - s * y), middle.y + half * (s * x + c * y)});
    const explore::CellRange r =
        explore::cellsMeeting(corners, u, v, explore::extentOf(tile, u, v));
    // Each copy is sampled along its segments; a sample inside the view
    // rectangle (in its own turned frame) must belong to a drawn copy.
    for (int i = r.i0 - 3; i <= r.i1 + 3; ++i)
      for (int j = r.j0 - 3; j <= r.j1 + 3; ++j)
        for (const Segment& seg : tile)
          for (double t = 0; t <= 1; t += 0.125) {
            const double x = seg.a.x + t * (seg.b.x - seg.a.x) + i * v.x + j * u.x - middle.x;
            const double y = seg.a.y + t * (seg.b.y - seg.a.y) + i * v.y + j * u.y - middle.y;
            const double along = (c * x + s * y) / half, across = (-s * x + c * y) / half;
            if (std::abs(along) < 1.4 && std::abs(across) < 1.0) {
              EXPECT_TRUE(i >= r.i0 && i <= r.i1 && j >= r.j0 && j <= r.j1)
                  << "copy " << i << ", " << j << " in trial " << trial;
            }
          }
    const explore::CellRange cut = explore::atMost(r, 7);
    EXPECT_LE(cut.count(), 7);
    EXPECT_GE(cut.count(), std::min(r.count(), 4LL));
    const int mi = (r.i0 + r.i1) / 2, mj = (r.j0 + r.j1) / 2;
    EXPECT_TRUE(mi >= cut.i0 && mi <= cut.i1 && mj >= cut.j0 && mj <= cut.j1);
  }
  // Periods along one line span no plane and give no copies at all.
  const explore::Vec u{1, 0}, v{2, 1e-9};
  EXPECT_EQ(explore::cellsMeeting(std::vector<explore::Vec>{{0, 0}, {1, 1}}, u, v, {}).count(), 0);
}

// The group each tiling opens in, and whether with its tiles kept: the
// tiles are kept wherever a class of them spans several orbits, in the
// largest group that leaves something to move with them kept (pentatile5's
// cmm and cm do not, mixtile6's p3m1 does only with its triangles apart).
struct Opening {
  const char* tiling;
  const char* group;
  bool tilesKept = false;
};
constexpr Opening openings[] = {
    {"deltatile", "p2"},        {"quadtile", "p2"},          {"pentatile1", "p2"}, {"pentatile2", "p2"},
    {"pentatile3", "p3"},       {"pentatile4", "p4"},        {"pentatile5", "p2", true},
    {"pentatile6", "p2", true}, {"pentatile7", "pgg", true}, {"pentatile8", "p6"}, {"mixtile1", "p6m"},
    {"mixtile2", "p1", true},   {"mixtile3", "p6m"},         {"mixtile4", "p6m"},  {"mixtile5", "p4m"},
    {"mixtile6", "p31m"},       {"mixtile7", "cmm"},
};

void PrintTo(const Opening& o, std::ostream* out) { *out << o.tiling; }

class Opened : public ::testing::TestWithParam<Opening> {};

// Every tiling opens with at least one degree of freedom, its tiles kept
// where the table says; the status says why when the group is not the
// drawing's own, and only then; the next group key still reaches every
// group on offer, the own one too, and coming back to the opening group
// says why again.
TEST_P(Opened, InTheLargestGroupThatLeavesFreedom) {
  Explorer e;
  explore::load(e, *tools::findTilingProgram(GetParam().tiling));
  const std::string want = GetParam().group;
  ASSERT_TRUE(explore::inSymmetryMode(e)) << e.family.problem;
  const family::Family& f = *e.family.family;
  EXPECT_EQ(f.keep.name, want);
  EXPECT_GE(shape::freedomNow(e), 1);
  EXPECT_EQ(e.family.tiles.has_value(), GetParam().tilesKept);
  EXPECT_EQ(e.feedback.status.identity.find("tiles kept congruent") != std::string::npos, GetParam().tilesKept)
      << e.feedback.status.identity;
  const std::string own = e.family.offer.front().name;
  const std::string why = "nothing to move";
  const auto says = [&](const std::string& text) { return e.feedback.status.identity.find(text) != std::string::npos; };
  EXPECT_EQ(says("; " + own + " leave") || says("; " + own + ", "), own != want) << e.feedback.status.identity;
  EXPECT_EQ(says(why), own != want) << e.feedback.status.identity;
  std::vector<std::string> reached;
  for (std::size_t k = 0; k < e.family.offer.size(); ++k) {
    ASSERT_TRUE(explore::keepNext(e));
    reached.push_back(e.family.family->keep.name);
    if (reached.back() != want) {
      EXPECT_FALSE(says("nothing to move"));
    }
  }
  std::sort(reached.begin(), reached.end());
  std::vector<std::string> offered;
  for (const family::KeptGroup& g : e.family.offer) offered.push_back(g.name);
  std::sort(offered.begin(), offered.end());
  EXPECT_EQ(reached, offered);
  EXPECT_EQ(e.family.family->keep.name, want);
  EXPECT_EQ(says(why), own != want);
}

INSTANTIATE_TEST_SUITE_P(Seventeen, Opened, testing::ValuesIn(openings),
                         [](const auto& info) { return std::string(info.param.tiling); });

TEST(Opened, TheTableHoldsEveryTiling) {
  std::vector<std::string> names, tabled;
  for (const tools::TilingProgram& p : tools::tilingPrograms()) names.emplace_back(p.name);
  for (const Opening& o : openings) tabled.emplace_back(o.tiling);
  std::sort(names.begin(), names.end());
  std::sort(tabled.begin(), tabled.end());
  EXPECT_EQ(tabled, names);
}

// The fills cover each face exactly, concave ones included.
TEST(Fills, TrianglesCoverTheFaceArea) {
  const std::vector<faces::Vec2> arrow{{0, 0}, {4, 0}, {4, 4}, {2, 1}, {0, 4}};
  std::vector<faces::Vec2> triangles;
  explore::triangulate(arrow, triangles);
  ASSERT_EQ(triangles.size(), 9u);
  double area = 0;
  for (std::size_t k = 0; k < triangles.size(); k += 3) {
    const faces::Vec2 a = triangles[k], b = triangles[k + 1], c = triangles[k + 2];
    const double twice = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    EXPECT_GT(twice, 0);
    area += twice / 2;
  }
  EXPECT_NEAR(area, 16 - 6, 1e-12);
}

}  // namespace

namespace {

// The pentagon tilings whose one tile lies in several orbits of their
// group: with the tiles kept, drags in the explorer leave one class of
// tile, the status says so, and the link carries it; without, the same
// drags split the tile.
class KeptTiles : public ::testing::TestWithParam<const char*> {};

std::size_t classesAfterDrags(Explorer& e, unsigned seed) {
  std::mt19937 random(seed);
  std::normal_distribution<double> step(0, 0.03 * e.layout.size);
  for (int round = 0; round < 3; ++round) {
    const std::vector<explore::Handle> handles = explore::handlesOf(e);
    for (std::size_t k = 0; k < handles.size(); ++k)
      if (!handles[k].fixed && handles[k].kind != explore::Handle::Kind::bend)
        explore::movePoint(e, k, Point{float(handles[k].at.x + step(random)), float(handles[k].at.y + step(random)), 0, 9});
  }
  return e.analysis.classes.size();
}

TEST_P(KeptTiles, DragsKeepOneTileAndTheLinkSaysSo) {
  Explorer e;
  explore::load(e, *tools::findTilingProgram(GetParam()));
  ASSERT_TRUE(explore::inSymmetryMode(e));
  ASSERT_TRUE(e.family.tiles.has_value()) << "it opens with its tiles kept";
  EXPECT_NE(e.feedback.status.identity.find("tiles kept congruent"), std::string::npos)
      << e.feedback.status.identity;
  EXPECT_EQ(classesAfterDrags(e, 5), 1u) << "the one tile split with its tiles kept";
  EXPECT_EQ(e.feedback.status.verdict, "tiles without gaps or overlaps");
  EXPECT_NE(explore::linkOf(e).find("&tiles=congruent"), std::string::npos);

  Explorer apart;
  explore::load(apart, *tools::findTilingProgram(GetParam()));
  ASSERT_TRUE(explore::keepTiles(apart, false));
  EXPECT_EQ(explore::linkOf(apart).find("tiles="), std::string::npos);
  EXPECT_GT(classesAfterDrags(apart, 5), 1u) << "drags that keep only the group kept the tile anyway";
}

INSTANTIATE_TEST_SUITE_P(OneTileInSeveralOrbits, KeptTiles, ::testing::Values("pentatile5", "pentatile6", "pentatile7"),
                         [](const auto& info) { return std::string(info.param); });

// A tiling whose group keeps every class has no tiles of its own to keep.
TEST(KeptTiles, NoneToKeepWhereTheGroupKeepsEveryClass) {
  Explorer e;
  explore::load(e, *tools::findTilingProgram("quadtile"));
  EXPECT_FALSE(explore::keepTiles(e, true));
  EXPECT_FALSE(e.family.tiles.has_value());
}

// The shape line printed on letting go gives each position as the link
// does, so that one copied from it reads back the same: the same numbers,
// float noise as 0 (pentatile3 in p3 and mixtile4 leave 1e-7 of it).
TEST(ShapeLine, GivesThePositionsAsTheLinkWritesThem) {
  const auto numbers = [](const std::string& text) {
    std::vector<std::string> found;
    static const std::regex number(R"(-?[0-9][0-9.e+-]*)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), number); it != std::sregex_iterator(); ++it)
      found.push_back(it->str());
    return found;
  };
  for (const char* name : {"pentatile3", "mixtile4", "pentatile5"}) {
    Explorer e;
    explore::load(e, *tools::findTilingProgram(name));
    ASSERT_TRUE(explore::inSymmetryMode(e)) << name;
    classesAfterDrags(e, 3);
    const std::string line = explore::pointsLine(e), link = explore::linkOf(e);
    const std::string positions = line.substr(line.find(':'));
    const std::vector<std::string> linked = numbers(link.substr(link.find("&keep=")));
    for (const std::string& n : numbers(positions)) {
      EXPECT_EQ(n.find('e'), std::string::npos) << name << ": " << line;
      EXPECT_NE(std::find(linked.begin(), linked.end(), n), linked.end()) << name << ": " << n << " of " << line
                                                                          << " is not in " << link;
    }
  }
}

}  // namespace
