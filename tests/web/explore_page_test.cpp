// The explorer's web page in headless chromium, from the built site: each
// tiling's status names the group and verdict the native analysis finds; a
// real drag on a handle changes the address and the status, and the address
// opened anew shows the same; malformed addresses open a tiling's own shape
// and say what was wrong; the keys work; on a phone the page fits, fingers
// move handles, pinch and twist, and buttons stand in for the keys; GEOS's
// errors come back as errors in WebAssembly.
#include <gtest/gtest.h>

#include <algorithm>

#include <unistd.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "shape/segments_text.h"
#include "tests/testbed/program.h"
#include "tools/registry.h"

namespace {

using Lines = std::map<std::string, std::vector<std::string>>;

bool haveChromium() { return testbed::runCommand("test -x /usr/bin/chromium").status == 0; }

testbed::CommandResult drive(const std::string& args) {
  return testbed::runCommand("cd " WEB_DIR " && timeout 280 node test/drive.mjs " + args +
                             " 2>&1");
}

// drive.mjs's tab-separated lines by their first field.
Lines linesOf(const std::string& output) {
  Lines lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    std::istringstream row(line);
    for (std::string f; std::getline(row, f, '\t');) fields.push_back(f);
    if (fields.empty()) continue;
    const std::string key = fields.front();
    lines[key].assign(fields.begin() + 1, fields.end());
  }
  return lines;
}

// The value of "key": "..." in tilings-analyse's JSON.
std::string jsonString(const std::string& json, const std::string& key) {
  const std::string mark = "\"" + key + "\": \"";
  const std::size_t at = json.find(mark);
  if (at == std::string::npos) return "";
  const std::size_t from = at + mark.size();
  return json.substr(from, json.find('"', from) - from);
}

std::string beforeColon(const std::string& s) { return s.substr(0, s.find(':')); }

std::string joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& l : lines) all += l + "\n";
  return all;
}

#define SKIP_WITHOUT_CHROMIUM() \
  if (!haveChromium()) GTEST_SKIP() << "chromium is not installed (Ubuntu has it only as a snap)"

// All seventeen in one browser: the status's first line is NAME: VERDICT,
// its identity line opens with GROUP (ORBIFOLD), as tilings-analyse says of
// the program's own drawing (the counts after a verdict's colon are of the
// explorer's block, not of the program's scene, and may differ).
TEST(ExplorePage, EveryTilingNamesItsGroupAndVerdictAsTheNativeAnalysis) {
  SKIP_WITHOUT_CHROMIUM();
  std::string names;
  for (const tools::TilingProgram& p : tools::tilingPrograms()) names.append(" ").append(p.name);
  const testbed::CommandResult page = drive("explore " WEB_SITE + names);
  ASSERT_EQ(page.status, 0) << page.output;
  const Lines shown = linesOf(page.output);
  for (const tools::TilingProgram& p : tools::tilingPrograms()) {
    const std::string name(p.name);
    SCOPED_TRACE(name);
    const testbed::CommandResult native = testbed::runCommand(TILINGS_ANALYSE " " + name + " --json");
    ASSERT_EQ(native.status, 0) << native.output;
    ASSERT_TRUE(shown.count(name)) << page.output;
    const std::vector<std::string>& status = shown.at(name);
    ASSERT_GE(status.size(), 4u) << joined(status);
    ASSERT_EQ(status[0].rfind(name + ": ", 0), 0u) << status[0];
    EXPECT_EQ(beforeColon(status[0].substr(name.size() + 2)),
              beforeColon(jsonString(native.output, "verdict")));
    const std::string group = jsonString(native.output, "group") + " (" +
                              jsonString(native.output, "orbifold") + ")";
    EXPECT_EQ(status[3].substr(0, group.size()), group) << status[3];
  }
}

// The first movable handle, found by its orange in the canvas, dragged with
// the mouse far enough that pentatile1's pentagon stops tiling.
TEST(ExplorePage, ADragChangesTheAddressAndTheStatusAndTheAddressSharesIt) {
  SKIP_WITHOUT_CHROMIUM();
  const testbed::CommandResult page = drive("drag " WEB_SITE " pentatile1 60 30");
  ASSERT_EQ(page.status, 0) << page.output;
  const Lines l = linesOf(page.output);
  const std::string own = "?tiling=pentatile1&A=1,3&B=2,1&C=6,3&D=7,7&E=2,7";
  ASSERT_EQ(l.at("before.address"), std::vector<std::string>{own});
  ASSERT_EQ(l.at("after.address").size(), 1u);
  const std::string after = l.at("after.address")[0];
  EXPECT_NE(after, own);
  EXPECT_EQ(after.rfind("?tiling=pentatile1&A=1,3&", 0), 0u) << after;
  EXPECT_EQ(l.at("before.status")[0], "pentatile1: tiles without gaps or overlaps");
  EXPECT_NE(l.at("after.status"), l.at("before.status"));
  EXPECT_EQ(l.at("shared.status"), l.at("after.status"));
  EXPECT_EQ(l.at("shared.address"), l.at("after.address"));
  EXPECT_TRUE(l.at("shared.problems").empty()) << joined(l.at("shared.problems"));
  EXPECT_FALSE(l.at("steps").empty()) << "no drag step was timed";
}

// In symmetry mode, the page's default from the site's links, a real drag
// of a vertex handle keeps the tiling and its group, and the address holds
// the new shape with its kept group.
TEST(ExplorePage, ASymmetryDragKeepsTheVerdictAndTheGroup) {
  SKIP_WITHOUT_CHROMIUM();
  const testbed::CommandResult page = drive("drag " WEB_SITE " '?tiling=pentatile1&keep=' 40 25");
  ASSERT_EQ(page.status, 0) << page.output;
  const Lines l = linesOf(page.output);
  const std::string before = l.at("before.address")[0], after = l.at("after.address")[0];
  EXPECT_EQ(before.rfind("?tiling=pentatile1&keep=p2&V1=", 0), 0u) << before;
  EXPECT_EQ(after.rfind("?tiling=pentatile1&keep=p2&V1=", 0), 0u) << after;
  EXPECT_NE(after, before);
  for (const char* when : {"before.status", "after.status"}) {
    const std::vector<std::string>& status = l.at(when);
    EXPECT_EQ(status[0], "pentatile1: tiles without gaps or overlaps") << when;
    EXPECT_NE(joined(status).find("p2 (2222)"), std::string::npos) << joined(status);
    EXPECT_NE(joined(status).find("keeps p2, 4 degrees of freedom"), std::string::npos) << joined(status);
  }
  EXPECT_EQ(l.at("shared.status"), l.at("after.status"));
  EXPECT_TRUE(l.at("shared.problems").empty()) << joined(l.at("shared.problems"));
}

// One pentagon in two orbits: the page opens keeping them congruent, as
// the window does, says so, and a drag's address carries it.
TEST(ExplorePage, OneTileInTwoOrbitsOpensKeptCongruent) {
  SKIP_WITHOUT_CHROMIUM();
  const testbed::CommandResult page = drive("drag " WEB_SITE " '?tiling=pentatile6&keep=' 40 25");
  ASSERT_EQ(page.status, 0) << page.output;
  const Lines l = linesOf(page.output);
  for (const char* when : {"before.address", "after.address"}) {
    const std::string address = l.at(when)[0];
    EXPECT_EQ(address.rfind("?tiling=pentatile6&keep=p2&", 0), 0u) << address;
    EXPECT_TRUE(address.ends_with("&tiles=congruent")) << address;
  }
  EXPECT_NE(joined(l.at("after.status")).find("keeps p2, tiles kept congruent, 1 degree of freedom"),
            std::string::npos)
      << joined(l.at("after.status"));
  EXPECT_EQ(l.at("after.status")[0], "pentatile6: tiles without gaps or overlaps");
}

struct Malformed {
  const char* query;
  const char* opens;  // the tiling whose own shape shows
  const char* said;   // words of the problem shown
};

constexpr Malformed malformed[] = {
    {"tiling=pentatile9", "deltatile", "there is no tiling 'pentatile9'; the tilings are deltatile, mixtile1,"},
    {"A=1,2", "deltatile", "the link names no tiling (tiling=NAME)"},
    {"tiling=quadtile&P2=x,1", "quadtile", "point P2 is 'x,1', not two finite numbers"},
    {"tiling=quadtile&P2=1e99,1", "quadtile", "point P2 is '1e99,1', not two finite numbers"},
    {"tiling=pentatile1&Z=1,1", "pentatile1", "pentatile1 has no point 'Z'; its points are A, B, C, D, E"},
};

// Each opens its tiling's own shape with its status and handles, never a
// blank page, and says what was wrong; the address becomes the shape's.
TEST(ExplorePage, MalformedAddressesOpenTheOwnShapeAndSayWhatWasWrong) {
  SKIP_WITHOUT_CHROMIUM();
  for (const Malformed& m : malformed) {
    SCOPED_TRACE(m.query);
    const testbed::CommandResult page = drive(std::string("link " WEB_SITE " '") + m.query + "'");
    ASSERT_EQ(page.status, 0) << page.output;
    const Lines l = linesOf(page.output);
    ASSERT_FALSE(l.at("status").empty());
    EXPECT_EQ(beforeColon(l.at("status")[0]), m.opens);
    EXPECT_EQ(l.at("canvas"), std::vector<std::string>{"1"});
    EXPECT_FALSE(l.at("labels").empty());
    EXPECT_TRUE(l.at("errors").empty()) << joined(l.at("errors"));
    ASSERT_EQ(l.at("problems").size(), 1u) << page.output;
    EXPECT_NE(l.at("problems")[0].find(m.said), std::string::npos) << l.at("problems")[0];
    EXPECT_EQ(l.at("address")[0].rfind(std::string("?tiling=") + m.opens + "&", 0), 0u);
  }
}

// The keys as in the window: h shows the help as page text, e downloads the
// shape's SVG, n opens the next tiling with its address and title.
TEST(ExplorePage, KeysShowTheHelpDownloadTheSvgAndStepToTheNextTiling) {
  SKIP_WITHOUT_CHROMIUM();
  const std::string out = "/tmp/explore-page-test-" + std::to_string(::getpid());
  testbed::runCommand("mkdir -p " + out);
  const testbed::CommandResult page = drive("keys " WEB_SITE " " + out);
  testbed::runCommand("rm -rf " + out);
  ASSERT_EQ(page.status, 0) << page.output;
  const Lines l = linesOf(page.output);
  ASSERT_GE(l.at("help").size(), 4u) << page.output;
  const std::vector<std::string>& help = l.at("help");
  EXPECT_TRUE(std::any_of(help.begin(), help.end(), [](const std::string& line) {
    return line.find("f: filled faces on or off") != std::string::npos;
  })) << page.output;
  EXPECT_EQ(l.at("download"), (std::vector<std::string>{"pentatile1-explored.svg", "<?xml"}));
  EXPECT_EQ(l.at("next.address")[0].rfind("?tiling=pentatile2&A=", 0), 0u);
  EXPECT_EQ(beforeColon(l.at("next.status")[0]), "pentatile2");
  EXPECT_EQ(l.at("title"), std::vector<std::string>{"tilings-explore: pentatile2"});
}

// --- On a phone (390 x 844 CSS pixels at pixel ratio 3, touch), with real
// touch events: drive.mjs phone.

std::vector<double> numbers(const Lines& l, const std::string& key) {
  std::vector<double> v;
  for (const std::string& f : l.count(key) ? l.at(key) : std::vector<std::string>{}) v.push_back(std::stod(f));
  return v;
}

// Handle h seen from the fingers' middle m, scaled by `factor` and turned
// `degrees` clockwise as seen (the screen's y runs down).
std::vector<double> movedAbout(const std::vector<double>& h, const std::vector<double>& m,
                               double factor, double degrees) {
  const double a = degrees * std::numbers::pi / 180, x = h.at(0) - m.at(0), y = h.at(1) - m.at(1);
  return {m[0] + factor * (x * std::cos(a) - y * std::sin(a)),
          m[1] + factor * (x * std::sin(a) + y * std::cos(a))};
}

void expectNear(const std::vector<double>& got, const std::vector<double>& want, double within) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t k = 0; k < got.size(); ++k) EXPECT_NEAR(got[k], want[k], within) << "at " << k;
}

#define PHONE_LINES()                                  \
  SKIP_WITHOUT_CHROMIUM();                             \
  const testbed::CommandResult run = drive("phone " WEB_SITE); \
  ASSERT_EQ(run.status, 0) << run.output;              \
  const Lines l = linesOf(run.output)

// No sideways scroll, upright (a square canvas the page's width) or turned;
// the buffer three times the CSS size; turning keeps each handle where it
// was about the canvas's middle, in canvas heights.
TEST(ExplorePhone, ThePageFitsTheScreenAndTheCanvasDrawsAtThePixelRatio) {
  PHONE_LINES();
  expectNear(numbers(l, "fit"), {390, 390}, 0);
  expectNear(numbers(l, "canvas"), {390, 390, 1170, 1170}, 0);
  const std::vector<double> turned = numbers(l, "turned.canvas");
  expectNear(numbers(l, "turned.fit"), {844, 844}, 0);
  ASSERT_EQ(turned.size(), 4u);
  EXPECT_GE(turned[0], 844 - 32);
  expectNear({turned[2], turned[3]}, {3 * turned[0], 3 * turned[1]}, 1);
  ASSERT_FALSE(numbers(l, "turned.before").empty());
  expectNear(numbers(l, "turned.after"), numbers(l, "turned.before"), 0.01);
}

TEST(ExplorePhone, APinchScalesAndATwistTurnsAHandleAboutTheFingersMiddle) {
  PHONE_LINES();
  expectNear(numbers(l, "pinch.after"),
             movedAbout(numbers(l, "pinch.before"), numbers(l, "pinch.middle"), 1.5, 0), 1.5);
  expectNear(numbers(l, "twist.after"),
             movedAbout(numbers(l, "twist.before"), numbers(l, "twist.middle"), 1, 30), 1.5);
}

// A finger lands 20 CSS pixels off a handle, where a pointer would miss it,
// and moves it with itself; a tap on Next tiling steps.
TEST(ExplorePhone, AFingerMovesAHandleFromAFingertipAwayAndTheButtonsStep) {
  PHONE_LINES();
  const std::vector<double> before = numbers(l, "finger.before");
  ASSERT_EQ(before.size(), 2u);
  expectNear(numbers(l, "finger.after"), {before[0] + 40, before[1] + 20}, 1.5);
  EXPECT_NE(l.at("finger.address.after"), l.at("finger.address.before"));
  EXPECT_EQ(l.at("next.address")[0].rfind("?tiling=pentatile2&", 0), 0u) << l.at("next.address")[0];
}

// The page's Open drawing, through its own file chooser: a tiling's stored
// drawing opens as a tiling named after its file, in its group, its link in
// the address, and that address opened anew shows the same; a file that is
// no periodic tiling leaves the drawing shown and says why in the status.
TEST(ExplorePage, OpenDrawingOpensASegmentsFileAndItsLinkGoesInTheAddress) {
  SKIP_WITHOUT_CHROMIUM();
  const std::string dir = testing::TempDir();
  const std::string good = dir + "/five-sided.txt", bad = dir + "/one-segment.txt";
  {
    std::ofstream out(good);
    shape::writeSegments(out, tools::builtScene(*tools::findTilingProgram("pentatile1")));
    std::ofstream(bad) << "0 0 1 0\n";
  }
  const testbed::CommandResult page = drive("drawing " WEB_SITE " " + good + " " + bad);
  ASSERT_EQ(page.status, 0) << page.output;
  const Lines l = linesOf(page.output);
  ASSERT_TRUE(l.count("five-sided.txt.status")) << page.output;
  const std::vector<std::string>& status = l.at("five-sided.txt.status");
  ASSERT_GE(status.size(), 4u) << joined(status);
  EXPECT_EQ(status[0], "five-sided: tiles without gaps or overlaps");
  EXPECT_EQ(status[3].rfind("p2 (2222)", 0), 0u) << status[3];
  EXPECT_EQ(l.at("five-sided.txt.title"), std::vector<std::string>{"tilings-explore: five-sided"});
  const std::string address = l.at("five-sided.txt.address")[0];
  EXPECT_EQ(address.rfind("?drawing=five-sided&periods=", 0), 0u) << address;
  EXPECT_TRUE(l.at("errors").empty()) << joined(l.at("errors"));

  EXPECT_EQ(l.at("one-segment.txt.status"),
            std::vector<std::string>{"one-segment.txt: the segments close no face"});
  EXPECT_EQ(l.at("one-segment.txt.address")[0], address);

  const testbed::CommandResult shared = drive("link " WEB_SITE " '" + address.substr(1) + "'");
  ASSERT_EQ(shared.status, 0) << shared.output;
  const Lines again = linesOf(shared.output);
  EXPECT_EQ(again.at("status"), status);
  EXPECT_TRUE(again.at("problems").empty()) << joined(again.at("problems"));
  EXPECT_EQ(again.at("address")[0], address);
}

// GEOS built for WebAssembly, run under Node.js: its errors come back as a
// null result with its message, it keeps working, and the analysis's
// exceptions reach the catch that the explorer relies on.
TEST(ExplorePage, GeosErrorsComeBackAsErrorsInWebAssembly) {
  const testbed::CommandResult run =
      testbed::runCommand("node " WEB_BUILD "/test/geos_errors_test.js 2>&1");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("ok: unfinished text is an error: ParseException"), std::string::npos)
      << run.output;
  EXPECT_EQ(run.output.find("FAILED"), std::string::npos) << run.output;
}

// What a visitor downloads before the first frame: the module, its glue and
// the page's script, as a server sends them (gzip -9). GEOS's classes carry
// virtual functions that nothing here calls (WKT text, relate, distance);
// the link leaves them out, and with them the WKT writer's words. Losing
// that, the bitcode link or the shortened glue puts the page far past its
// weight.
TEST(ExplorePage, ThePageLeavesOutWhatNoCallReachesAndTravelsLight) {
  std::ifstream in(WEB_SITE "/explore.wasm", std::ios::binary);
  ASSERT_TRUE(in) << "no " WEB_SITE "/explore.wasm";
  const std::string module((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(module.find("MULTIPOLYGON"), std::string::npos) << "GEOS's WKT writer is in the module";

  double kilobytes = 0;
  for (const char* file : {"explore.wasm", "explore.js", "explore-page.js"}) {
    const testbed::CommandResult gz =
        testbed::runCommand(std::string("gzip -9c " WEB_SITE "/") + file + " | wc -c");
    ASSERT_EQ(gz.status, 0) << gz.output;
    kilobytes += std::stod(gz.output) / 1000;
  }
  EXPECT_LT(kilobytes, 400) << "the explorer page weighs " << kilobytes << " KB after gzip";
}

}  // namespace
