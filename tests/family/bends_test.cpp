// Bent edges over the seventeen, under each tiling's own group and under
// p1: every edge orbit that may bend is bent, and the drawing still tiles,
// every edge of the orbit takes the bend in (each passes through the image
// of the points), and the kept group survives. A half-turn edge bent
// without its half-turn loses the group; edges held straight refuse.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "faces/faces.h"
#include "faces/periods.h"
#include "family/family.h"
#include "family/moves.h"
#include "symmetry/identity.h"
#include "tools/registry.h"

namespace {

using faces::Vec2;

struct Opened {
  faces::Analysis analysis;
  symmetry::Identity identity;
  std::vector<family::KeptGroup> offer;
};

Opened opened(const std::vector<faces::Segment2>& segments, const faces::AnalysisOptions& options = {}) {
  Opened o;
  o.analysis = faces::analyse(segments, options);
  o.identity = symmetry::identify(o.analysis);
  o.offer = family::groupsOnOffer(o.identity);
  return o;
}

// A family's block of 5 x 5 periods, read with curved sides and its
// vertices known.
faces::AnalysisOptions curvedBlock(const family::Family& f, const family::Shape& s) {
  return {true, family::blockVertices(f, s, 2)};
}

bool offers(const Opened& d, const std::string& group) {
  return std::any_of(d.offer.begin(), d.offer.end(), [&](const family::KeptGroup& g) { return g.name == group; });
}

double distanceToPath(Vec2 p, const std::vector<Vec2>& path) {
  double best = INFINITY;
  for (std::size_t k = 0; k + 1 < path.size(); ++k) {
    const Vec2 d = faces::minus(path[k + 1], path[k]);
    const double t = std::clamp(faces::dot(faces::minus(p, path[k]), d) / faces::dot(d, d), 0.0, 1.0);
    best = std::min(best, faces::length(faces::minus(p, faces::plus(path[k], faces::times(t, d)))));
  }
  return best;
}

// Every bendable orbit bent: a point a quarter along its representative,
// pushed off the line by a tenth of the edge (the other way for every other
// orbit, so that neighbouring bends do not meet).
family::Shape bentEverywhere(const family::Family& f, family::Shape s, int& bent) {
  bent = 0;
  for (int o = 0; o < int(f.edgeOrbits.size()); ++o) {
    const family::EdgeOrbit& orbit = f.edgeOrbits[o];
    if (orbit.shape == family::EdgeShape::straight) continue;
    const std::vector<Vec2> st = family::placed(f, s);
    const family::Edge& rep = f.edges[orbit.representative];
    const Vec2 a = family::cornerAt(f, s, st, rep.from), b = family::cornerAt(f, s, st, rep.to);
    std::string why;
    const auto bend = family::addBend(f, s, orbit.representative, family::fromEdgeShares(a, b, {0.25, 0}), why);
    if (!bend) continue;
    family::moveBend(f, s, orbit.representative, *bend, family::fromEdgeShares(a, b, {0.25, o % 2 ? 0.1 : -0.1}));
    ++bent;
  }
  return s;
}

class Bends : public testing::TestWithParam<tools::TilingProgram> {};

TEST_P(Bends, EveryBendableOrbitBentStillTilesAndKeepsTheGroup) {
  const Opened own = opened(faces::sceneSegments(tools::builtScene(GetParam())));
  if (own.offer.empty()) GTEST_SKIP() << "no group";
  for (const family::KeptGroup* keep : {&own.offer.front(), &own.offer.back()}) {
    const family::Found found = family::familyOf(own.analysis, own.identity, *keep);
    if (!found.family) GTEST_SKIP() << found.problem;
    const family::Family& f = *found.family;
    int bent = 0;
    const family::Shape s = bentEverywhere(f, found.shape, bent);
    // Under p1 every side may bend but one that another crosses where
    // copies overlap (pentatile2); a larger group may hold some straight.
    if (keep == &own.offer.back()) {
      EXPECT_GT(bent, 0) << keep->name << ": nothing bent";
    }
    ASSERT_FALSE(family::faultOf(f, s)) << keep->name << ": " << family::faultOf(f, s)->what;
    // Every side of a bent orbit passes through the images of its points.
    const std::vector<Vec2> st = family::placed(f, s);
    for (int e = 0; e < int(f.edges.size()); ++e) {
      const int o = f.edges[e].orbit;
      const std::vector<Vec2> path = family::sidePath(f, s, st, e);
      for (int k = 0; k < int(s.bends[o].size()); ++k)
        EXPECT_LT(distanceToPath(family::bendAt(f, s, st, e, {o, k}), path), 1e-9 * f.size)
            << f.edgeOrbits[o].name << " on edge " << e;
      if (!s.bends[o].empty()) {
        EXPECT_GT(path.size(), 2u);
      }
    }
    const Opened moved = opened(family::blockTiles(f, s, 2), curvedBlock(f, s));
    EXPECT_TRUE(offers(moved, keep->name)) << keep->name << " lost; now "
                                           << (moved.identity.group ? moved.identity.group->name : "none");
    if (own.analysis.count(faces::ProblemKind::sliver) == 0) {
      EXPECT_EQ(moved.analysis.verdict(), "tiles without gaps or overlaps") << keep->name;
      EXPECT_EQ(faces::countPerPeriod(moved.analysis, *moved.identity.lattice).faces,
                faces::countPerPeriod(own.analysis, *own.identity.lattice).faces)
          << keep->name;
    } else {
      // Where copies overlap, the block draws their pieces: bent, it has
      // the same pieces as straight, with no gap, loose end or crossing.
      const Opened straight = opened(family::blockTiles(f, found.shape, 2), curvedBlock(f, found.shape));
      EXPECT_EQ(moved.analysis.faces.size(), straight.analysis.faces.size()) << keep->name;
      for (const auto kind : {faces::ProblemKind::crossing, faces::ProblemKind::dangle, faces::ProblemKind::cut})
        EXPECT_EQ(moved.analysis.count(kind), 0) << keep->name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seventeen, Bends, testing::ValuesIn(tools::tilingPrograms()),
                         [](const auto& info) { return std::string(info.param.name); });

family::Found quadtile(Opened& own) {
  own = opened(faces::sceneSegments(tools::builtScene(*tools::findTilingProgram("quadtile"))));
  return family::familyOf(own.analysis, own.identity, own.offer.front());
}

// A half-turn edge bent as a free one (its second half not the image of
// the first) is no longer carried onto itself by the half-turn.
TEST(BendFaults, AHalfTurnEdgeBentWithoutItsHalfTurnLosesTheGroup) {
  Opened own;
  const family::Found found = quadtile(own);
  family::Family f = *found.family;
  ASSERT_EQ(f.edgeOrbits[0].shape, family::EdgeShape::halfTurn);
  family::Shape s = found.shape;
  s.bends[0] = {{0.3, 0.12}};
  EXPECT_FALSE(family::faultOf(f, s));
  EXPECT_TRUE(offers(opened(family::blockTiles(f, s, 2), curvedBlock(f, s)), "p2"));
  f.edgeOrbits[0].shape = family::EdgeShape::free;  // the fault
  EXPECT_FALSE(offers(opened(family::blockTiles(f, s, 2), curvedBlock(f, s)), "p2"));
}

// A bend pushed across the tile stops before its edge crosses another.
TEST(BendFaults, ABendDraggedAcrossTheTileStopsShortOfCrossing) {
  Opened own;
  const family::Found found = quadtile(own);
  const family::Family& f = *found.family;
  family::Shape s = found.shape;
  const std::vector<Vec2> st = family::placed(f, s);
  const family::Edge& rep = f.edges[f.edgeOrbits[0].representative];
  const Vec2 a = family::cornerAt(f, s, st, rep.from), b = family::cornerAt(f, s, st, rep.to);
  std::string why;
  const auto bend = family::addBend(f, s, f.edgeOrbits[0].representative, family::fromEdgeShares(a, b, {0.3, 0}), why);
  ASSERT_TRUE(bend);
  family::Shape thrown = s;
  thrown.bends[0][0] = {0.3, 3};
  ASSERT_TRUE(family::faultOf(f, thrown));
  EXPECT_EQ(family::faultOf(f, thrown)->what, "E1 crosses an edge");
  family::moveBend(f, s, f.edgeOrbits[0].representative, *bend, family::fromEdgeShares(a, b, {0.3, 3}));
  EXPECT_FALSE(family::faultOf(f, s));
  EXPECT_GT(s.bends[0][0].y, 0.05) << "it did not move";
}

// An edge on a mirror stays straight, and says so.
TEST(BendFaults, AnEdgeOnAMirrorDoesNotBend) {
  const Opened own = opened(faces::sceneSegments(tools::builtScene(*tools::findTilingProgram("mixtile5"))));
  const family::Found found = family::familyOf(own.analysis, own.identity, own.offer.front());
  const family::Family& f = *found.family;
  const auto straight = std::find_if(f.edgeOrbits.begin(), f.edgeOrbits.end(),
                                     [](const family::EdgeOrbit& o) { return o.shape == family::EdgeShape::straight; });
  ASSERT_NE(straight, f.edgeOrbits.end());
  family::Shape s = found.shape;
  std::string why;
  const std::vector<Vec2> st = family::placed(f, s);
  const family::Edge& rep = f.edges[straight->representative];
  const Vec2 middle = faces::times(0.5, faces::plus(family::cornerAt(f, s, st, rep.from), family::cornerAt(f, s, st, rep.to)));
  EXPECT_FALSE(family::addBend(f, s, straight->representative, middle, why));
  EXPECT_EQ(why, straight->name + " lies on a mirror");
}

}  // namespace
