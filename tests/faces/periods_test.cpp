// The periods of a drawing found from its faces, and what one period holds:
// checked against what each tiling is known to be made of, against the
// counting rules every periodic tiling obeys, and on drawings moved, mended
// badly or never periodic at all.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <random>
#include <string>

#include "faces/faces.h"
#include "faces/periods.h"
#include "tools/registry.h"

namespace {

using faces::Analysis;
using faces::Lattice;
using faces::PerPeriod;
using faces::Segment2;
using faces::Vec2;

std::vector<Segment2> drawing(std::string_view name) {
  return faces::sceneSegments(tools::builtScene(*tools::findTilingProgram(name)));
}

double length(Vec2 p) { return std::hypot(p.x, p.y); }
double dot(Vec2 p, Vec2 q) { return p.x * q.x + p.y * q.y; }

struct Census {
  const char* name;
  std::map<int, int> faces;
  std::map<std::string, int> vertices;
};

void PrintTo(const Census& c, std::ostream* out) { *out << c.name; }

// One period of each tiling. Each program repeats its tile by a lattice
// that is already the finest: the tile holds each orientation of its faces
// once (or, for the regular-polygon tilings, one of each of its vertex
// type's translation classes), so faces per period are faces per tile.
// Vertices follow from the faces: their corners (n per n-gon) are shared
// out among the vertices (k at a k-fold vertex, not counting a face whose
// straight side runs through it), and Euler's V - E + F = 0 on the torus
// splits the pentagon tilings' vertices between 5.5.5 and the others.
const std::vector<Census> censuses = {
    {"deltatile", {{3, 2}}, {{"3.3.3.3.3.3", 1}}},
    {"quadtile", {{4, 2}}, {{"4.4.4.4", 2}}},
    {"mixtile1", {{3, 2}, {4, 3}, {6, 1}}, {{"3.4.6.4", 6}}},
    // Eight triangles and a hexagon, two of the triangles a rhombus: the
    // ends of its missing edge and its other two corners each see it once.
    {"mixtile2", {{3, 6}, {4, 1}, {6, 1}},
     {{"3.3.3.3.6", 2}, {"3.3.3.4.6", 1}, {"3.3.4.3.6", 1}, {"3.3.4.6", 1}, {"3.4.3.6", 1}}},
    {"mixtile3", {{4, 3}, {6, 2}, {12, 1}}, {{"4.6.12", 12}}},
    {"mixtile4", {{3, 2}, {12, 1}}, {{"3.12.12", 6}}},
    {"mixtile5", {{4, 1}, {8, 1}}, {{"4.8.8", 4}}},
    {"mixtile6", {{3, 2}, {6, 1}}, {{"3.6.3.6", 3}}},
    {"mixtile7", {{3, 2}, {4, 1}}, {{"3.3.3.4.4", 2}}},
    {"pentatile1", {{5, 2}}, {{"5.5.5", 2}, {"5.5.5.5", 1}}},
    // The overlaps cut each period's six pentagons into two whole
    // pentagons, four hexagons and five slivers (left out, with the
    // vertices they touch); the areas add up to six pentagons. Each vertex
    // has a half-turn partner.
    {"pentatile2", {{5, 2}, {6, 4}}, {{"(5).6.6", 2}, {"5.5.(6)", 2}, {"5.5.6", 2}}},
    // The hexagon's centre and two corners; three spoke ends on sides.
    {"pentatile3", {{5, 3}}, {{"5.5.5", 3}, {"5.5.(5)", 3}}},
    {"pentatile4", {{5, 4}}, {{"5.5.5", 4}, {"5.5.5.5", 2}}},
    {"pentatile5", {{5, 6}}, {{"5.5.5", 6}, {"5.5.5.5", 1}, {"5.5.(5)", 4}}},
    {"pentatile6", {{5, 4}}, {{"5.5.5", 4}, {"5.5.5.5", 2}}},
    {"pentatile7", {{5, 8}}, {{"5.5.5", 8}, {"5.5.(5)", 8}}},
    // The rosette's centre, and eight vertices around it.
    {"pentatile8", {{5, 6}}, {{"5.5.5", 8}, {"5.5.5.5.5.5", 1}}},
};

class EachTiling : public ::testing::TestWithParam<Census> {};

TEST_P(EachTiling, OnePeriodHoldsTheTilesFaces) {
  const Analysis a = faces::analyse(drawing(GetParam().name));
  const std::optional<Lattice> l = faces::findPeriods(a);
  ASSERT_TRUE(l);
  const PerPeriod per = faces::countPerPeriod(a, *l);
  EXPECT_EQ(per.faces, GetParam().faces);
  EXPECT_EQ(per.vertices, GetParam().vertices);
}

// The period's parallelogram is covered by the faces it holds once each:
// its area is theirs (pentatile2's slivers, left out, are 1 % of it).
TEST_P(EachTiling, PeriodHasTheAreaOfItsFaces) {
  const Analysis a = faces::analyse(drawing(GetParam().name));
  const std::optional<Lattice> l = faces::findPeriods(a);
  ASSERT_TRUE(l);
  std::map<int, double> area;  // by sides, the mean over faces that are no problem
  std::map<int, int> n;
  for (const faces::Face& f : a.faces)
    if (!f.problem) area[int(f.corners.size())] += f.area, ++n[int(f.corners.size())];
  double held = 0;
  for (auto [sides, count] : faces::countPerPeriod(a, *l).faces) held += count * area[sides] / n[sides];
  EXPECT_NEAR(l->area, held, 0.015 * held);
  EXPECT_NEAR(l->area, std::abs(l->u.x * l->v.y - l->u.y * l->v.x), 1e-9 * l->area);
  EXPECT_GT(l->area, 0);
}

// Every corner of a period's faces lies at one of its vertices, and Euler's
// formula holds on the torus the period wraps into: V - E + F = 0, with an
// edge for each side and for each vertex a straight side runs through.
TEST_P(EachTiling, CountsObeyEulersFormulaOnTheTorus) {
  const Analysis a = faces::analyse(drawing(GetParam().name));
  if (!a.problems.empty()) GTEST_SKIP() << "slivers are left out of its faces";
  const PerPeriod per = faces::countPerPeriod(a, *faces::findPeriods(a));
  int f = 0, sides = 0, v = 0, corners = 0, straight = 0;
  for (auto [k, count] : per.faces) f += count, sides += k * count;
  for (const auto& [name, count] : per.vertices) {
    v += count;
    const int faces = 1 + int(std::count(name.begin(), name.end(), '.'));
    const int through = int(std::count(name.begin(), name.end(), '('));
    corners += (faces - through) * count, straight += through * count;
  }
  EXPECT_EQ(corners, sides);
  EXPECT_EQ(v - (sides + straight) / 2 + f, 0);
}

INSTANTIATE_TEST_SUITE_P(Seventeen, EachTiling, ::testing::ValuesIn(censuses),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Censuses, CoverTheSeventeen) { EXPECT_EQ(censuses.size(), tools::tilingPrograms().size()); }

// --- The lattice's one way of being written

// u, v and their images under maps with integer inverses span one lattice.
TEST(Reduction, EveryBasisOfALatticeGivesTheSameOne) {
  const double r3 = std::sqrt(3.0);
  struct Case {
    Vec2 u, v, wantU, wantV;
  };
  const Case cases[] = {
      {{2, 0}, {1, r3}, {2, 0}, {1, r3}},                  // triangular: 60 degrees, not 120
      {{0, 3}, {1, 0}, {1, 0}, {0, 3}},                    // rectangular, u along +x
      {{r3 / 2, 0.5}, {-0.5, r3 / 2}, {r3 / 2, 0.5}, {-0.5, r3 / 2}},  // square turned 30 degrees
      {{0, 1}, {-1, 0}, {1, 0}, {0, 1}},                   // square: of four, the one along +x
      {{1, 0}, {-0.3, 2}, {1, 0}, {-0.3, 2}},              // oblique: v at 98.5 degrees stays
  };
  const int maps[][4] = {{1, 0, 0, 1}, {0, 1, 1, 0}, {-1, 0, 0, -1}, {2, 1, 1, 1}, {3, 5, 1, 2}, {1, -4, 0, 1}};
  for (const Case& c : cases)
    for (const auto& m : maps) {
      const Vec2 a{m[0] * c.u.x + m[1] * c.v.x, m[0] * c.u.y + m[1] * c.v.y};
      const Vec2 b{m[2] * c.u.x + m[3] * c.v.x, m[2] * c.u.y + m[3] * c.v.y};
      const Lattice l = faces::reduceLattice(a, b, 1e-9);
      SCOPED_TRACE(::testing::Message() << "u (" << c.u.x << ", " << c.u.y << ") map " << m[0] << m[1] << m[2] << m[3]);
      EXPECT_NEAR(l.u.x, c.wantU.x, 1e-9);
      EXPECT_NEAR(l.u.y, c.wantU.y, 1e-9);
      EXPECT_NEAR(l.v.x, c.wantV.x, 1e-9);
      EXPECT_NEAR(l.v.y, c.wantV.y, 1e-9);
    }
}

// A grid of unit squares: one square and one vertex per unit period.
TEST(Periods, SquareGridHasUnitPeriods) {
  std::vector<Segment2> grid;
  for (int k = 0; k <= 6; ++k) {
    grid.push_back({{0, double(k)}, {6, double(k)}});
    grid.push_back({{double(k), 0}, {double(k), 6}});
  }
  const Analysis a = faces::analyse(grid);
  const std::optional<Lattice> l = faces::findPeriods(a);
  ASSERT_TRUE(l);
  EXPECT_NEAR(l->u.x, 1, 1e-9);
  EXPECT_NEAR(l->u.y, 0, 1e-9);
  EXPECT_NEAR(l->v.x, 0, 1e-9);
  EXPECT_NEAR(l->v.y, 1, 1e-9);
  const PerPeriod per = faces::countPerPeriod(a, *l);
  EXPECT_EQ(per.faces, (std::map<int, int>{{4, 1}}));
  EXPECT_EQ(per.vertices, (std::map<std::string, int>{{"4.4.4.4", 1}}));
}

// --- Drawings moved, turned, reflected and scaled

struct Motion {
  const char* what;
  double turn, scale;
  bool reflect;
  Vec2 move;
};

std::vector<Segment2> moved(std::vector<Segment2> segments, const Motion& m) {
  const double c = std::cos(m.turn), s = std::sin(m.turn);
  const auto place = [&](Vec2 p) {
    if (m.reflect) p.x = -p.x;
    return Vec2{m.scale * (c * p.x - s * p.y) + m.move.x, m.scale * (s * p.x + c * p.y) + m.move.y};
  };
  for (Segment2& seg : segments) seg = {place(seg.a), place(seg.b)};
  return segments;
}

class Moved : public ::testing::TestWithParam<const char*> {};

// A congruent drawing has a congruent lattice, scaled with it, and the
// same census. A reflection turns v to the other side of u; the angle
// between them then becomes its supplement unless the lattice is symmetric.
TEST_P(Moved, LatticeMovesWithTheDrawing) {
  const std::vector<Segment2> original = drawing(GetParam());
  const Analysis a = faces::analyse(original);
  const std::optional<Lattice> l = faces::findPeriods(a);
  ASSERT_TRUE(l);
  const PerPeriod per = faces::countPerPeriod(a, *l);
  for (const Motion& m : {Motion{"moved and turned", 0.61, 1, false, {-37.5, 12.25}},
                          Motion{"reflected", 0, 1, true, {0, 0}},
                          Motion{"scaled by 2.5", 1.9, 2.5, false, {3, -4}},
                          Motion{"reflected and scaled by 0.4", -2.2, 0.4, true, {100, 0}}}) {
    SCOPED_TRACE(m.what);
    const Analysis b = faces::analyse(moved(original, m));
    const std::optional<Lattice> k = faces::findPeriods(b);
    ASSERT_TRUE(k);
    const double s = m.scale;
    EXPECT_NEAR(k->area, s * s * l->area, 1e-5 * s * s * l->area);
    EXPECT_NEAR(length(k->u), s * length(l->u), 1e-5 * s * length(l->u));
    EXPECT_NEAR(length(k->v), s * length(l->v), 1e-5 * s * length(l->v));
    EXPECT_NEAR(std::abs(dot(k->u, k->v)), s * s * std::abs(dot(l->u, l->v)), 1e-5 * s * s * l->area);
    const PerPeriod kper = faces::countPerPeriod(b, *k);
    EXPECT_EQ(kper.faces, per.faces);
    EXPECT_EQ(kper.vertices, per.vertices);
  }
}

INSTANTIATE_TEST_SUITE_P(Drawings, Moved,
                         ::testing::Values("pentatile7", "mixtile2", "pentatile2", "mixtile5"));

// --- Faults that must not hide the periods

struct Mended {
  Analysis analysis;
  Vec2 low, high;  // around the segments taken out
};

// The drawing without the middle copy of its n x n patch: copies are
// stored row by row, each the same number of segments.
Mended withoutMiddleCopy(std::string_view name) {
  const tools::TilingProgram& p = *tools::findTilingProgram(name);
  const std::vector<Segment2> all = drawing(name);
  const std::size_t copies = std::size_t(p.latticeSize * p.latticeSize);
  EXPECT_EQ(all.size() % copies, 0u);
  const std::size_t each = all.size() / copies, middle = std::size_t(p.latticeSize / 2) * (p.latticeSize + 1);
  Mended m{{}, {1e300, 1e300}, {-1e300, -1e300}};
  std::vector<Segment2> kept;
  for (std::size_t k = 0; k < all.size(); ++k) {
    if (k / each != middle) {
      kept.push_back(all[k]);
      continue;
    }
    for (Vec2 q : {all[k].a, all[k].b})
      m.low = {std::min(m.low.x, q.x), std::min(m.low.y, q.y)},
      m.high = {std::max(m.high.x, q.x), std::max(m.high.y, q.y)};
  }
  m.analysis = faces::analyse(kept);
  return m;
}

class Holed : public ::testing::TestWithParam<const char*> {};

TEST_P(Holed, HoleIsAProblemAndHidesNoPeriod) {
  const Analysis whole = faces::analyse(drawing(GetParam()));
  const Lattice l = *faces::findPeriods(whole);
  const Mended m = withoutMiddleCopy(GetParam());
  const std::optional<Lattice> k = faces::findPeriods(m.analysis);
  ASSERT_TRUE(k);
  EXPECT_NEAR(k->u.x, l.u.x, 1e-4);
  EXPECT_NEAR(k->u.y, l.u.y, 1e-4);
  EXPECT_NEAR(k->v.x, l.v.x, 1e-4);
  EXPECT_NEAR(k->v.y, l.v.y, 1e-4);
  const PerPeriod per = faces::countPerPeriod(whole, l), kper = faces::countPerPeriod(m.analysis, *k);
  EXPECT_EQ(kper.faces, per.faces);
  EXPECT_EQ(kper.vertices, per.vertices);

  // The copy's outline, drawn by its neighbours too, closes one face unlike
  // the others where it was.
  ASSERT_EQ(m.analysis.problems.size(), 1u) << m.analysis.verdict();
  const faces::Problem& hole = m.analysis.problems[0];
  EXPECT_EQ(hole.kind, faces::ProblemKind::odd);
  EXPECT_TRUE(hole.at.x > m.low.x && hole.at.x < m.high.x && hole.at.y > m.low.y && hole.at.y < m.high.y)
      << hole.at.x << ", " << hole.at.y;
}

INSTANTIATE_TEST_SUITE_P(Drawings, Holed, ::testing::Values("deltatile", "pentatile1", "quadtile"));

// An edge drawn across one square in the middle cuts it into two
// triangles like each other, so no problem: they repeat nowhere, and count
// in no period.
TEST(Periods, StrayEdgeChangesNothing) {
  std::vector<Segment2> segments = drawing("mixtile1");
  const Analysis whole = faces::analyse(segments);
  const Lattice l = *faces::findPeriods(whole);
  Vec2 middle;
  for (const faces::Face& f : whole.faces)
    for (Vec2 p : f.corners) middle.x += p.x / double(whole.faces.size() * f.corners.size()),
                             middle.y += p.y / double(whole.faces.size() * f.corners.size());
  const faces::Face* square = nullptr;
  double best = 1e300;
  for (const faces::Face& f : whole.faces) {
    const double away = length({f.corners[0].x - middle.x, f.corners[0].y - middle.y});
    if (f.corners.size() == 4 && away < best) best = away, square = &f;
  }
  segments.push_back({square->corners[0], square->corners[2]});
  const Analysis strayed = faces::analyse(segments);
  ASSERT_EQ(strayed.faces.size(), whole.faces.size() + 1);
  const std::optional<Lattice> k = faces::findPeriods(strayed);
  ASSERT_TRUE(k);
  EXPECT_NEAR(k->area, l.area, 1e-6 * l.area);
  const PerPeriod per = faces::countPerPeriod(whole, l), kper = faces::countPerPeriod(strayed, *k);
  EXPECT_EQ(kper.faces, per.faces);
  EXPECT_EQ(kper.vertices, per.vertices);
}

// --- Drawings with no two independent periods

TEST(NoPeriods, LoneTriangle) {
  const std::vector<Segment2> triangle{{{0, 0}, {4, 0}}, {{4, 0}, {1, 3}}, {{1, 3}, {0, 0}}};
  EXPECT_FALSE(faces::findPeriods(faces::analyse(triangle)));
}

// Three rows of squares: the middle row repeats along the strip only.
TEST(NoPeriods, Strip) {
  std::vector<Segment2> strip;
  for (int k = 0; k <= 3; ++k) strip.push_back({{0, double(k)}, {12, double(k)}});
  for (int k = 0; k <= 12; ++k) strip.push_back({{double(k), 0}, {double(k), 3}});
  const Analysis a = faces::analyse(strip);
  ASSERT_EQ(a.faces.size(), 36u);
  EXPECT_FALSE(faces::findPeriods(a));
}

TEST(NoPeriods, RandomSegments) {
  for (unsigned seed : {1u, 2u, 3u}) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> at(0, 20);
    std::vector<Segment2> segments;
    for (int k = 0; k < 60; ++k) segments.push_back({{at(random), at(random)}, {at(random), at(random)}});
    const Analysis a = faces::analyse(segments);
    ASSERT_GT(a.faces.size(), 50u) << "seed " << seed;
    EXPECT_FALSE(faces::findPeriods(a)) << "seed " << seed;
  }
}

}  // namespace
