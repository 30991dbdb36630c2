// The family of each of the seventeen under every group it may keep: moved
// within it, a tiling stays a tiling of the same faces and vertex kinds per
// period, and keeps the group; a vertex goes where it was asked; a move
// that would fold a tile stops short of it. Faults injected by hand (a
// vertex moved without its images, a straight side bent) are seen by the
// same checks.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "faces/periods.h"
#include "family/family.h"
#include "family/moves.h"
#include "symmetry/identity.h"
#include "tools/registry.h"

namespace {

using faces::Vec2;

struct Drawing {
  faces::Analysis analysis;
  symmetry::Identity identity;
  std::vector<family::KeptGroup> offer;
};

Drawing drawingOf(const std::vector<faces::Segment2>& segments) {
  Drawing d;
  d.analysis = faces::analyse(segments);
  d.identity = symmetry::identify(d.analysis);
  d.offer = family::groupsOnOffer(d.identity);
  return d;
}

Drawing programDrawing(const tools::TilingProgram& p) {
  return drawingOf(faces::sceneSegments(tools::builtScene(p)));
}

// What a period holds, as a tiling's census.
struct Census {
  std::map<int, int> faces;
  std::map<std::string, int> vertices;
  bool operator==(const Census&) const = default;
};
void PrintTo(const Census& c, std::ostream* out) {
  for (auto [sides, n] : c.faces) *out << n << " " << sides << "-gons ";
  for (const auto& [kind, n] : c.vertices) *out << kind << " x" << n << " ";
}

Census censusOf(const Drawing& d) {
  if (!d.identity.lattice) return {};
  const faces::PerPeriod per = faces::countPerPeriod(d.analysis, *d.identity.lattice);
  return {per.faces, per.vertices};
}

bool offers(const Drawing& d, const std::string& group) {
  return std::any_of(d.offer.begin(), d.offer.end(),
                     [&](const family::KeptGroup& g) { return g.name == group; });
}

// The lattice's shape and size (turns left out), and the slides that
// change no shape, by the group's name alone.
int metricOf(const std::string& g) {
  if (g == "p1" || g == "p2") return 3;
  if (g == "p4" || g == "p4m" || g == "p4g" || g[1] == '3' || g[1] == '6') return 1;
  return 2;
}
int slidesOf(const std::string& g) {
  if (g == "p1") return 2;
  return g == "pm" || g == "pg" || g == "cm" ? 1 : 0;
}

class Family : public testing::TestWithParam<tools::TilingProgram> {};

// Each tiling's own shape lies in its family under every group on offer,
// and the count of its freedom is the lattice's, plus each
// representative's, less the slides.
TEST_P(Family, FreedomIsTheLatticesPlusTheRepresentativesLessTheSlides) {
  const Drawing own = programDrawing(GetParam());
  ASSERT_FALSE(own.offer.empty());
  EXPECT_EQ(own.offer.front().name, own.identity.group->name);
  EXPECT_TRUE(offers(own, "p1"));
  for (const family::KeptGroup& keep : own.offer) {
    const family::Found found = family::familyOf(own.analysis, own.identity, keep);
    ASSERT_TRUE(found.family) << keep.name << ": " << found.problem;
    const family::Family& f = *found.family;
    int free = 0;
    for (const family::Orbit& o : f.orbits) free += o.free;
    EXPECT_EQ(f.freedom, metricOf(keep.name) - 1 + free - slidesOf(keep.name)) << keep.name;
    EXPECT_FALSE(family::faultOf(f, found.shape)) << keep.name << ": the own shape does not tile";
    // A smaller group frees at least as much.
    EXPECT_GE(f.freedom, family::familyOf(own.analysis, own.identity, own.offer.front()).family->freedom);
  }
}

// Random moves of every orbit and of the periods give a tiling of the same
// census that still has the kept group; a free vertex of the own shape
// nudged a little lands exactly where it was asked.
TEST_P(Family, RandomMovesKeepTheTilingItsCensusAndTheGroup) {
  if (GetParam().name == "pentatile2") GTEST_SKIP() << "its copies overlap: sides_test moves them";
  const Drawing own = programDrawing(GetParam());
  const Census census = censusOf(own);
  std::mt19937 random(17);
  for (const family::KeptGroup& keep : own.offer) {
    family::Found found = family::familyOf(own.analysis, own.identity, keep);
    ASSERT_TRUE(found.family);
    const family::Family& f = *found.family;
    family::Shape s = found.shape;
    std::normal_distribution<double> step(0, 0.04 * f.size);
    for (int round = 0; round < 3; ++round) {
      for (int k = 0; k < int(f.orbits.size()); ++k) {
        const Vec2 at = family::representativeAt(f, s, k);
        family::moveVertex(f, s, {f.orbits[k].representative, 0, 0}, {at.x + step(random), at.y + step(random)});
      }
      const Vec2 period = round % 2 ? s.v : s.u;
      family::movePeriod(f, s, round % 2, {period.x + step(random), period.y + step(random)});
    }
    ASSERT_FALSE(family::faultOf(f, s));
    const Drawing moved = drawingOf(family::blockTiles(f, s, 2));
    EXPECT_EQ(moved.analysis.verdict(), "tiles without gaps or overlaps") << keep.name;
    EXPECT_EQ(censusOf(moved), census) << keep.name;
    EXPECT_TRUE(offers(moved, keep.name)) << keep.name << " lost; now "
                                          << (moved.identity.group ? moved.identity.group->name : "none");

    s = found.shape;
    for (int k = 0; k < int(f.orbits.size()); ++k) {
      if (f.orbits[k].free != 2) continue;
      const Vec2 at = family::representativeAt(f, s, k);
      const Vec2 to{at.x + 1e-3 * f.size, at.y - 2e-3 * f.size};
      ASSERT_TRUE(family::moveVertex(f, s, {f.orbits[k].representative, 0, 0}, to));
      const Vec2 now = family::representativeAt(f, s, k);
      EXPECT_NEAR(now.x, to.x, 1e-9 * f.size);
      EXPECT_NEAR(now.y, to.y, 1e-9 * f.size);
    }
  }
}

// Dragging a vertex past its neighbour mostly turns their edge inside out:
// such a drag stops at the last shape that tiles, short of the neighbour.
TEST_P(Family, ADragPastANeighbourStopsAtTheLastShapeThatTiles) {
  const Drawing own = programDrawing(GetParam());
  const family::KeptGroup& keep = own.offer.back();  // p1: every vertex class moves alone
  family::Found found = family::familyOf(own.analysis, own.identity, keep);
  const family::Family& f = *found.family;
  const std::vector<Vec2> st = family::placed(f, found.shape);
  int folding = 0;
  for (const family::Edge& edge : f.edges) {
    const int orbit = f.vertices[edge.from.vertex].orbit;
    if (orbit < 0) continue;  // a crossing of overlapping copies follows its sides
    const family::Orbit& o = f.orbits[orbit];
    if (edge.from.vertex == edge.to.vertex || o.free != 2 || o.straight) continue;
    family::Shape s = found.shape;
    const Vec2 p = family::cornerAt(f, s, st, edge.from), q = family::cornerAt(f, s, st, edge.to);
    family::Shape thrown = s;
    const Vec2 step = faces::plus(faces::minus(st[edge.to.vertex], st[edge.from.vertex]),
                                  {double(edge.to.i), double(edge.to.j)});
    thrown.at[orbit] = faces::plus(thrown.at[orbit], faces::times(1.5, step));
    const auto fault = family::faultOf(f, thrown);
    if (!fault) continue;
    ++folding;
    EXPECT_EQ(fault->what.substr(0, 1), "V") << fault->what;
    ASSERT_TRUE(family::moveVertex(f, s, edge.from, faces::plus(p, faces::times(1.5, faces::minus(q, p)))));
    EXPECT_FALSE(family::faultOf(f, s));
    const Vec2 now = family::cornerAt(f, s, family::placed(f, s), edge.from);
    EXPECT_LT(faces::dot(faces::minus(now, p), faces::minus(q, p)), faces::dot(faces::minus(q, p), faces::minus(q, p)));
  }
  if (f.vertices.size() > 1) {
    EXPECT_GT(folding, 0) << "no edge folds when turned inside out";
  }
}

INSTANTIATE_TEST_SUITE_P(Seventeen, Family, testing::ValuesIn(tools::tilingPrograms()),
                         [](const auto& info) { return std::string(info.param.name); });

family::Found ownFamily(const Drawing& d) { return family::familyOf(d.analysis, d.identity, d.offer.front()); }

// The checks above see a vertex moved without its images: the drawing
// loses the group.
TEST(FamilyFaults, AVertexMovedWithoutItsImagesLosesTheGroup) {
  const Drawing own = programDrawing(*tools::findTilingProgram("pentatile1"));
  const family::Found found = ownFamily(own);
  const family::Family& f = *found.family;
  // A class that is an image, not the representative, of a free orbit.
  int lone = -1;
  for (int v = 0; v < int(f.vertices.size()) && lone < 0; ++v)
    if (f.orbits[f.vertices[v].orbit].free == 2 && f.orbits[f.vertices[v].orbit].representative != v) lone = v;
  ASSERT_GE(lone, 0);
  std::vector<faces::Segment2> block = family::blockTiles(f, found.shape, 2);
  const std::vector<Vec2> st = family::placed(f, found.shape);
  const Vec2 was = family::planeOf(f, found.shape, st[lone]);
  const Vec2 nudge{0.05 * f.size, 0.03 * f.size};
  // Every copy of that class alone moves.
  for (faces::Segment2& s : block)
    for (Vec2* p : {&s.a, &s.b}) {
      const Vec2 d = faces::minus(*p, was);
      const double det = faces::cross(found.shape.u, found.shape.v);
      const double a = faces::cross(d, found.shape.v) / det, b = faces::cross(found.shape.u, d) / det;
      if (std::abs(a - std::round(a)) < 1e-6 && std::abs(b - std::round(b)) < 1e-6) *p = faces::plus(*p, nudge);
    }
  const Drawing broken = drawingOf(block);
  EXPECT_FALSE(offers(broken, f.keep.name));
}

// A point on a straight side moved off it, as its stabiliser alone would
// let it, turns the side's pentagon into a hexagon: the census sees it.
TEST(FamilyFaults, AStraightSideBentChangesTheCensus) {
  const Drawing own = programDrawing(*tools::findTilingProgram("pentatile5"));
  family::Found found = ownFamily(own);
  const family::Family& f = *found.family;
  int k = 0;
  while (k < int(f.orbits.size()) && !(f.orbits[k].straight && f.orbits[k].free == 1)) ++k;
  ASSERT_LT(k, int(f.orbits.size()));
  family::Family bent = f;
  bent.orbits[k].straight.reset();
  bent.orbits[k].free = 2;
  family::Shape s = found.shape;
  const std::vector<Vec2> st = family::placed(f, s);
  s.at[k] = st[f.orbits[k].representative];
  const Vec2 at = family::representativeAt(bent, s, k);
  // Across the side: a step along the normal of the line from its ends.
  const family::Straight side = *f.orbits[k].straight;
  const Vec2 a = family::cornerAt(f, s, st, side.from), c = family::cornerAt(f, s, st, side.to);
  const Vec2 d = faces::minus(c, a);
  const Vec2 across = faces::times(0.03 * f.size / faces::length(d), {-d.y, d.x});
  family::placeRepresentative(bent, s, k, faces::plus(at, across));
  const Drawing moved = drawingOf(family::blockTiles(bent, s, 2));
  EXPECT_NE(censusOf(moved), censusOf(own));
}

// Drawings that have no family say why: one without two periods. Copies
// that overlap have one.
TEST(FamilyFaults, NoFamilyWithoutTwoPeriods) {
  const Drawing overlapping = programDrawing(*tools::findTilingProgram("pentatile2"));
  ASSERT_FALSE(overlapping.offer.empty());
  const family::Found found = ownFamily(overlapping);
  EXPECT_TRUE(found.family) << found.problem;
  const Drawing triangle = drawingOf({{{0, 0}, {1, 0}}, {{1, 0}, {0, 1}}, {{0, 1}, {0, 0}}});
  EXPECT_TRUE(triangle.offer.empty());
  symmetry::Identity none = triangle.identity;
  none.lattice.reset();
  EXPECT_EQ(family::familyOf(triangle.analysis, none, {}).problem, "no two independent periods");
}

}  // namespace
