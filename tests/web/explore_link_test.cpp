// The link that shares a shape: written from every tiling's explorer and
// read back it gives the same points, to the float; malformed links open
// the tiling's own shape and name what was wrong.
#include <gtest/gtest.h>

#include <string>

#include "explore/explorer.h"
#include "explore/link.h"
#include "tools/registry.h"

namespace {

using explore::readLink;

bool mentions(const std::vector<std::string>& problems, const std::string& words) {
  for (const std::string& p : problems)
    if (p.find(words) != std::string::npos) return true;
  return false;
}

class EveryTiling : public ::testing::TestWithParam<tools::TilingProgram> {};

// A dragged point, written into the link and read back into a fresh
// explorer, lands on the same float; the link names every given point.
TEST_P(EveryTiling, LinkReadBackGivesTheSamePoints) {
  explore::Explorer e;
  explore::load(e, GetParam(), explore::Mode::construction);
  const std::size_t k = e.points.size() - 1;
  Point to = e.points[k];
  to.x += 0.1f, to.y -= 0.05f;
  explore::movePoint(e, k, to);
  const std::string link = explore::linkOf(e);
  EXPECT_EQ(link.rfind("explore.html?tiling=" + std::string(GetParam().name) + "&", 0), 0u) << link;

  const explore::LinkRequest r = readLink(link);
  EXPECT_TRUE(r.problems.empty()) << r.problems.front();
  ASSERT_EQ(r.program->name, GetParam().name);
  ASSERT_EQ(r.points.size(), e.points.size());
  explore::Explorer shared;
  explore::load(shared, *r.program, r.mode);
  EXPECT_TRUE(explore::applyLink(shared, r.points).empty());
  for (std::size_t i = 0; i < e.points.size(); ++i) {
    EXPECT_EQ(shared.points[i].x, e.points[i].x) << link;
    EXPECT_EQ(shared.points[i].y, e.points[i].y) << link;
  }
  EXPECT_EQ(explore::linkOf(shared), link);
}

// Whole tens and tiny values are written out in plain digits: an exponent's
// '+' would read back as a space.
TEST(Link, RoundValuesAreWrittenWithoutAnExponent) {
  explore::Explorer e;
  explore::load(e, *tools::findTilingProgram("pentatile1"), explore::Mode::construction);
  explore::movePoint(e, 2, Point{10, 0.00001f, 0, 9});
  const std::string link = explore::linkOf(e);
  EXPECT_EQ(link.find('e', link.find("&A=")), std::string::npos) << link;
  EXPECT_NE(link.find("&C=10,0.00001&"), std::string::npos) << link;
  const explore::LinkRequest r = readLink(link);
  EXPECT_TRUE(r.problems.empty()) << r.problems.front();
}

INSTANTIATE_TEST_SUITE_P(Seventeen, EveryTiling, ::testing::ValuesIn(tools::tilingPrograms()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExploreLink, AMissingPointKeepsItsOwnValueAndEscapesAreRead) {
  const explore::LinkRequest r = readLink("?tiling=pentatile1&B=2.5%2C-1&&C=3,4e-1");
  EXPECT_TRUE(r.problems.empty());
  ASSERT_EQ(r.points.size(), 2u);
  EXPECT_EQ(r.points[0].index, 1u);
  EXPECT_EQ(r.points[0].value.x, 2.5f);
  EXPECT_EQ(r.points[0].value.y, -1.0f);
  EXPECT_EQ(r.points[1].index, 2u);
  EXPECT_EQ(r.points[1].value.y, 0.4f);
}

struct Malformed {
  const char* link;
  const char* opens;
  std::size_t pointsKept;
  const char* said;  // empty: nothing is wrong
};

// Each opens a tiling, never nothing, and says in words what it left out.
constexpr Malformed malformed[] = {
    {"", "deltatile", 0, ""},
    {"?", "deltatile", 0, ""},
    {"?tiling=pentatile9&A=1,2", "deltatile", 0, "there is no tiling 'pentatile9'; the tilings are deltatile, mixtile1"},
    {"?A=1,2", "deltatile", 0, "names no tiling"},
    {"?tiling=pentatile1&Q=1,2&B=1,2", "pentatile1", 1, "pentatile1 has no point 'Q'; its points are A, B, C, D, E"},
    {"?tiling=pentatile1&B=1", "pentatile1", 0, "point B is '1', not two finite numbers"},
    {"?tiling=pentatile1&B=nan,2", "pentatile1", 0, "point B is 'nan,2'"},
    {"?tiling=pentatile1&B=1,inf", "pentatile1", 0, "point B is '1,inf'"},
    {"?tiling=pentatile1&B=1e39,0", "pentatile1", 0, "point B is '1e39,0'"},
    {"?tiling=pentatile1&B=1,2,3", "pentatile1", 0, "point B is '1,2,3'"},
    {"?tiling=pentatile1&B=", "pentatile1", 0, "point B is ''"},
    {"?tiling=pentatile1&B=%zz,1", "pentatile1", 0, "point B is '%zz,1'"},
    {"?tiling=pentatile1&B=+1,2", "pentatile1", 0, "point B is ' 1,2'"},
    {"https://x.org/explore.html?tiling=quadtile&P2=7,1#top", "quadtile", 1, ""},
};

TEST(ExploreLink, MalformedLinksOpenTheOwnShapeAndSayWhatWasWrong) {
  for (const Malformed& m : malformed) {
    SCOPED_TRACE(m.link);
    const explore::LinkRequest r = readLink(m.link);
    ASSERT_NE(r.program, nullptr);
    EXPECT_EQ(r.program->name, std::string(m.opens));
    EXPECT_EQ(r.points.size(), m.pointsKept);
    if (*m.said == '\0')
      EXPECT_TRUE(r.problems.empty()) << r.problems.front();
    else
      EXPECT_TRUE(mentions(r.problems, m.said)) << (r.problems.empty() ? "" : r.problems.front());
  }
}

// A fixed point (pentatile2's first) cannot be moved by a link either.
TEST(ExploreLink, AFixedPointStaysAndIsNamed) {
  for (const tools::TilingProgram& p : tools::tilingPrograms()) {
    explore::Explorer e;
    explore::load(e, p, explore::Mode::construction);
    if (!explore::pinned(e, 0)) continue;
    const Point own = e.points[0];
    const std::vector<std::string> problems = explore::applyLink(e, {{0, {own.x + 1, own.y, 0, 9}}});
    EXPECT_EQ(e.points[0].x, own.x) << p.name;
    EXPECT_TRUE(mentions(problems, " is fixed at ")) << p.name;
    EXPECT_TRUE(explore::applyLink(e, {{0, own}}).empty()) << p.name;
  }
}

}  // namespace
