// Tile-keeping moves of the pentagon tilings whose one tile lies in two or
// three orbits of their group: random drags of vertices and periods keep
// one congruence class and the pentagon's type, where the equations leave
// freedom the shape does change, where they leave none a drag says so, and
// an equation left out lets the tiles drift apart, as plain family drags
// do. Bends of a tied tile's sides are refused with words.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "family/congruent.h"
#include "family/family.h"
#include "family/moves.h"
#include "symmetry/identity.h"
#include "tools/registry.h"

namespace {

using faces::Vec2;

struct Kept {
  faces::Analysis analysis;
  symmetry::Identity identity;
  family::Family family;
  family::Shape shape;
  family::TileKeeping keep;
};

symmetry::Identity identified(const faces::Analysis& a) { return symmetry::identify(a); }

// The named tiling's family under `group` (its own, when empty) and the
// equations that keep its tiles.
Kept kept(const std::string& name, const std::string& group = "") {
  Kept k;
  k.analysis = faces::analyse(faces::sceneSegments(tools::builtScene(*tools::findTilingProgram(name))));
  k.identity = identified(k.analysis);
  const std::vector<family::KeptGroup> offer = family::groupsOnOffer(k.identity);
  const auto g = std::find_if(offer.begin(), offer.end(),
                              [&](const family::KeptGroup& o) { return group.empty() || o.name == group; });
  if (g == offer.end()) return k;
  family::Found found = family::familyOf(k.analysis, k.identity, *g);
  if (!found.family) return k;
  k.family = *found.family;
  k.shape = found.shape;
  k.keep = family::congruenceOf(k.family, k.shape, k.analysis);
  return k;
}

// Three rounds of random drags, by `spread` of the period's size: every
// vertex orbit, then a period. How many of them moved anything.
int dragAbout(const family::Family& f, family::Shape& s, const family::TileKeeping* keep, unsigned seed,
              double spread = 0.03) {
  std::mt19937 random(seed);
  std::normal_distribution<double> step(0, spread * f.size);
  int moved = 0;
  for (int round = 0; round < 3; ++round) {
    for (int k = 0; k < int(f.orbits.size()); ++k) {
      const Vec2 at = family::representativeAt(f, s, k);
      moved += family::moveVertex(f, s, {f.orbits[k].representative, 0, 0},
                                  {at.x + step(random), at.y + step(random)}, keep);
    }
    const Vec2 period = round % 2 ? s.v : s.u;
    moved += family::movePeriod(f, s, round % 2, {period.x + step(random), period.y + step(random)}, keep);
  }
  return moved;
}

struct Reread {
  faces::Analysis analysis;
  symmetry::Identity identity;
};
Reread reread(const family::Family& f, const family::Shape& s) {
  Reread r;
  r.analysis = faces::analyse(family::blockTiles(f, s, 2));
  r.identity = identified(r.analysis);
  return r;
}

// The pentagon's angles, which a similarity leaves alone.
std::vector<double> anglesOf(const faces::Analysis& a) {
  std::vector<double> out = a.classes.at(0).angles;
  std::sort(out.begin(), out.end());
  return out;
}

// A tiling, the group kept, the type its tile must keep, and the freedom
// the equations leave: types 6 and 11 are each five conditions on the six
// numbers that fix a pentagon up to similarity, leaving one, and every
// tiling of such a tile with these adjacencies is fixed by the tile. The
// type-10 pentagon of pentatile5 (angles 90, 90, 90, 135, 135, two short
// sides making up a long one) is held rigid by cmm; under p2 alone it moves
// along one way, where it stays type 1 and leaves type 10.
struct Case {
  const char* name;
  const char* group;
  int type;
  int freedom;
};
const Case moving[] = {
    {"pentatile5", "p2", 1, 1},
    {"pentatile6", "p2", 6, 1},
    {"pentatile7", "pgg", 11, 1},
    // The atlas's types with tiles in two or three orbits and freedom left.
    {"pentagon-type-6", "p2", 6, 1},
    {"pentagon-type-7", "pgg", 7, 1},
    {"pentagon-type-8", "pgg", 8, 1},
    {"pentagon-type-9", "pgg", 9, 1},
    {"pentagon-type-10", "p2", 10, 1},
    {"pentagon-type-11", "pgg", 11, 1},
    {"pentagon-type-12", "pgg", 12, 1},
    {"pentagon-type-13", "pgg", 13, 1},
};
void PrintTo(const Case& c, std::ostream* out) { *out << c.name << " " << c.group; }

class Keeping : public testing::TestWithParam<Case> {};

TEST_P(Keeping, TheOwnShapeKeepsItsTilesAndEachFurtherOrbitIsTiedToTheFirst) {
  const Kept k = kept(GetParam().name, GetParam().group);
  ASSERT_FALSE(k.family.faces.empty());
  EXPECT_TRUE(k.keep.problem.empty()) << k.keep.problem;
  EXPECT_EQ(k.analysis.classes.size(), 1u);
  EXPECT_FALSE(k.keep.pairs.empty());
  EXPECT_LT(family::mismatch(k.family, k.shape, k.keep), family::drawnWithin);
  EXPECT_EQ(family::freedomKeepingTiles(k.family, k.shape, k.keep), GetParam().freedom);
  EXPECT_LT(GetParam().freedom, k.family.freedom);
}

TEST_P(Keeping, RandomDragsKeepOneTileItsTypeAndTheGroupAndChangeTheShape) {
  const Kept k = kept(GetParam().name, GetParam().group);
  ASSERT_FALSE(k.family.faces.empty());
  const family::Family& f = k.family;
  const std::vector<double> before = anglesOf(k.analysis);
  for (unsigned seed : {3u, 11u}) {
    family::Shape s = k.shape;
    EXPECT_GT(dragAbout(f, s, &k.keep, seed), 0);
    ASSERT_FALSE(family::faultOf(f, s));
    EXPECT_LT(family::mismatch(f, s, k.keep), family::drawnWithin);
    const Reread moved = reread(f, s);
    EXPECT_EQ(moved.analysis.verdict(), "tiles without gaps or overlaps");
    ASSERT_EQ(moved.analysis.classes.size(), 1u) << "the one tile split";
    const std::vector<int>& types = moved.identity.types.at(0);
    EXPECT_NE(std::find(types.begin(), types.end(), GetParam().type), types.end())
        << "now types " << symmetry::typeList(types);
    const std::vector<double> after = anglesOf(moved.analysis);
    double change = 0;
    for (std::size_t i = 0; i < after.size(); ++i) change = std::max(change, std::abs(after[i] - before[i]));
    EXPECT_GT(change, 0.1) << "the pentagon's angles stayed";
    const std::vector<family::KeptGroup> offer = family::groupsOnOffer(moved.identity);
    EXPECT_TRUE(std::any_of(offer.begin(), offer.end(), [&](const auto& g) { return g.name == f.keep.name; }));
  }
}

// Without the equations the same drags split the tile.
TEST_P(Keeping, PlainDragsSplitTheTile) {
  const Kept k = kept(GetParam().name, GetParam().group);
  family::Shape s = k.shape;
  dragAbout(k.family, s, nullptr, 3);
  EXPECT_GT(reread(k.family, s).analysis.classes.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(OneTileInSeveralOrbits, Keeping, testing::ValuesIn(moving),
                         [](const auto& info) {
                           std::string name = std::string(info.param.name) + "_" + info.param.group;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

// Drags far and every way, by half the period's size: the tiles stay
// congruent and convex, so the pentagon stays of its type; where a drag
// would take a corner past a straight angle it stops short and says so.
TEST_P(Keeping, FarDragsStopShortOfAConcaveTileAndKeepTheType) {
  const Kept k = kept(GetParam().name, GetParam().group);
  ASSERT_FALSE(k.family.faces.empty());
  const family::Family& f = k.family;
  family::Shape s = k.shape;
  std::mt19937 random(5);
  std::uniform_real_distribution<double> turn(0, 2 * 3.14159265358979323846);
  for (int drag = 0; drag < 12; ++drag) {
    const int orbit = drag % int(f.orbits.size());
    const Vec2 at = family::representativeAt(f, s, orbit);
    const double a = turn(random);
    family::Fault why;
    family::moveVertex(f, s, {f.orbits[orbit].representative, 0, 0},
                       {at.x + 0.5 * f.size * std::cos(a), at.y + 0.5 * f.size * std::sin(a)}, &k.keep, &why);
    ASSERT_FALSE(family::keepingFault(f, s, k.keep)) << "after " << why.what;
  }
  const Reread moved = reread(f, s);
  ASSERT_EQ(moved.analysis.classes.size(), 1u);
  for (double angle : moved.analysis.classes[0].angles) EXPECT_LT(angle, 180);
  const std::vector<int>& types = moved.identity.types.at(0);
  EXPECT_NE(std::find(types.begin(), types.end(), GetParam().type), types.end())
      << "now types " << symmetry::typeList(types);
}

// Types 1 to 5 tile with one orbit of their pentagon: the group alone keeps
// it one tile, and drags that leave it convex keep its type.
TEST(KeepingTiles, TheIsohedralTypesStayOneTileOfTheirTypeUnderTheirGroup) {
  for (int type = 1; type <= 5; ++type) {
    const std::string name = "pentagon-type-" + std::to_string(type);
    const Kept k = kept(name);
    ASSERT_FALSE(k.family.faces.empty()) << name;
    EXPECT_TRUE(k.keep.pairs.empty()) << name << ": nothing to tie";
    const std::vector<double> before = anglesOf(k.analysis);
    family::Shape s = k.shape;
    EXPECT_GT(dragAbout(k.family, s, nullptr, 7, 0.01), 0) << name;
    const Reread moved = reread(k.family, s);
    EXPECT_EQ(moved.analysis.verdict(), "tiles without gaps or overlaps") << name;
    ASSERT_EQ(moved.analysis.classes.size(), 1u) << name;
    const std::vector<int>& types = moved.identity.types.at(0);
    EXPECT_NE(std::find(types.begin(), types.end(), type), types.end())
        << name << " is now of types " << symmetry::typeList(types);
    const std::vector<double> after = anglesOf(moved.analysis);
    double change = 0;
    for (std::size_t i = 0; i < after.size(); ++i) change = std::max(change, std::abs(after[i] - before[i]));
    EXPECT_GT(change, 0.1) << name << ": the pentagon's angles stayed";
  }
}

// pentatile5 under its own cmm: no vertex can move and keep the tiles, and
// a drag says so and leaves the shape as it was; under pgg every vertex of
// pentatile7 moves.
TEST(KeepingTiles, ARigidTilingSaysItsVerticesCannotMove) {
  const Kept k = kept("pentatile5");
  ASSERT_EQ(k.family.keep.name, "cmm");
  EXPECT_EQ(family::freedomKeepingTiles(k.family, k.shape, k.keep), 0);
  const std::vector<bool> free = family::freeOrbits(k.family, k.shape, k.keep);
  EXPECT_EQ(std::count(free.begin(), free.end(), true), 0);
  const int v1 = 0;
  ASSERT_EQ(k.family.orbits[v1].free, 2);
  family::Shape s = k.shape;
  const Vec2 at = family::representativeAt(k.family, s, v1);
  family::Fault why;
  EXPECT_FALSE(family::moveVertex(k.family, s, {k.family.orbits[v1].representative, 0, 0},
                                  {at.x + 0.02 * k.family.size, at.y}, &k.keep, &why));
  EXPECT_EQ(why.what, "V1 cannot move and keep the tiles congruent");
  EXPECT_LT(faces::length(faces::minus(family::representativeAt(k.family, s, v1), at)), 1e-6 * k.family.size);

  const Kept p7 = kept("pentatile7");
  const std::vector<bool> all = family::freeOrbits(p7.family, p7.shape, p7.keep);
  EXPECT_EQ(std::count(all.begin(), all.end(), true), std::ptrdiff_t(all.size()));
}

// An injected fault: of pentatile5's two ties under p2, the one to the
// third orbit left out, drags let that orbit's tiles drift apart.
TEST(KeepingTiles, AnEquationLeftOutLetsTheTilesDriftApart) {
  const Kept k = kept("pentatile5", "p2");
  ASSERT_EQ(k.keep.pairs.size(), 2u);
  family::TileKeeping partial = k.keep;
  partial.pairs.pop_back();
  family::Shape s = k.shape;
  dragAbout(k.family, s, &partial, 3);
  EXPECT_LT(family::mismatch(k.family, s, partial), family::drawnWithin);
  EXPECT_GT(family::mismatch(k.family, s, k.keep), 1e-3);
  EXPECT_EQ(reread(k.family, s).analysis.classes.size(), 2u);
}

// A side of a tied tile refuses a bend, in words; the sides of an
// isohedral tiling's tile, tied to nothing, still bend.
TEST(KeepingTiles, BendsOfTiedTilesAreRefusedWithWords) {
  Kept k = kept("pentatile6");
  int refused = 0;
  for (const family::EdgeOrbit& o : k.family.edgeOrbits) {
    if (o.shape == family::EdgeShape::straight) continue;
    const family::Edge& e = k.family.edges[o.representative];
    const std::vector<Vec2> st = family::placed(k.family, k.shape);
    const Vec2 a = family::cornerAt(k.family, k.shape, st, e.from), b = family::cornerAt(k.family, k.shape, st, e.to);
    std::string why;
    EXPECT_FALSE(family::addBend(k.family, k.shape, o.representative, family::fromEdgeShares(a, b, {0.3, 0.05}),
                                 why, &k.keep));
    EXPECT_NE(why.find(o.name + " bounds a tile kept congruent"), std::string::npos) << why;
    ++refused;
  }
  EXPECT_GT(refused, 0);

  Kept one = kept("pentatile1");
  EXPECT_TRUE(one.keep.pairs.empty());
  const family::EdgeOrbit& o = one.family.edgeOrbits.front();
  const family::Edge& e = one.family.edges[o.representative];
  const std::vector<Vec2> st = family::placed(one.family, one.shape);
  const Vec2 a = family::cornerAt(one.family, one.shape, st, e.from), b = family::cornerAt(one.family, one.shape, st, e.to);
  std::string why;
  if (o.shape != family::EdgeShape::straight) {
    EXPECT_TRUE(family::addBend(one.family, one.shape, o.representative, family::fromEdgeShares(a, b, {0.3, 0.05}),
                                why, &one.keep))
        << why;
  }
}

}  // namespace
