// Shapes shared as links, through tilings-analyse --link and tilings-export
// --link: a shape moved in the explorer reports the same family and
// positions from the command line; links that cannot be used are refused
// with a clear word and status, and a vertex off its mirror is put back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <utility>
#include <vector>
#include <string>

#include "explore/explorer.h"
#include "explore/link.h"
#include "family/moves.h"
#include "shape/link.h"
#include "shape/opened.h"
#include "tests/testbed/program.h"
#include "tools/registry.h"

namespace {

using testbed::runCommand;

const std::string analyser = testbed::programPath("tilings-analyse");
const std::string exporter = testbed::programPath("tilings-export");

std::string quoted(const std::string& s) { return "'" + s + "'"; }

struct BadLink {
  const char* what;
  const char* link;
  int status;
  const char* says;
};

const BadLink badLinks[] = {
    {"UnknownGroup", "?tiling=quadtile&keep=p7", 2, "there is no group 'p7' to keep for quadtile; it may keep p2, p1"},
    {"GroupNotContained", "?tiling=quadtile&keep=p4", 2, "there is no group 'p4' to keep for quadtile"},
    {"UnknownVertex", "?tiling=quadtile&keep=p2&V9=1,2", 2, "quadtile has no vertex 'V9'; its vertices are V1, u, v"},
    {"NotFinite", "?tiling=quadtile&keep=p2&V1=inf,2", 2, "V1 is 'inf,2', not two finite numbers x,y"},
    {"NotANumber", "?tiling=quadtile&keep=p2&u=3,x", 2, "u is '3,x', not two finite numbers x,y"},
    {"UnknownTiling", "?tiling=hexatile&keep=p2", 2, "there is no tiling 'hexatile'"},
    {"OverlapsKeepNoMoreThanTheirGroup", "?tiling=pentatile2&keep=p4", 2,
     "there is no group 'p4' to keep for pentatile2; it may keep p2, p1"},
    {"Folded", "?tiling=pentatile1&keep=p2&V1=2.2,7", 1, "the shape does not tile: V1 "},
    {"FoldedPeriods", "?tiling=quadtile&keep=p2&u=-3,6&v=3,3", 1, "the shape does not tile: the periods fold"},
    {"MalformedBend", "?tiling=quadtile&keep=p2&E1=5.3,2.1;x", 2, "E1 is '5.3,2.1;x', not points x,y;x,y;"},
    {"EmptyBendPoint", "?tiling=quadtile&keep=p2&E1=5.3,2.1;", 2, "E1 is '5.3,2.1;', not points"},
    {"UnknownEdge", "?tiling=quadtile&keep=p2&E9=1,1", 2, "quadtile has no edge 'E9'; its edges are E1 to E4"},
    {"BendOnAMirror", "?tiling=mixtile5&keep=p4m&E1=3,-0.5", 2, "E1 lies on a mirror: it cannot bend"},
    {"UnknownCurve", "?tiling=quadtile&keep=p2&curve=wavy", 2, "curve is 'wavy', not smooth or straight"},
    {"UnknownTiles", "?tiling=pentatile7&keep=pgg&tiles=alike", 2, "tiles is 'alike', not congruent"},
    {"NoTilesToKeep", "?tiling=quadtile&keep=p2&tiles=congruent", 2,
     "quadtile has no congruent tiles in different orbits of p2 to keep congruent"},
    {"CrossingBend", "?tiling=quadtile&keep=p2&E1=7,1", 1, "the shape does not tile: E1 crosses an edge"},
};

class LinkRefused : public testing::TestWithParam<BadLink> {};

TEST_P(LinkRefused, WithItsStatusAndWhy) {
  for (const std::string& tool : {analyser, exporter + " --segments"}) {
    const testbed::CommandResult r = runCommand(tool + " --link " + quoted(GetParam().link) + " 2>&1 >/dev/null");
    EXPECT_EQ(r.status, GetParam().status) << tool << ": " << r.output;
    EXPECT_NE(r.output.find(GetParam().says), std::string::npos) << tool << ": " << r.output;
  }
}

INSTANTIATE_TEST_SUITE_P(Links, LinkRefused, testing::ValuesIn(badLinks),
                         [](const auto& info) { return std::string(info.param.what); });

// Whether a link keeps the tiles: as it says; unsaid, as the explorer
// opens when it carries no shape, and free when it carries one, as every
// link written before the tiles could be kept.
struct TilesInLink {
  const char* link;
  bool kept;
};

class TilesKeptByLink : public testing::TestWithParam<TilesInLink> {};

TEST_P(TilesKeptByLink, AsItSaysOrAsItWasWritten) {
  shape::Opened opened;
  std::ostringstream errors;
  ASSERT_EQ(shape::openLink(opened, GetParam().link, "test", errors), 0) << errors.str();
  EXPECT_EQ(opened.family.tiles.has_value(), GetParam().kept) << GetParam().link;
  EXPECT_EQ(shape::linkOf(opened).find("&tiles=congruent") != std::string::npos, GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Links, TilesKeptByLink,
                         testing::Values(TilesInLink{"?tiling=pentatile6&keep=p2", true},
                                         TilesInLink{"?tiling=pentatile6&keep=p2&tiles=free", false},
                                         TilesInLink{"?tiling=pentatile6&keep=p2&tiles=congruent", true},
                                         TilesInLink{"?tiling=pentatile6&keep=p2&u=2,8.8284", false},
                                         TilesInLink{"?tiling=pentatile6&keep=p2&u=2,8.8284&tiles=congruent", true},
                                         TilesInLink{"?tiling=quadtile&keep=p2", false},
                                         // Kept, its tiles would leave nothing to move.
                                         TilesInLink{"?tiling=pentagon-type-15&keep=pgg", false}));

// A bent shape read from its link passes through its points and still
// tiles, with its faces as many as the straight one's, and its cut file
// is the size asked.
TEST(Link, ABentShapeAnalysesAsATilingAndCuts) {
  const std::string link = "'?tiling=quadtile&keep=p2&E1=3.3,1.1&E3=5,2.2'";
  const testbed::CommandResult r = runCommand(analyser + " --link " + link + " --json");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("\"faces\": {\"4\": 50}"), std::string::npos) << r.output.substr(0, 200);
  EXPECT_NE(r.output.find("\"verdict\": \"tiles without gaps or overlaps\""), std::string::npos);
  const std::string svg = testing::TempDir() + "bent-cut.svg";
  ASSERT_EQ(runCommand(exporter + " --link " + link + " --cut --size 120x80mm -o " + svg).status, 0);
  const testbed::CommandResult text = runCommand("cat " + svg);
  EXPECT_NE(text.output.find("width=\"120mm\" height=\"80mm\""), std::string::npos) << text.output.substr(0, 300);
}

// A vertex off its mirror is put back onto it, and standard error says so;
// the shape is analysed all the same.
TEST(Link, AVertexOffItsMirrorIsPutBack) {
  const testbed::CommandResult r =
      runCommand(analyser + " --link '?tiling=mixtile1&keep=p6m&V1=9.7,9.5' --json 2>&1");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("tilings-analyse: V1 is put back onto its mirror"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("\"verdict\": \"tiles without gaps or overlaps\""), std::string::npos);
}

// "at": [x, y] of the named vertex in the JSON.
bool readAt(const std::string& json, const std::string& name, double& x, double& y) {
  const std::size_t at = json.find("{\"name\": \"" + name + "\", \"at\": [");
  if (at == std::string::npos) return false;
  return std::sscanf(json.c_str() + json.find('[', at), "[%lf, %lf]", &x, &y) == 2;
}

class LinkOfEach : public testing::TestWithParam<tools::TilingProgram> {};

// A shape moved in the explorer, written as a link and read by the tools,
// is the same shape: same kept group and freedom, every representative
// where the explorer has it (in the stored drawing's frame), and a tiling.
TEST_P(LinkOfEach, MovedInTheExplorerReadsBackFromTheCommandLine) {
  explore::Explorer e;
  explore::load(e, GetParam());
  if (!explore::inSymmetryMode(e)) GTEST_SKIP() << "no family: " << e.family.problem;
  const std::vector<explore::Handle> handles = explore::handlesOf(e);
  for (std::size_t k = 0; k < handles.size(); ++k)
    if (!handles[k].fixed) {
      const float by = float(0.02 * e.layout.size);
      explore::movePoint(e, k, Point{handles[k].at.x + by, handles[k].at.y - by, 0, 9});
    }
  const std::string link = explore::linkOf(e);
  const testbed::CommandResult r = runCommand(analyser + " --link " + quoted(link) + " --json");
  ASSERT_EQ(r.status, 0) << link;
  const family::Family& f = *e.family.family;
  EXPECT_NE(r.output.find("\"family\": {\"keep\": \"" + f.keep.name + "\", \"freedom\": " +
                          std::to_string(f.freedom)),
            std::string::npos)
      << r.output.substr(r.output.find("\"family\""));
  // A tiling, or, where copies overlap, the explorer's own verdict.
  const std::string verdict = GetParam().name == "pentatile2" ? e.analysis.verdict() : "tiles without gaps or overlaps";
  EXPECT_NE(r.output.find("\"verdict\": \"" + verdict + "\""), std::string::npos) << link;
  for (int k = 0; k < int(f.orbits.size()); ++k) {
    const faces::Vec2 p = shape::exportFrame(e, family::representativeAt(f, e.family.shape, k));
    double x = 0, y = 0;
    ASSERT_TRUE(readAt(r.output, f.orbits[k].name, x, y)) << f.orbits[k].name;
    EXPECT_NEAR(x, p.x, 1e-4 * f.size) << f.orbits[k].name << " in " << link;
    EXPECT_NEAR(y, p.y, 1e-4 * f.size) << f.orbits[k].name << " in " << link;
  }
  // The exported block is the explorer's, segment for segment.
  const testbed::CommandResult segments = runCommand(exporter + " --link " + quoted(link) + " --segments");
  ASSERT_EQ(segments.status, 0);
  EXPECT_EQ(std::size_t(std::count(segments.output.begin(), segments.output.end(), '\n')),
            e.placed.segments.size());
}

// Positions are in one frame, the stored drawing's: every vertex that
// `tilings-analyse NAME` reports lies, give or take whole periods, on a
// segment that `tilings-export NAME --segments` writes, and a link built
// from those
// positions puts nothing back and reports them again.
TEST_P(LinkOfEach, PositionsFromTheAnalysisAreTheStoredDrawingsAndOpenAsALink) {
  const std::string name(GetParam().name);
  const testbed::CommandResult own = runCommand(analyser + " " + name + " --json");
  ASSERT_EQ(own.status, 0);
  if (own.output.find("\"family\": null") != std::string::npos) GTEST_SKIP() << "no family";
  const testbed::CommandResult stored = runCommand(exporter + " " + name + " --segments");
  ASSERT_EQ(stored.status, 0);
  std::vector<faces::Segment2> drawn;
  {
    std::istringstream lines(stored.output);
    double ax, ay, bx, by;
    while (lines >> ax >> ay >> bx >> by) drawn.push_back({{ax, ay}, {bx, by}});
  }
  const std::size_t keepAt = own.output.find("\"keep\": \"");
  ASSERT_NE(keepAt, std::string::npos);
  const std::string keep = own.output.substr(keepAt + 9, own.output.find('"', keepAt + 9) - keepAt - 9);
  std::string link = "?tiling=" + name + "&keep=" + keep;
  faces::Vec2 u, w;
  const std::size_t periods = own.output.find("\"periods\": {\"u\": [", keepAt);
  ASSERT_NE(periods, std::string::npos);
  ASSERT_EQ(std::sscanf(own.output.c_str() + periods, "\"periods\": {\"u\": [%lf, %lf], \"v\": [%lf, %lf]", &u.x,
                        &u.y, &w.x, &w.y),
            4);
  std::vector<std::pair<std::string, faces::Vec2>> at;
  for (int k = 1;; ++k) {
    std::string v = "V";
    v += std::to_string(k);
    double x = 0, y = 0;
    if (!readAt(own.output, v, x, y)) break;
    at.push_back({v, {x, y}});
    link += "&" + v + "=" + std::to_string(x) + "," + std::to_string(y);
    // The stored patch starts at its first copy; a representative may lie a
    // few periods off it.
    double nearest = 1e9;
    for (int i = -3; i <= 3; ++i)
      for (int j = -3; j <= 3; ++j) {
        const faces::Vec2 p{x + i * u.x + j * w.x, y + i * u.y + j * w.y};
        for (const faces::Segment2& d : drawn) nearest = std::min(nearest, faces::distanceToSegment(p, d.a, d.b));
      }
    EXPECT_LT(nearest, 1e-3) << v << " (" << x << ", " << y << ") lies on no stored segment";
  }
  ASSERT_FALSE(at.empty());
  const testbed::CommandResult back = runCommand(analyser + " --link '" + link + "' --json 2>&1");
  ASSERT_EQ(back.status, 0) << link << "\n" << back.output.substr(0, 300);
  EXPECT_EQ(back.output.find("put back"), std::string::npos) << link << "\n" << back.output.substr(0, 300);
  for (const auto& [v, p] : at) {
    double x = 0, y = 0;
    ASSERT_TRUE(readAt(back.output, v, x, y)) << v;
    EXPECT_NEAR(x, p.x, 1e-4) << v << " in " << link;
    EXPECT_NEAR(y, p.y, 1e-4) << v << " in " << link;
  }
}

// A link's numbers read back as the floats they stand for, in as few digits
// as that takes, and float noise about zero is written 0.
TEST(LinkNumbers, AreTheShortestThatReadBackAndNoiseIsZero) {
  struct Case {
    double value, size;
    const char* written;
  } cases[] = {{0.00000000000000011860285, 8.66, "0"}, {0.0000005364418, 10, "0"},
               {-0.0000005, 10, "0"},                 {10, 10, "10"},
               {8.660254037844386, 10, "8.6602545"},     {-1.0355339059327378, 6, "-1.0355339"},
               {0.001, 1, "0.001"},                     {123456789, 1, "123456792"}};
  for (const Case& c : cases) {
    const std::string text = shape::linkNumber(c.value, c.size);
    EXPECT_EQ(text, c.written) << c.value;
    EXPECT_EQ(text.find_first_of("e+"), std::string::npos) << text;
  }
}

// Every number in the link of each tiling's own shape reads back as the
// same float, and none is float noise about zero.
TEST_P(LinkOfEach, CarriesNoFloatNoise) {
  explore::Explorer e;
  explore::load(e, GetParam());
  const std::string link = explore::linkOf(e);
  std::size_t at = 0;
  while ((at = link.find_first_of("=,;", at)) != std::string::npos) {
    ++at;
    const std::size_t end = link.find_first_of(",;&", at);
    const std::string number = link.substr(at, end - at);
    char* stop = nullptr;
    const double value = std::strtod(number.c_str(), &stop);
    if (stop == number.c_str()) continue;  // a name: tiling=..., keep=...
    EXPECT_TRUE(value == 0 || std::fabs(value) > 1e-6 * e.layout.size) << number << " in " << link;
    EXPECT_EQ(shape::linkNumber(float(value), e.layout.size), number) << link;
  }
}

INSTANTIATE_TEST_SUITE_P(Seventeen, LinkOfEach, testing::ValuesIn(tools::tilingPrograms()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
