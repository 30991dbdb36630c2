// The atlas's pentagon types 6 to 15, checked from their segments alone:
// each patch tiles with one class of convex pentagon of its type, in two or
// three orbits of tiles under its group, with the table's periods; with one
// of its copies moved, or a corner of its pentagon moved, it does not.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "atlas/atlas.h"
#include "faces/faces.h"
#include "symmetry/identity.h"
#include "symmetry/pentagons.h"

namespace {

struct Known {
  const char* name;
  int type;
  const char* group;
  int tileOrbits;
};

void PrintTo(const Known& k, std::ostream* out) { *out << k.name; }

// clang-format off
const std::vector<Known> known = {
    {"pentagon-type-6", 6, "p2", 2},    {"pentagon-type-7", 7, "pgg", 2},
    {"pentagon-type-8", 8, "pgg", 2},   {"pentagon-type-9", 9, "pgg", 2},
    {"pentagon-type-10", 10, "p2", 3},  {"pentagon-type-11", 11, "pgg", 2},
    {"pentagon-type-12", 12, "pgg", 2}, {"pentagon-type-13", 13, "pgg", 2},
    {"pentagon-type-14", 14, "p2", 3},  {"pentagon-type-15", 15, "pgg", 3},
};
// clang-format on

const atlas::Entry& entry(const char* name) {
  const atlas::Entry* e = atlas::findEntry(name);
  if (!e) throw std::runtime_error(std::string("no entry ") + name);
  return *e;
}

faces::Analysis analysed(const atlas::Entry& e) {
  clearScene();
  atlas::storePatch(e, e.latticeSize);
  return faces::analyse(faces::sceneSegments(Scene));
}

bool has(const std::vector<int>& types, int t) {
  return std::find(types.begin(), types.end(), t) != types.end();
}

// Tiles, with one class of convex pentagon, of type `type`.
bool tilesWithType(const faces::Analysis& a, int type) {
  return a.verdict() == "tiles without gaps or overlaps" && a.classes.size() == 1 &&
         has(symmetry::pentagonTypes(a.classes[0]), type);
}

class EachType : public ::testing::TestWithParam<Known> {};

TEST_P(EachType, TilesWithOnePentagonOfItsType) {
  const Known& k = GetParam();
  const atlas::Entry& e = entry(k.name);
  EXPECT_GE(e.latticeSize, 5);
  const faces::Analysis a = analysed(e);
  EXPECT_EQ(a.verdict(), "tiles without gaps or overlaps");
  ASSERT_EQ(a.classes.size(), 1u);
  EXPECT_EQ(a.classes[0].sides, 5);
  for (double angle : a.classes[0].angles) EXPECT_LT(angle, 180) << "convex";
  const std::vector<int> types = symmetry::pentagonTypes(a.classes[0]);
  EXPECT_TRUE(has(types, k.type)) << symmetry::typeList(types);
  const symmetry::Identity id = symmetry::identify(a);
  ASSERT_TRUE(id.group.has_value());
  EXPECT_EQ(id.group->name, std::string(k.group));
  EXPECT_EQ(id.orbits.tiles, k.tileOrbits);
  // The table's periods are the drawing's smallest ones.
  ASSERT_TRUE(id.lattice.has_value());
  const double area = std::abs(e.u.x * e.v.y - e.u.y * e.v.x);
  EXPECT_NEAR(std::abs(id.lattice->area), area, 1e-4 * area);
  EXPECT_EQ(std::lround(area / a.classes[0].area), static_cast<long>(e.copies.size()));
}

// A copy left out is still drawn by its neighbours' sides, a hole of its
// own shape; mirrored, a copy may land on its mirror-image neighbour. A copy
// moved a tenth of side b cuts its neighbours.
TEST_P(EachType, WithACopyMovedItIsNoLongerATilingOfItsType) {
  atlas::Entry e = entry(GetParam().name);
  const std::vector<atlas::Vec>& tile = e.prototiles[0];
  atlas::Placement& copy = e.copies[e.copies.size() / 2];
  copy.shift.x += 0.1 * std::hypot(tile[1].x - tile[0].x, tile[1].y - tile[0].y);
  const faces::Analysis a = analysed(e);
  EXPECT_FALSE(tilesWithType(a, GetParam().type)) << a.verdict() << ", classes " << a.classes.size();
}

TEST_P(EachType, WithACornerMovedItIsNoLongerATilingOfItsType) {
  atlas::Entry e = entry(GetParam().name);
  std::vector<atlas::Vec>& tile = e.prototiles[0];
  // Corner C moved by a thousandth of side b, across it.
  const double b = std::hypot(tile[1].x - tile[0].x, tile[1].y - tile[0].y);
  tile[2].y += 1e-3 * b;
  EXPECT_FALSE(tilesWithType(analysed(e), GetParam().type));
}

INSTANTIATE_TEST_SUITE_P(AtlasTypes6To15, EachType, ::testing::ValuesIn(known),
                         [](const auto& info) { return "type" + std::to_string(info.param.type); });

// The two single shapes as published: type 14's angle C is
// arccos((3 sqrt 57 - 17) / 16), its sides 2a = 2c = d = e; type 15's
// closing sides are a = e = c.
TEST(AtlasSingleShapes, AreThePublishedOnes) {
  const faces::Analysis fourteen = analysed(entry("pentagon-type-14"));
  ASSERT_EQ(fourteen.classes.size(), 1u);
  std::vector<double> angles = fourteen.classes[0].angles;
  std::sort(angles.begin(), angles.end());
  const double C = std::acos((3 * std::sqrt(57.0) - 17) / 16) * 180 / std::numbers::pi;
  EXPECT_NEAR(angles[0], C, 1e-3);
  EXPECT_NEAR(angles[1], 90, 1e-3);
  EXPECT_NEAR(angles[2], 180 - C, 1e-3);
  EXPECT_NEAR(angles[3], 90 + C / 2, 1e-3);
  EXPECT_NEAR(angles[4], 180 - C / 2, 1e-3);
  const std::vector<atlas::Vec>& p = entry("pentagon-type-15").prototiles[0];
  const auto side = [&](int k) {
    const atlas::Vec a = p[static_cast<std::size_t>(k)], b = p[static_cast<std::size_t>((k + 1) % 5)];
    return std::hypot(b.x - a.x, b.y - a.y);
  };
  EXPECT_NEAR(side(3), side(1), 1e-12);  // e = c
  EXPECT_NEAR(side(4), side(1), 1e-12);  // a = c
}

}  // namespace
