// The identity of each of the seventeen drawings, found from its segments
// alone, against what each tiling is known to be; and the same identity for
// the drawing moved, turned, mirrored and scaled.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "faces/faces.h"
#include "symmetry/identity.h"
#include "tests/symmetry/drawings.h"
#include "tools/registry.h"

namespace {

using namespace symmetry_test;

struct Facts {
  const char* name;
  const char* group;
  int tiles, vertices, edges;  // orbits; -1: not worked out by hand
  std::set<int> types;         // of all its convex pentagon classes
};

void PrintTo(const Facts& f, std::ostream* out) { *out << f.name; }

// Orbits, where a vertex is a point where three or more tiles meet: a
// half-turn fixes no tile and no vertex of odd valence, so in the p2
// tilings its four centres per period lie on edges or at X.Y.X.Y vertices,
// and the counts follow from the census per period.
const std::vector<Facts> facts = {
    // A triangle (quadrilateral) and its half-turn: all corners meet at
    // each vertex; half-turns about the sides' midpoints fix every edge.
    {"deltatile", "p2", 1, 1, 3, {}},
    {"quadtile", "p2", 1, 1, 4, {}},
    // D + E = 180 (CD parallel to EA): type 1; vertices A.B.C twice per
    // period, swapped by the half-turns, and D.E.D.E at a half-turn centre.
    {"pentatile1", "p2", 1, 2, 4, {1}},
    // The overlapping copies cut the pentagons; the joining pentagon has
    // C + E = 180 and a = d (type 2), the given one parallel sides (type 1).
    {"pentatile2", "p2", -1, -1, -1, {1, 2}},
    // A regular hexagon cut from its centre to alternate sides' midpoints:
    // mirrors along the cuts, threefold turns about the hexagon's corners
    // off them.
    {"pentatile3", "p31m", 1, 3, 2, {3}},
    // Quarter turns about the right angles: two fourfold centres and one
    // orbit of four 5.5.5 vertices; edges 4 + 4 + 2 per period.
    {"pentatile4", "p4", 1, 3, 3, {4}},
    // Octagons of four quarter-turned mirror-symmetric pentagons, capped on
    // two opposite short sides: mirrors along the caps' axes, which keep
    // two kinds of octagon pentagon apart. Types 1 (C + D = 180) and 10.
    {"pentatile5", "cmm", 3, 4, 6, {1, 10}},
    // Kershner's type 6; four tiles per period in two orbits, no half-turn
    // centre at a vertex: 4-valent pair swapped, four edges fixed.
    {"pentatile6", "p2", 2, 3, 7, {6}},
    // A pentagon and its mirror image with glides and no mirror: 16
    // three-valent vertices in orbits of four; 24 edges, two orbits through
    // the four half-turn centres. Types 1 and 11 (d = e = 2a + c).
    {"pentatile7", "pgg", 2, 4, 7, {1, 11}},
    // Six turned about B (type 5, 60 and 120 degrees): the rosette centre,
    // the threefold centres, and one general orbit of 5.5.5.
    {"pentatile8", "p6", 1, 3, 3, {5}},
    // The uniform tilings keep their full symmetry: one orbit of vertices.
    {"mixtile1", "p6m", 3, 1, 2, {}},  // 3.4.6.4: square-triangle, square-hexagon edges
    // Snub hexagonal is chiral (p6); one rhombus per period, off every
    // centre, leaves translations only: 8 tiles, 6 vertices, 14 edges.
    {"mixtile2", "p1", 8, 6, 14, {}},
    {"mixtile3", "p6m", 3, 1, 3, {}},  // 4.6.12
    {"mixtile4", "p6m", 2, 1, 2, {}},  // 3.12.12
    {"mixtile5", "p4m", 2, 1, 2, {}},  // 4.8.8
    {"mixtile6", "p6m", 2, 1, 1, {}},  // 3.6.3.6, edge-transitive
    {"mixtile7", "cmm", 2, 1, 3, {}},  // 3.3.3.4.4: rows of squares and triangles
};

std::vector<Segment2> drawing(const char* name) {
  return faces::sceneSegments(tools::builtScene(*tools::findTilingProgram(name)));
}

std::set<int> allTypes(const symmetry::Identity& id) {
  std::set<int> all;
  for (const std::vector<int>& t : id.types) all.insert(t.begin(), t.end());
  return all;
}

class EachTiling : public ::testing::TestWithParam<Facts> {};

TEST_P(EachTiling, IsWhatItIsKnownToBe) {
  const Facts& f = GetParam();
  const symmetry::Identity id = symmetry::identify(faces::analyse(drawing(f.name)));
  ASSERT_TRUE(id.group.has_value());
  EXPECT_EQ(id.group->name, f.group);
  if (f.tiles >= 0) {
    EXPECT_EQ(id.orbits.tiles, f.tiles);
    EXPECT_EQ(id.orbits.vertices, f.vertices);
    EXPECT_EQ(id.orbits.edges, f.edges);
  }
  EXPECT_EQ(allTypes(id), f.types);
}

const Placement placements[] = {
    {"moved", 0, 1, false, {-1234.5, 987.25}},
    {"turned", 37, 1, false, {3, -2}},
    {"mirrored", 0, 1, true, {0, 0}},
    {"scaled", -115, 2.5, true, {17, 41}},
};

TEST_P(EachTiling, IsTheSameMovedTurnedMirroredAndScaled) {
  const std::vector<Segment2> own = drawing(GetParam().name);
  const symmetry::Identity before = symmetry::identify(faces::analyse(own));
  for (const Placement& where : placements) {
    SCOPED_TRACE(where.name);
    const symmetry::Identity after = symmetry::identify(faces::analyse(placed(own, where)));
    ASSERT_TRUE(after.group.has_value());
    EXPECT_EQ(after.group->name, before.group->name);
    EXPECT_EQ(after.orbits.tiles, before.orbits.tiles);
    EXPECT_EQ(after.orbits.vertices, before.orbits.vertices);
    EXPECT_EQ(after.orbits.edges, before.orbits.edges);
    EXPECT_EQ(allTypes(after), allTypes(before));
    ASSERT_TRUE(after.lattice.has_value());
    EXPECT_NEAR(std::abs(after.lattice->area),
                std::abs(before.lattice->area) * where.scale * where.scale,
                1e-3 * std::abs(after.lattice->area));
  }
}

INSTANTIATE_TEST_SUITE_P(Seventeen, EachTiling, ::testing::ValuesIn(facts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Facts, CoverTheSeventeen) { EXPECT_EQ(facts.size(), tools::tilingPrograms().size()); }

TEST(Words, NameTheGroupTheOrbitsAndTheTypes) {
  const symmetry::Identity id = symmetry::identify(faces::analyse(drawing("pentatile4")));
  EXPECT_EQ(symmetry::describe(id), "p4 (442), isohedral, 3-isogonal, 3-isotoxal; pentagon type 4");
}

}  // namespace
