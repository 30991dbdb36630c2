// Drawings whose tiles have curved sides: every edge of the seventeen bent
// into an S between its two vertices. Read with curved sides they are the
// same tilings; a tile bent otherwise than its copies is told apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "faces/faces.h"
#include "faces/periods.h"
#include "symmetry/pentagons.h"
#include "tools/registry.h"

namespace {

using faces::Analysis;
using faces::Segment2;
using faces::Vec2;

const faces::AnalysisOptions curved{.curvedSides = true, .vertices = {}};

// p(t) = a + t (b - a) + h sin(2 pi t) n, h = bulge |b - a|, in 16 steps:
// the same points drawn from b to a, so a shared edge is bent alike for both.
void bend(Vec2 a, Vec2 b, double bulge, std::vector<Segment2>& out) {
  const Vec2 d{b.x - a.x, b.y - a.y};
  auto at = [&](int k) {
    const double t = k / 16.0, h = bulge * std::sin(2 * std::numbers::pi * t);
    return k == 16 ? b : Vec2{a.x + t * d.x - h * d.y, a.y + t * d.y + h * d.x};
  };
  for (int k = 0; k < 16; ++k) out.push_back({at(k), at(k + 1)});
}

// The analysed drawing's edges, welded and split at every vertex, bent alike.
std::vector<Segment2> bentEdges(const Analysis& a, double bulge = 0.08) {
  std::vector<Segment2> out;
  for (const faces::Edge& e : a.edges) bend(e.a, e.b, bulge, out);
  return out;
}

// The face of `a` whose corners have the mean `middle`, or null.
const faces::Face* faceAt(const Analysis& a, Vec2 middle) {
  for (const faces::Face& f : a.faces)
    if (std::hypot(faces::middleOf(f).x - middle.x, faces::middleOf(f).y - middle.y) < 1e-9) return &f;
  return nullptr;
}

// The seventeen but pentatile2, whose copies overlap: where two of its
// faces meet at a corner of one, the node is a point along a side.
std::vector<tools::TilingProgram> tilings() {
  std::vector<tools::TilingProgram> out;
  for (const tools::TilingProgram& p : tools::tilingPrograms())
    if (p.name != "pentatile2") out.push_back(p);
  return out;
}

class EachTilingBent : public ::testing::TestWithParam<tools::TilingProgram> {
 protected:
  void SetUp() override {
    straight = faces::analyse(faces::sceneSegments(tools::builtScene(GetParam())));
    bent = faces::analyse(bentEdges(straight), curved);
  }
  Analysis straight, bent;
};

// Each face keeps its corners and their angles (the S leaves and reaches
// its ends turned alike from the chord); its sides grow. A class once bent
// lies within one straight class, and is the whole of it unless a straight
// side ran through a vertex, splitting the side where the tile's copies at
// the drawing's edge are not split.
TEST_P(EachTilingBent, IsTheSameTilingWithCurvedSides) {
  EXPECT_EQ(bent.facesBySides(), straight.facesBySides());
  EXPECT_EQ(bent.vertices, straight.vertices);
  EXPECT_EQ(bent.verdict(), "tiles without gaps or overlaps");
  std::vector<int> straightClass(bent.classes.size(), -1);
  for (const faces::Face& f : straight.faces) {
    const faces::Face* g = faceAt(bent, faces::middleOf(f));
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->angles.size(), f.angles.size());
    for (std::size_t k = 0; k < f.angles.size(); ++k)
      EXPECT_TRUE(std::any_of(g->angles.begin(), g->angles.end(),
                              [&](double a) { return std::abs(a - f.angles[k]) < 1e-3; }));
    double chords = 0, arcs = 0;
    for (std::size_t k = 0; k < f.sides.size(); ++k) chords += f.sides[k], arcs += g->sides[k];
    EXPECT_GT(arcs, 1.02 * chords);
    int& known = straightClass[g->cls];
    EXPECT_EQ(known < 0 ? (known = f.cls) : known, f.cls);
  }
  bool runThrough = false;
  for (const auto& [name, n] : straight.vertices) runThrough = runThrough || name.find('(') != name.npos;
  if (!runThrough) {
    EXPECT_EQ(bent.classes.size(), straight.classes.size());
  }
  for (const faces::FaceClass& c : bent.classes) {
    EXPECT_TRUE(c.curved);
    EXPECT_TRUE(symmetry::pentagonTypes(c).empty());
  }
  const std::optional<faces::Lattice> was = faces::findPeriods(straight), now = faces::findPeriods(bent);
  ASSERT_TRUE(was && now);
  EXPECT_NEAR(std::abs(now->area), std::abs(was->area), 1e-6 * std::abs(was->area));
  // Read as before, every step but the middle of an S is a corner.
  EXPECT_GE(faces::analyse(bentEdges(straight)).facesBySides().begin()->first, 3 * 15);
}

// Drawn in steps along straight lines, the tiling is the straight one,
// class for class, pentagon types and all.
TEST_P(EachTilingBent, StepsAlongStraightSidesAreTheStraightTiling) {
  const Analysis a = faces::analyse(bentEdges(straight, 0), curved);
  ASSERT_EQ(a.classes.size(), straight.classes.size());
  for (std::size_t c = 0; c < a.classes.size(); ++c) {
    EXPECT_FALSE(a.classes[c].curved);
    EXPECT_EQ(a.classes[c].count, straight.classes[c].count);
    EXPECT_EQ(a.classes[c].mirrored, straight.classes[c].mirrored);
    EXPECT_EQ(symmetry::pentagonTypes(a.classes[c]), symmetry::pentagonTypes(straight.classes[c]));
  }
}

INSTANTIATE_TEST_SUITE_P(Seventeen, EachTilingBent, ::testing::ValuesIn(tilings()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Overlaps, BentStillLeaveSlivers) {
  const tools::TilingProgram& program = *tools::findTilingProgram("pentatile2");
  const Analysis straight = faces::analyse(faces::sceneSegments(tools::builtScene(program)));
  const Analysis a = faces::analyse(bentEdges(straight), curved);
  EXPECT_GT(a.count(faces::ProblemKind::sliver), 0);
}

// --- Faults put in on purpose

// Two unit squares apart, the third side of the second bent by `third`.
std::vector<Segment2> twoSquares(double third) {
  std::vector<Segment2> out;
  for (double x : {0.0, 3.0}) {
    const Vec2 c[4] = {{x, 0}, {x + 1, 0}, {x + 1, 1}, {x, 1}};
    for (int k = 0; k < 4; ++k) bend(c[k], c[(k + 1) % 4], k == 2 && x > 0 ? third : 0.08 - 0.03 * k, out);
  }
  return out;
}

// The same corners, the same lengths of side and the same area: only the
// points along the third side tell the second square from the first.
TEST(BentOtherwise, CopiesOfATileBentOtherwiseAreOtherClasses) {
  EXPECT_EQ(faces::analyse(twoSquares(0.02), curved).classes.size(), 1u);
  const Analysis a = faces::analyse(twoSquares(-0.02), curved);
  EXPECT_EQ(a.facesBySides(), (std::map<int, int>{{4, 2}}));
  EXPECT_EQ(a.classes.size(), 2u);
}

// One inner edge of a tiling bent the other way: the two tiles along it are
// unlike all the others.
TEST(BentOtherwise, OneEdgeBentTheOtherWayMakesItsTilesUnlike) {
  const tools::TilingProgram& program = *tools::findTilingProgram("mixtile1");
  const Analysis straight = faces::analyse(faces::sceneSegments(tools::builtScene(program)));
  std::vector<Segment2> s;
  bool turned = false;
  for (const faces::Edge& e : straight.edges) {
    const bool turn = !turned && e.left >= 0 && e.right >= 0 && std::hypot(e.a.x, e.a.y) < 4;
    bend(e.a, e.b, turn ? -0.08 : 0.08, s);
    turned = turned || turn;
  }
  const Analysis a = faces::analyse(s, curved);
  EXPECT_EQ(a.facesBySides(), straight.facesBySides());
  EXPECT_EQ(a.count(faces::ProblemKind::odd), 2);
}

// Two squares whose shared side is kinked: where two faces meet, however
// sharply, is a point along a side.
TEST(CurvedCorners, AKinkBetweenTwoFacesIsNoCorner) {
  const std::vector<Segment2> s{{{0, 0}, {2, 0}}, {{2, 0}, {2, 1}}, {{2, 1}, {0, 1}}, {{0, 1}, {0, 0}},
                                {{1, 0}, {1.3, 0.5}}, {{1.3, 0.5}, {1, 1}}};
  const Analysis a = faces::analyse(s, curved);
  EXPECT_EQ(a.facesBySides(), (std::map<int, int>{{4, 2}}));
  EXPECT_TRUE(a.vertices.empty());
  EXPECT_TRUE(a.faces[0].curved && a.faces[1].curved);
  EXPECT_EQ(faces::analyse(s).facesBySides(), (std::map<int, int>{{5, 2}}));
}

}  // namespace
