// Straight sides in pieces and overlapping copies. A side through another
// tile's corner bends as one curve, the point on it riding along, and the
// drawing keeps its group and faces; pentatile2's family moves its
// pentagons with the pieces where they overlap, the crossings following
// the sides, and a crossing left behind takes its sides off their lines.
#include <gtest/gtest.h>

#include <random>
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

Opened program(const char* name) { return opened(faces::sceneSegments(tools::builtScene(*tools::findTilingProgram(name)))); }

bool offers(const Opened& d, const std::string& group) {
  return std::any_of(d.offer.begin(), d.offer.end(), [&](const family::KeptGroup& g) { return g.name == group; });
}

double distanceToPath(Vec2 p, const std::vector<Vec2>& path) {
  double best = INFINITY;
  for (std::size_t k = 0; k + 1 < path.size(); ++k) best = std::min(best, faces::distanceToSegment(p, path[k], path[k + 1]));
  return best;
}

int facesPerPeriod(const Opened& d) {
  int n = 0;
  for (const auto& [sides, count] : faces::countPerPeriod(d.analysis, *d.identity.lattice).faces) n += count;
  return n;
}

struct SideCase {
  const char* tiling;
  const char* group;
  int sides;  // sides in pieces among the representatives
};

const SideCase sideCases[] = {{"pentatile3", "p31m", 1}, {"pentatile5", "cmm", 1}, {"pentatile7", "pgg", 1}};

class BentSide : public testing::TestWithParam<SideCase> {};

// Each side in pieces, bent a quarter along and pushed off its line: it
// still tiles, the points on it lie on its curve, and the block read again
// has the group and the faces it had.
TEST_P(BentSide, KeepsItsPointsOnTheCurveTheGroupAndTheFaces) {
  const Opened own = program(GetParam().tiling);
  const auto keep = std::find_if(own.offer.begin(), own.offer.end(),
                                 [&](const family::KeptGroup& g) { return g.name == GetParam().group; });
  ASSERT_NE(keep, own.offer.end());
  const family::Found found = family::familyOf(own.analysis, own.identity, *keep);
  ASSERT_TRUE(found.family) << found.problem;
  const family::Family& f = *found.family;
  int inPieces = 0;
  for (int o = 0; o < int(f.edgeOrbits.size()); ++o) {
    const family::Side& side = f.sides[std::size_t(f.edgeOrbits[o].side)];
    if (side.points.size() < 3) continue;
    ++inPieces;
    ASSERT_NE(f.edgeOrbits[o].shape, family::EdgeShape::straight) << f.edgeOrbits[o].straightWhy;
    family::Shape s = found.shape;
    // A press on the last piece bends the whole side.
    const int edge = side.pieces.back();
    const std::array<Vec2, 2> ends = family::sideEnds(f, s, family::placed(f, s), edge);
    std::string why;
    const auto bend = family::addBend(f, s, edge, family::fromEdgeShares(ends[0], ends[1], {0.25, 0}), why);
    ASSERT_TRUE(bend) << why;
    ASSERT_TRUE(family::moveBend(f, s, edge, *bend, family::fromEdgeShares(ends[0], ends[1], {0.25, 0.08})));
    EXPECT_GT(std::abs(s.bends[o][0].y), 0.02) << "it did not bend";
    ASSERT_FALSE(family::faultOf(f, s));
    const std::vector<Vec2> st = family::placed(f, s);
    for (int e = 0; e < int(f.edges.size()); ++e) {
      const family::Side& on = f.sides[std::size_t(f.edges[e].side)];
      if (on.orbit != o || on.pieces.front() != e) continue;
      const std::vector<Vec2> path = family::sidePath(f, s, st, e);
      for (std::size_t k = 1; k + 1 < on.points.size(); ++k) {
        const family::Corner c = on.points[k];
        const Vec2 p = family::cornerAt(f, s, st, {c.vertex, c.i + f.edges[e].from.i, c.j + f.edges[e].from.j});
        EXPECT_LT(distanceToPath(p, path), 1e-9 * f.size) << f.edgeOrbits[o].name;
        // and not where the straight side had it
        EXPECT_GT(distanceToPath(p, {path.front(), path.back()}), 1e-3 * f.size) << f.edgeOrbits[o].name;
      }
    }
    const Opened moved = opened(family::blockTiles(f, s, 2), {true, family::blockVertices(f, s, 2)});
    EXPECT_EQ(moved.analysis.verdict(), "tiles without gaps or overlaps");
    EXPECT_TRUE(moved.identity.group && moved.identity.group->name == keep->name)
        << (moved.identity.group ? moved.identity.group->name : "none");
    EXPECT_EQ(facesPerPeriod(moved), facesPerPeriod(own));
  }
  EXPECT_EQ(inPieces, GetParam().sides);
}

INSTANTIATE_TEST_SUITE_P(Sides, BentSide, testing::ValuesIn(sideCases),
                         [](const auto& info) { return std::string(info.param.tiling); });

family::Found overlapping(const Opened& own) {
  const auto p2 = std::find_if(own.offer.begin(), own.offer.end(), [](const family::KeptGroup& g) { return g.name == "p2"; });
  return family::familyOf(own.analysis, own.identity, *p2);
}

// Random moves of pentatile2's vertices and periods.
family::Shape movedAtRandom(const family::Family& f, family::Shape s) {
  std::mt19937 random(5);
  std::normal_distribution<double> step(0, 0.01 * f.size);
  for (int round = 0; round < 3; ++round) {
    for (int k = 0; k < int(f.orbits.size()); ++k) {
      const Vec2 at = family::representativeAt(f, s, k);
      family::moveVertex(f, s, {f.orbits[k].representative, 0, 0}, {at.x + step(random), at.y + step(random)});
    }
    const Vec2 period = round % 2 ? s.v : s.u;
    family::movePeriod(f, s, round % 2, {period.x + step(random), period.y + step(random)});
  }
  return s;
}

// Overlapping copies have a family: its crossings are no orbit, moved it
// keeps p2, and the block read again has the same pieces as before.
TEST(Overlaps, MovedTheyKeepTheGroupAndTheirPieces) {
  const Opened own = program("pentatile2");
  const family::Found found = overlapping(own);
  ASSERT_TRUE(found.family) << found.problem;
  const family::Family& f = *found.family;
  ASSERT_GT(f.crossings, 0);
  for (const family::Orbit& o : f.orbits) EXPECT_FALSE(f.vertices[o.representative].crossing) << o.name;
  EXPECT_TRUE(std::any_of(f.faces.begin(), f.faces.end(), [](const family::Face& x) { return x.overlap; }));
  EXPECT_FALSE(family::faultOf(f, found.shape));
  const family::Shape s = movedAtRandom(f, found.shape);
  ASSERT_FALSE(family::faultOf(f, s));
  EXPECT_GT(faces::length(faces::minus(family::representativeAt(f, s, 0), family::representativeAt(f, found.shape, 0))),
            1e-3 * f.size);
  const Opened before = opened(family::blockTiles(f, found.shape, 2));
  const Opened after = opened(family::blockTiles(f, s, 2));
  EXPECT_EQ(after.analysis.faces.size(), before.analysis.faces.size());
  EXPECT_TRUE(offers(after, "p2"));
  // No gap, loose end or crossing: only the overlaps read as slivers, as
  // many as there are pieces where copies overlap.
  int overlaps = 0;
  for (const family::Face& x : f.faces) overlaps += x.overlap;
  for (const Opened* d : {&before, &after}) {
    EXPECT_EQ(d->analysis.count(faces::ProblemKind::crossing) + d->analysis.count(faces::ProblemKind::dangle) +
                  d->analysis.count(faces::ProblemKind::cut),
              0)
        << d->analysis.verdict();
    EXPECT_LE(d->analysis.count(faces::ProblemKind::sliver), 25 * overlaps) << d->analysis.verdict();
    EXPECT_GT(d->analysis.count(faces::ProblemKind::sliver), 0) << d->analysis.verdict();
  }
}

// A side that another crosses stays straight, and says why.
TEST(Overlaps, ASideThroughACrossingDoesNotBend) {
  const Opened own = program("pentatile2");
  const family::Found found = overlapping(own);
  const family::Family& f = *found.family;
  const auto crossed = std::find_if(f.sides.begin(), f.sides.end(), [](const family::Side& s) { return s.crossed; });
  ASSERT_NE(crossed, f.sides.end());
  family::Shape s = found.shape;
  const int edge = crossed->pieces.front();
  const std::array<Vec2, 2> ends = family::sideEnds(f, s, family::placed(f, s), edge);
  std::string why;
  EXPECT_FALSE(family::addBend(f, s, edge, faces::times(0.5, faces::plus(ends[0], ends[1])), why));
  EXPECT_EQ(why, f.edgeOrbits[crossed->orbit].name + " crosses a side of an overlapping copy");
}

// The crossings left where they were while the pentagons move: the pieces
// of a side kink there, off the side drawn whole from corner to corner, and
// the block drawn with its whole sides too has faces between them.
TEST(Overlaps, ACrossingLeftBehindLeavesItsSidesLine) {
  const Opened own = program("pentatile2");
  const family::Found found = overlapping(own);
  const family::Family& f = *found.family;
  const family::Shape s = movedAtRandom(f, found.shape);
  std::vector<Vec2> st = family::placed(f, s);
  const std::vector<Vec2> was = family::placed(f, found.shape);
  const auto withWholeSides = [&](const std::vector<Vec2>& at) {
    std::vector<faces::Segment2> one;
    for (int face = 0; face < int(f.faces.size()); ++face) {
      const std::vector<Vec2> p = family::outlineOf(f, s, at, face).points;
      for (std::size_t k = 0; k < p.size(); ++k) one.push_back({p[k], p[(k + 1) % p.size()]});
    }
    for (const family::Side& side : f.sides)
      if (side.crossed) {
        const std::array<Vec2, 2> ends = family::sideEnds(f, s, at, side.pieces.front());
        one.push_back({ends[0], ends[1]});
      }
    std::vector<faces::Segment2> out;
    for (int i = -2; i <= 2; ++i)
      for (int j = -2; j <= 2; ++j) {
        const Vec2 d = faces::plus(faces::times(i, s.u), faces::times(j, s.v));
        for (const faces::Segment2& e : one) out.push_back({faces::plus(e.a, d), faces::plus(e.b, d)});
      }
    return faces::analyse(out).faces.size();
  };
  const std::size_t sound = withWholeSides(st);
  EXPECT_EQ(sound, faces::analyse(family::blockTiles(f, s, 2)).faces.size());
  for (std::size_t v = f.vertices.size() - std::size_t(f.crossings); v < f.vertices.size(); ++v) st[v] = was[v];
  EXPECT_GT(withWholeSides(st), sound);
}

}  // namespace
