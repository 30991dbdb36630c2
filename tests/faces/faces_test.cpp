// What the face analysis finds in each of the seventeen drawings, checked
// against what each construction makes, and faults put into the drawings
// on purpose that it must find.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <set>

#include "faces/faces.h"
#include "tools/registry.h"

namespace {

using faces::Analysis;
using faces::ProblemKind;
using faces::Segment2;

struct ClassFacts {
  int sides, count, orientations, mirrored;
};

// Each tiling's faces by number of sides, its congruence classes in report
// order (by sides, larger first), the configurations of its interior
// vertices, and the problems its construction is known to have. Counts are
// copies per patch times faces per copy.
struct Facts {
  const char* name;
  std::map<int, int> faces;
  std::vector<ClassFacts> classes;
  std::set<std::string> vertices;
  int crossings = 0, slivers = 0;
};

void PrintTo(const Facts& f, std::ostream* out) { *out << f.name; }

const std::vector<Facts> facts = {
    // A triangle and its half-turn: six meet at every vertex.
    {"deltatile", {{3, 36 * 2}}, {{3, 72, 2, 0}}, {"3.3.3.3.3.3"}},
    {"quadtile", {{4, 25 * 2}}, {{4, 50, 2, 0}}, {"4.4.4.4"}},
    // The regular-polygon tilings: their vertex types; squares among
    // hexagons and dodecagons lie three ways, triangles two.
    {"mixtile1", {{3, 100 * 2}, {4, 100 * 3}, {6, 100}},
     {{3, 200, 2, 0}, {4, 300, 3, 0}, {6, 100, 1, 0}}, {"3.4.6.4"}},
    // Two triangles without the edge between them show as one rhombus.
    {"mixtile2", {{3, 36 * 6}, {4, 36}, {6, 36}},
     {{3, 216, 2, 0}, {4, 36, 1, 0}, {6, 36, 1, 0}},
     {"3.3.3.3.6", "3.3.3.4.6", "3.3.4.3.6", "3.3.4.6", "3.4.3.6"}},
    {"mixtile3", {{4, 36 * 3}, {6, 36 * 2}, {12, 36}},
     {{4, 108, 3, 0}, {6, 72, 1, 0}, {12, 36, 1, 0}}, {"4.6.12"}},
    // Gaps between copies close only inside the patch: (n - 1)^2 of them.
    {"mixtile4", {{3, 25 * 2}, {12, 36}}, {{3, 50, 2, 0}, {12, 36, 1, 0}}, {"3.12.12"}},
    {"mixtile5", {{4, 25}, {8, 36}}, {{4, 25, 1, 0}, {8, 36, 1, 0}}, {"4.8.8"}},
    {"mixtile6", {{3, 49 * 2}, {6, 49}}, {{3, 98, 2, 0}, {6, 49, 1, 0}}, {"3.6.3.6"}},
    {"mixtile7", {{3, 64 * 2}, {4, 64}}, {{3, 128, 2, 0}, {4, 64, 1, 0}}, {"3.3.3.4.4"}},
    // The pentagon tilings: one pentagon in as many orientations as the
    // tile's turns (and mirror images) give it.
    {"pentatile1", {{5, 25 * 2}}, {{5, 50, 2, 0}}, {"5.5.5", "5.5.5.5"}},
    // Its copies overlap: the overlaps cut the pentagons into pieces.
    {"pentatile2",
     {{3, 40}, {4, 16}, {5, 110}, {6, 64}, {7, 8}},
     {{3, 40, 2, 0}, {4, 16, 1, 0}, {5, 10, 2, 0}, {5, 52, 2, 0}, {5, 16, 2, 0},
      {5, 32, 2, 0}, {6, 32, 2, 0}, {6, 8, 2, 0}, {6, 24, 2, 0}, {7, 8, 2, 0}},
     {"(5).6.6", "3.5.5.6", "3.5.5.7", "3.5.6", "3.5.6.5", "3.5.6.6", "3.6.5.6", "3.7",
      "4.5.6", "4.5.6.6", "5.(5).7", "5.5.(5)", "5.5.(6)", "5.5.5", "5.5.6", "5.5.7", "5.6"},
     72, 88},
    // Three turned by 120 degrees into a hexagon: not edge to edge.
    {"pentatile3", {{5, 36 * 3}}, {{5, 108, 3, 0}}, {"5.5.(5)", "5.5.5"}},
    {"pentatile4", {{5, 16 * 4}}, {{5, 64, 4, 0}}, {"5.5.5", "5.5.5.5"}},
    // Four quarter turns and two caps per copy.
    {"pentatile5", {{5, 36 * 6}}, {{5, 216, 4, 0}}, {"5.5.(5)", "5.5.5", "5.5.5.5"}},
    {"pentatile6", {{5, 9 * 4}}, {{5, 36, 4, 0}}, {"5.5.5", "5.5.5.5"}},
    // Four pentagons and four mirror images per copy.
    {"pentatile7", {{5, 9 * 8}}, {{5, 72, 8, 36}}, {"5.5.(5)", "5.5.5"}},
    // Six turned about one vertex: a rosette.
    {"pentatile8", {{5, 25 * 6}}, {{5, 150, 6, 0}}, {"5.5.5", "5.5.5.5.5.5"}},
};

std::vector<Segment2> drawing(const char* name) {
  const tools::TilingProgram* program = tools::findTilingProgram(name);
  if (program == nullptr) return {};
  return faces::sceneSegments(tools::builtScene(*program));
}

std::set<std::string> configurations(const Analysis& a) {
  std::set<std::string> names;
  for (const auto& [name, count] : a.vertices) names.insert(name);
  return names;
}

void expectSameCensus(const Analysis& a, const Analysis& b) {
  EXPECT_EQ(a.facesBySides(), b.facesBySides());
  ASSERT_EQ(a.classes.size(), b.classes.size());
  for (std::size_t c = 0; c < a.classes.size(); ++c) {
    EXPECT_EQ(a.classes[c].count, b.classes[c].count) << "class " << c;
    EXPECT_EQ(a.classes[c].orientations.size(), b.classes[c].orientations.size()) << "class " << c;
    EXPECT_EQ(a.classes[c].mirrored, b.classes[c].mirrored) << "class " << c;
  }
  EXPECT_EQ(a.vertices, b.vertices);
}

class EachTiling : public ::testing::TestWithParam<Facts> {};

TEST_P(EachTiling, ReportMatchesItsConstruction) {
  const Facts& f = GetParam();
  const Analysis a = faces::analyse(drawing(f.name));
  EXPECT_EQ(a.facesBySides(), f.faces);
  ASSERT_EQ(a.classes.size(), f.classes.size());
  for (std::size_t c = 0; c < f.classes.size(); ++c) {
    SCOPED_TRACE("class " + std::to_string(c));
    EXPECT_EQ(a.classes[c].sides, f.classes[c].sides);
    EXPECT_EQ(a.classes[c].count, f.classes[c].count);
    EXPECT_EQ(int(a.classes[c].orientations.size()), f.classes[c].orientations);
    EXPECT_EQ(a.classes[c].mirrored, f.classes[c].mirrored);
  }
  EXPECT_EQ(configurations(a), f.vertices);
  EXPECT_EQ(a.count(ProblemKind::crossing), f.crossings);
  EXPECT_EQ(a.count(ProblemKind::sliver), f.slivers);
  EXPECT_EQ(a.count(ProblemKind::dangle) + a.count(ProblemKind::cut) + a.count(ProblemKind::odd), 0);
  EXPECT_EQ(a.verdict() == "tiles without gaps or overlaps", f.crossings + f.slivers == 0)
      << a.verdict();
}

// The faces tile the region the edges enclose: their areas add up to its
// area, found from the outer boundary of the line work alone.
TEST_P(EachTiling, FacesFillTheEnclosedRegion) {
  const Analysis a = faces::analyse(drawing(GetParam().name));
  ASSERT_GT(a.enclosedArea, 0);
  EXPECT_NEAR(a.faceArea, a.enclosedArea, 1e-9 * a.enclosedArea);
  double byClass = 0;
  for (const faces::FaceClass& c : a.classes) byClass += c.count * c.area;
  EXPECT_NEAR(byClass, a.faceArea, 1e-4 * a.faceArea);
  for (const faces::Face& face : a.faces) EXPECT_GT(face.area, 0);
}

// End points moved at random by as much as float arithmetic moves them
// change nothing in the report.
TEST_P(EachTiling, FloatNoiseIsNotAProblem) {
  const std::vector<Segment2> clean = drawing(GetParam().name);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> noise(-8e-6, 8e-6);
  std::vector<Segment2> noisy = clean;
  for (Segment2& s : noisy)
    for (faces::Vec2* p : {&s.a, &s.b}) p->x += noise(random), p->y += noise(random);
  const Analysis a = faces::analyse(clean), b = faces::analyse(noisy);
  expectSameCensus(a, b);
  EXPECT_EQ(a.problems.size(), b.problems.size());
}

INSTANTIATE_TEST_SUITE_P(Seventeen, EachTiling, ::testing::ValuesIn(facts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Facts, CoverTheSeventeen) { EXPECT_EQ(facts.size() + 0, tools::tilingPrograms().size()); }

// --- Faults put in on purpose

bool same(const Segment2& s, const Segment2& t) {
  auto near = [](faces::Vec2 p, faces::Vec2 q) { return std::hypot(p.x - q.x, p.y - q.y) < 1e-4; };
  return (near(s.a, t.a) && near(s.b, t.b)) || (near(s.a, t.b) && near(s.b, t.a));
}

// The stored segment nearest the middle of the drawing: an inner edge.
Segment2 middleEdge(const std::vector<Segment2>& segments) {
  double cx = 0, cy = 0;
  for (const Segment2& s : segments) cx += s.a.x + s.b.x, cy += s.a.y + s.b.y;
  cx /= 2.0 * segments.size(), cy /= 2.0 * segments.size();
  Segment2 best = segments.front();
  double bestDistance = INFINITY;
  for (const Segment2& s : segments) {
    const double d = std::hypot((s.a.x + s.b.x) / 2 - cx, (s.a.y + s.b.y) / 2 - cy);
    if (d < bestDistance) best = s, bestDistance = d;
  }
  return best;
}

class Faulty : public ::testing::TestWithParam<const char*> {};

// Where an edge is stored once per copy (or as one long segment through
// several edges), dropping or moving it changes faces rather than leaving a
// sliver between two copies; either way the fault shows.
TEST_P(Faulty, EdgeDroppedMergesFacesIntoOddOnes) {
  std::vector<Segment2> segments = drawing(GetParam());
  const Segment2 gone = middleEdge(segments);
  std::erase_if(segments, [&](const Segment2& s) { return same(s, gone); });
  const Analysis clean = faces::analyse(drawing(GetParam())), broken = faces::analyse(segments);
  EXPECT_LT(broken.faces.size(), clean.faces.size());
  EXPECT_GE(broken.count(ProblemKind::odd), 1);
  EXPECT_NE(broken.verdict(), clean.verdict());
}

TEST_P(Faulty, EdgeCopyShiftedLeavesLooseEnds) {
  std::vector<Segment2> segments = drawing(GetParam());
  const Segment2 moved = middleEdge(segments);
  for (Segment2& s : segments)
    if (same(s, moved)) {
      // Sideways by 0.02, a hundredth of a typical side.
      const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y, len = std::hypot(dx, dy);
      s.a.x -= 0.02 * dy / len, s.b.x -= 0.02 * dy / len;
      s.a.y += 0.02 * dx / len, s.b.y += 0.02 * dx / len;
      break;
    }
  const Analysis a = faces::analyse(segments);
  EXPECT_GE(a.count(ProblemKind::crossing) + a.count(ProblemKind::dangle), 1);
  EXPECT_NE(a.verdict(), "tiles without gaps or overlaps");
}

TEST_P(Faulty, LooseSegmentIsADangle) {
  std::vector<Segment2> segments = drawing(GetParam());
  const Segment2 edge = middleEdge(segments);
  // A short segment standing off the middle of an edge, into a face.
  const faces::Vec2 mid{(edge.a.x + edge.b.x) / 2, (edge.a.y + edge.b.y) / 2};
  const double dx = edge.b.x - edge.a.x, dy = edge.b.y - edge.a.y, len = std::hypot(dx, dy);
  segments.push_back({{mid.x - 0.1 * dy / len, mid.y + 0.1 * dx / len},
                      {mid.x - 0.3 * dy / len, mid.y + 0.3 * dx / len}});
  const Analysis a = faces::analyse(segments);
  EXPECT_EQ(a.count(ProblemKind::dangle), 1);
  expectSameCensus(faces::analyse(drawing(GetParam())), a);
}

INSTANTIATE_TEST_SUITE_P(Drawings, Faulty,
                         ::testing::Values("deltatile", "mixtile1", "pentatile3", "pentatile7"),
                         [](const auto& info) { return std::string(info.param); });

TEST(BadInput, NonFiniteCoordinatesAreRefused) {
  const std::vector<Segment2> segments{{{0, 0}, {1, NAN}}};
  EXPECT_THROW(faces::analyse(segments), std::invalid_argument);
}

// A tangle whose segments cross thousands of times is no tiling, and
// noding it would take GEOS minutes: it is refused at once.
TEST(BadInput, TangleIsRefused) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> at(0, 10);
  std::vector<Segment2> tangle(400);
  for (Segment2& s : tangle) s = {{at(random), at(random)}, {at(random), at(random)}};
  EXPECT_THROW(faces::analyse(tangle), std::invalid_argument);
}

// A side that another tile's corner lies on is cut there, not crossed: a
// ladder of more rungs than the crossings a tangle may have still has one
// square face between each two rungs.
TEST(BadInput, CornersOnSidesAreNoTangle) {
  const int rungs = 6000;
  std::vector<Segment2> ladder{{{0, 0}, {rungs - 1.0, 0}}, {{0, 1}, {rungs - 1.0, 1}}};
  for (int k = 0; k < rungs; ++k) ladder.push_back({{double(k), 0}, {double(k), 1}});
  const Analysis a = faces::analyse(ladder);
  EXPECT_EQ(a.faces.size(), std::size_t(rungs - 1));
  EXPECT_EQ(a.facesBySides(), (std::map<int, int>{{4, rungs - 1}}));
  EXPECT_EQ(a.count(ProblemKind::crossing), 0);
}

// Coordinates near the end of the double range are measured or refused,
// never a hang (the test's time limit would catch one).
TEST(BadInput, FarFlungCoordinatesFinish) {
  const std::vector<Segment2> far{{{0, 0}, {1e300, 0}}, {{1e300, 0}, {0, 1e300}}, {{0, 1e300}, {0, 0}}};
  try {
    faces::analyse(far);
  } catch (const std::exception&) {
  }
}

TEST(BadInput, NothingClosedHasNoFaces) {
  const std::vector<Segment2> open{{{0, 0}, {1, 0}}, {{1, 0}, {1, 1}}, {{2, 2}, {2, 2}}};
  const Analysis a = faces::analyse(open);
  EXPECT_TRUE(a.faces.empty());
  EXPECT_EQ(a.verdict(), "no closed face");
}

}  // namespace
