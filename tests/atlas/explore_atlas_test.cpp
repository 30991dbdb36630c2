// The explorer on atlas entries, which have no given points: construction
// mode shows the table's tiling and says why nothing can be dragged;
// symmetry mode finds the family and puts handles on its vertices.
#include <gtest/gtest.h>

#include <algorithm>

#include "atlas/atlas.h"
#include "explore/explorer.h"
#include "explore/link.h"
#include "tools/registry.h"

namespace atlas {
inline void PrintTo(const Entry& e, std::ostream* out) { *out << e.name; }
}  // namespace atlas

namespace {

class EveryEntryExplored : public ::testing::TestWithParam<atlas::Entry> {
 protected:
  const tools::TilingProgram& tiling = *tools::findTilingProgram(GetParam().name);
};

TEST_P(EveryEntryExplored, ConstructionModeSaysWhyNothingIsDragged) {
  explore::Explorer e;
  explore::load(e, tiling, explore::Mode::construction);
  EXPECT_TRUE(explore::handlesOf(e).empty());
  EXPECT_NE(explore::nothingToDrag(e).find("nothing to drag"), std::string::npos);
  EXPECT_TRUE(e.feedback.status.clean) << e.feedback.status.line();
  EXPECT_FALSE(e.analysis.faces.empty());
}

// Every entry opens in symmetry mode with something to move: a handle
// that is not fixed (a vertex or a period), the tiles kept congruent where that leaves freedom
// (not for the rigid types 14 and 15, whose status says why).
TEST_P(EveryEntryExplored, OpensWithSomethingToMove) {
  explore::Explorer e;
  explore::load(e, tiling);
  EXPECT_TRUE(e.feedback.status.clean) << e.feedback.status.line();
  ASSERT_TRUE(explore::inSymmetryMode(e)) << e.family.problem;
  EXPECT_TRUE(explore::nothingToDrag(e).empty());
  EXPECT_GE(shape::freedomNow(e), 1);
  const std::vector<explore::Handle> handles = explore::handlesOf(e);
  EXPECT_TRUE(std::any_of(handles.begin(), handles.end(), [](const explore::Handle& h) { return !h.fixed; }));
  const std::string name(GetParam().name);
  const bool rigid = name == "pentagon-type-14" || name == "pentagon-type-15";
  EXPECT_EQ(e.feedback.status.identity.find("the tiles kept congruent leave nothing to move") != std::string::npos,
            rigid)
      << e.feedback.status.identity;
  if (rigid) {
    EXPECT_FALSE(e.family.tiles.has_value());
  }
}

TEST(AtlasExplored, RegularTilingsHaveTheirSymmetryMode) {
  for (const char* name : {"archimedean-4.4.4.4", "archimedean-3.4.6.4", "pentagon-type-4", "pentagon-type-5"}) {
    explore::Explorer e;
    explore::load(e, *tools::findTilingProgram(name));
    EXPECT_TRUE(explore::inSymmetryMode(e)) << name << ": " << e.family.problem;
  }
}

TEST_P(EveryEntryExplored, ItsLinkOpensIt) {
  const std::string name(GetParam().name);
  const explore::LinkRequest r = explore::readLink("explore.html?tiling=" + name + "&keep=");
  EXPECT_TRUE(r.problems.empty());
  ASSERT_NE(r.program, nullptr);
  EXPECT_EQ(r.program->name, name);
}

INSTANTIATE_TEST_SUITE_P(Atlas, EveryEntryExplored,
                         ::testing::ValuesIn(atlas::entries().begin(), atlas::entries().end()),
                         [](const auto& info) {
                           std::string name(info.param.name);
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
