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
#include <tuple>

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

using faces::dot;
using faces::length;

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
    {"mixtile2",
     {{3, 6}, {4, 1}, {6, 1}},
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

// The census of one period, and its parallelogram covered by the faces it
// holds: its area is theirs (pentatile2's slivers, left out, are 1 % of it).
TEST_P(EachTiling, OnePeriodHoldsTheTilesFaces) {
  const Analysis a = faces::analyse(drawing(GetParam().name));
  const std::optional<Lattice> l = faces::findPeriods(a);
  ASSERT_TRUE(l);
  const PerPeriod per = faces::countPerPeriod(a, *l);
  EXPECT_EQ(per.faces, GetParam().faces);
  EXPECT_EQ(per.vertices, GetParam().vertices);

  std::map<int, double> area;  // by sides, of all faces that are no problem
  std::map<int, int> n;
  for (const faces::Face& f : a.faces)
    if (!f.problem) area[int(f.corners.size())] += f.area, ++n[int(f.corners.size())];
  double held = 0;
  for (auto [sides, count] : per.faces) held += count * area[sides] / n[sides];
  EXPECT_NEAR(l->area, held, 0.015 * held);
  EXPECT_NEAR(l->area, l->u.x * l->v.y - l->u.y * l->v.x, 1e-9 * held);
}

INSTANTIATE_TEST_SUITE_P(Seventeen, EachTiling, ::testing::ValuesIn(censuses),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Censuses, CoverTheSeventeen) { EXPECT_EQ(censuses.size(), tools::tilingPrograms().size()); }

// Every basis of a lattice (its images under integer maps with integer
// inverses) is written the one way.
TEST(Reduction, EveryBasisOfALatticeGivesTheSameOne) {
  const double r3 = std::sqrt(3.0);
  const Vec2 cases[][2] = {
      {{2, 0}, {1, r3}},                // triangular: v at 60 degrees, not 120
      {{r3 / 2, 0.5}, {-0.5, r3 / 2}},  // square turned 30 degrees: of four, the one nearest +x
      {{1, 0}, {-0.3, 2}},              // oblique: v at 98.5 degrees, as short as v can be
  };
  const int maps[][4] = {{0, 1, 1, 0}, {-1, 0, 0, -1}, {3, 5, 1, 2}, {1, -4, 0, 1}};
  for (const auto& [u, v] : cases)
    for (const auto& m : maps) {
      const Lattice l =
          faces::reduceLattice({m[0] * u.x + m[1] * v.x, m[0] * u.y + m[1] * v.y},
                               {m[2] * u.x + m[3] * v.x, m[2] * u.y + m[3] * v.y}, 1e-9);
      EXPECT_NEAR(length({l.u.x - u.x, l.u.y - u.y}) + length({l.v.x - v.x, l.v.y - v.y}), 0, 1e-9)
          << "u (" << u.x << ", " << u.y << ") map " << m[0] << m[1] << m[2] << m[3];
    }
}

// --- Drawings moved, turned, reflected and scaled

// Reflected in the y axis or not, turned, scaled, and moved off.
std::vector<Segment2> moved(std::vector<Segment2> segments, bool reflect, double turn, double k) {
  const double c = std::cos(turn), s = std::sin(turn);
  const auto place = [&](Vec2 p) {
    if (reflect) p.x = -p.x;
    return Vec2{k * (c * p.x - s * p.y) - 37.5, k * (s * p.x + c * p.y) + 12.25};
  };
  for (Segment2& seg : segments) seg = {place(seg.a), place(seg.b)};
  return segments;
}

class Moved : public ::testing::TestWithParam<const char*> {};

// A congruent drawing has a congruent lattice, scaled with it, and the
// same census. A reflection puts v on the other side of u, where the angle
// between them becomes its supplement unless the lattice is symmetric.
TEST_P(Moved, LatticeMovesWithTheDrawing) {
  const std::vector<Segment2> original = drawing(GetParam());
  const Analysis a = faces::analyse(original);
  const Lattice l = *faces::findPeriods(a);
  const PerPeriod per = faces::countPerPeriod(a, l);
  for (const auto& [reflect, turn, s] :
       {std::tuple{false, 0.61, 1.0}, std::tuple{false, 1.9, 2.5}, std::tuple{true, -2.2, 0.4}}) {
    SCOPED_TRACE(::testing::Message() << "reflected " << reflect << ", scaled by " << s);
    const Analysis b = faces::analyse(moved(original, reflect, turn, s));
    const std::optional<Lattice> k = faces::findPeriods(b);
    ASSERT_TRUE(k);
    const double tolerance = 1e-5 * s * s * l.area;
    EXPECT_NEAR(k->area, s * s * l.area, tolerance);
    EXPECT_NEAR(dot(k->u, k->u), s * s * dot(l.u, l.u), tolerance);
    EXPECT_NEAR(dot(k->v, k->v), s * s * dot(l.v, l.v), tolerance);
    EXPECT_NEAR(std::abs(dot(k->u, k->v)), s * s * std::abs(dot(l.u, l.v)), tolerance);
    const PerPeriod kper = faces::countPerPeriod(b, *k);
    EXPECT_EQ(kper.faces, per.faces);
    EXPECT_EQ(kper.vertices, per.vertices);
  }
}

INSTANTIATE_TEST_SUITE_P(Drawings, Moved,
                         ::testing::Values("pentatile7", "mixtile2", "pentatile2"));

// --- Faults that must not hide the periods

class Holed : public ::testing::TestWithParam<const char*> {};

// The middle copy of the n x n patch taken out (copies are stored row by
// row, each the same number of segments): its outline, drawn by its
// neighbours too, closes one face unlike the others, which hides no period
// and changes no census.
TEST_P(Holed, HoleIsAProblemAndHidesNoPeriod) {
  const int n = tools::findTilingProgram(GetParam())->latticeSize;
  const std::vector<Segment2> all = drawing(GetParam());
  ASSERT_EQ(all.size() % (n * n), 0u);
  const std::size_t each = all.size() / (n * n), middle = (n / 2) * (n + 1);
  std::vector<Segment2> kept;
  Vec2 gone;  // the mean of the end points taken out
  for (std::size_t k = 0; k < all.size(); ++k)
    if (k / each != middle)
      kept.push_back(all[k]);
    else
      gone = {gone.x + (all[k].a.x + all[k].b.x) / (2.0 * each),
              gone.y + (all[k].a.y + all[k].b.y) / (2.0 * each)};

  const Analysis whole = faces::analyse(all), holed = faces::analyse(kept);
  const Lattice l = *faces::findPeriods(whole);
  const std::optional<Lattice> k = faces::findPeriods(holed);
  ASSERT_TRUE(k);
  EXPECT_LT(length({k->u.x - l.u.x, k->u.y - l.u.y}) + length({k->v.x - l.v.x, k->v.y - l.v.y}),
            1e-4);
  const PerPeriod per = faces::countPerPeriod(whole, l), kper = faces::countPerPeriod(holed, *k);
  EXPECT_EQ(kper.faces, per.faces);
  EXPECT_EQ(kper.vertices, per.vertices);
  ASSERT_EQ(holed.problems.size(), 1u) << holed.verdict();
  EXPECT_EQ(holed.problems[0].kind, faces::ProblemKind::odd);
  EXPECT_LT(length({holed.problems[0].at.x - gone.x, holed.problems[0].at.y - gone.y}),
            0.5 * std::sqrt(l.area));
}

INSTANTIATE_TEST_SUITE_P(Drawings, Holed, ::testing::Values("deltatile", "pentatile1", "quadtile"));

// An edge drawn across a square near the middle cuts it into two triangles
// like each other, so no problem: faces that do not repeat, which neither
// hide the periods nor count in the census.
TEST(StrayEdge, HidesNoPeriod) {
  std::vector<Segment2> segments = drawing("mixtile1");
  const Analysis whole = faces::analyse(segments);
  const Lattice l = *faces::findPeriods(whole);
  Vec2 middle;
  for (const faces::Face& f : whole.faces)
    middle = {middle.x + f.corners[0].x / double(whole.faces.size()),
              middle.y + f.corners[0].y / double(whole.faces.size())};
  const auto away = [&](const faces::Face& f) {
    return length({f.corners[0].x - middle.x, f.corners[0].y - middle.y});
  };
  const faces::Face* square = nullptr;
  for (const faces::Face& f : whole.faces)
    if (f.corners.size() == 4 && (!square || away(f) < away(*square))) square = &f;
  segments.push_back({square->corners[0], square->corners[2]});
  const Analysis strayed = faces::analyse(segments);
  ASSERT_EQ(strayed.faces.size(), whole.faces.size() + 1);
  ASSERT_TRUE(strayed.problems.empty());
  const std::optional<Lattice> k = faces::findPeriods(strayed);
  ASSERT_TRUE(k);
  EXPECT_NEAR(k->area, l.area, 1e-6 * l.area);
  EXPECT_EQ(faces::countPerPeriod(strayed, *k).faces, faces::countPerPeriod(whole, l).faces);
}

// --- Drawings with no two independent periods

// A lone triangle; three rows of squares, whose middle row repeats along
// the strip only; sixty segments at random.
TEST(NoPeriods, LoneTriangleStripOrRandomSegments) {
  const std::vector<Segment2> triangle{{{0, 0}, {4, 0}}, {{4, 0}, {1, 3}}, {{1, 3}, {0, 0}}};
  EXPECT_FALSE(faces::findPeriods(faces::analyse(triangle)));
  std::vector<Segment2> strip, tangle;
  for (int k = 0; k <= 3; ++k) strip.push_back({{0, double(k)}, {12, double(k)}});
  for (int k = 0; k <= 12; ++k) strip.push_back({{double(k), 0}, {double(k), 3}});
  EXPECT_FALSE(faces::findPeriods(faces::analyse(strip)));
  std::mt19937 random(3);
  std::uniform_real_distribution<double> at(0, 20);
  for (int k = 0; k < 60; ++k)
    tangle.push_back({{at(random), at(random)}, {at(random), at(random)}});
  const Analysis a = faces::analyse(tangle);
  ASSERT_GT(a.faces.size(), 100u);
  EXPECT_FALSE(faces::findPeriods(a));
}

}  // namespace
