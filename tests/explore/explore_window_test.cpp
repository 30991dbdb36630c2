// tilings-explore in a real window on the private display, driven by real X
// events: handle drags on deltatile and quadtile keep the tiling and its
// trace shows the moved tiling, a pentagon dragged far breaks and the status
// says how, the keys step through all seventeen, and `e` writes the shape.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "explore/explorer.h"
#include "tests/explore/handles.h"
#include "tests/explore/running.h"
#include "tests/testbed/program.h"

namespace {

using testbed::RunningProgram;

using exploretest::handles;
using exploretest::Pixel2;
using exploretest::awaitLine;
using exploretest::outputLines;
using exploretest::quit;
using exploretest::windowOf;

std::unique_ptr<RunningProgram> explorer(const std::string& name, bool traced = false) {
  return exploretest::explorerWith({name}, traced);
}

// The explorer in construction mode: a link without a kept group.
std::unique_ptr<RunningProgram> constructing(const std::string& name, bool traced = false) {
  return explorer("?tiling=" + name, traced);
}

// The last status line printed for `name`.
std::string lastStatus(const RunningProgram& program, const std::string& name) {
  std::string status;
  for (const std::string& line : outputLines(program))
    if (line.rfind(name + " | ", 0) == 0) status = line;
  return status;
}

// Presses `key` in the window; the status for `name` once it says `part`
// (or no longer does, with `says` false), or after three seconds.
std::string pressUntil(const RunningProgram& program, unsigned long window, const std::string& key,
                       const std::string& name, const std::string& part, bool says = true) {
  testbed::xdotool("key --window " + std::to_string(window) + " " + key);
  for (int i = 0; i < 100 && (lastStatus(program, name).find(part) != std::string::npos) != says; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  return lastStatus(program, name);
}

std::string at(unsigned long window, double x, double y) {
  return " mousemove --window " + std::to_string(window) + " " + std::to_string(int(std::lround(x))) +
         " " + std::to_string(int(std::lround(y)));
}

void drag(unsigned long window, Pixel2 from, Pixel2 by) {
  std::string chain = at(window, from.x, from.y) + " mousedown 1";
  for (double t : {0.25, 0.5, 0.75, 1.0}) chain += at(window, from.x + t * by.x, from.y + t * by.y);
  testbed::xdotool(chain.substr(1) + " mouseup 1");
}

std::vector<Point> pointsIn(const std::string& line, std::size_t count) {
  std::vector<Point> points;
  std::size_t from = 0;
  for (std::size_t k = 0; k < count; ++k) {
    from = line.find('(', from);
    if (from == std::string::npos) break;
    Point p;
    std::sscanf(line.c_str() + from, "(%f, %f)", &p.x, &p.y);
    points.push_back(p);
    ++from;
  }
  return points;
}

// The GL_LINES segments of the last frame a trace recorded: the explorer
// draws them from a vertex array, whose contents apitrace keeps as a blob
// beside the glVertexPointer call.
std::vector<Segment> lastFrameLines(const std::string& trace) {
  const std::vector<testbed::GlCall> calls = testbed::dumpTrace(trace);
  int swaps = 0;
  for (const testbed::GlCall& c : calls) swaps += c.name == "glXSwapBuffers";
  long pointer = -1, lines = -1;
  for (const testbed::GlCall& c : testbed::frameCalls(calls, swaps - 1)) {
    if (c.name == "glVertexPointer") pointer = c.number;
    if (c.name == "glDrawArrays" && c.arg("mode") == "GL_LINES") lines = pointer;
  }
  if (lines < 0) return {};
  const std::filesystem::path blobs = std::filesystem::path(trace).parent_path() / "blobs";
  std::filesystem::create_directories(blobs);
  testbed::runCommand("cd '" + blobs.string() + "' && apitrace dump --blobs --calls=" +
                      std::to_string(lines) + " '" + std::filesystem::absolute(trace).string() +
                      "' >/dev/null 2>&1");
  std::ifstream in(blobs / ("blob_call" + std::to_string(lines) + ".bin"), std::ios::binary);
  std::vector<float> xy;
  for (float f; in.read(reinterpret_cast<char*>(&f), sizeof f);) xy.push_back(f);
  std::vector<Segment> segments;
  for (std::size_t k = 0; k + 3 < xy.size(); k += 4)
    segments.push_back(Segment{{xy[k], xy[k + 1], 0, 9}, {xy[k + 2], xy[k + 3], 0, 9}, 9});
  return segments;
}

// Do the drawn segments hold every one of `built` moved by one vector? The
// vector is found by trying each drawn segment as the first built one.
bool drawnMovedAsAWhole(const std::vector<Segment>& drawn, const std::vector<Segment>& built) {
  auto key = [](double x, double y) {
    return std::to_string(std::lround(x * 1000)) + "," + std::to_string(std::lround(y * 1000));
  };
  std::set<std::string> ends;
  for (const Segment& s : drawn) ends.insert(key(s.a.x, s.a.y) + " " + key(s.b.x, s.b.y));
  for (const Segment& first : drawn) {
    const double dx = first.a.x - built[0].a.x, dy = first.a.y - built[0].a.y;
    bool all = true;
    for (std::size_t k = 0; k < built.size() && all; ++k)
      all = ends.count(key(built[k].a.x + dx, built[k].a.y + dy) + " " +
                       key(built[k].b.x + dx, built[k].b.y + dy)) > 0;
    if (all) return true;
  }
  return false;
}

// q ends the explorer; its window is gone before xdotool can send the key's
// release, so xdotool's own status says nothing.

class ExploreDrag : public ::testing::TestWithParam<const char*> {};

TEST_P(ExploreDrag, HandleDragKeepsTheTilingAndTheTraceShowsTheMovedTiling) {
  const std::string name = GetParam();
  const tools::TilingProgram& tiling = *tools::findTilingProgram(name);
  const auto running = constructing(name, true);
  RunningProgram& program = *running;
  const unsigned long window = windowOf(program);
  const std::vector<Pixel2> before = handles(testbed::screenshot(window));
  ASSERT_EQ(before.size(), tiling.givenPoints().size());
  awaitLine(program, name + " | ");

  const Pixel2 by{35, 20}, to{before[0].x + by.x, before[0].y + by.y};
  drag(window, before[0], by);
  const std::vector<Point> moved =
      pointsIn(awaitLine(program, "points: "), tiling.givenPoints().size());
  EXPECT_TRUE(lastStatus(program, name).ends_with("| tiles without gaps or overlaps"))
      << program.standardOutput();

  // The handle followed the cursor: it shows where the button was let go.
  bool underCursor = false;
  for (const Pixel2& h : handles(testbed::screenshot(window)))
    underCursor = underCursor || std::hypot(h.x - to.x, h.y - to.y) < 2.5;
  EXPECT_TRUE(underCursor);

  // One point moved, and the last frame draws the program's own scene from
  // the moved points, moved as a whole, with more copies all around it.
  const std::vector<Point> own = tiles::givenValues(tiling.givenPoints());
  ASSERT_EQ(moved.size(), own.size());
  int changed = 0;
  for (std::size_t k = 0; k < own.size(); ++k) changed += moved[k].x != own[k].x || moved[k].y != own[k].y;
  EXPECT_EQ(changed, 1);
  // Quit with q rather than a signal: the explorer draws only when
  // something changes, and its few frames reach the trace for sure when it
  // exits normally.
  quit(program, window);
  const std::vector<Segment> drawn = lastFrameLines(program.tracePath());
  const std::vector<Segment> built = tools::builtScene(tiling, moved, 3).segments;
  EXPECT_GT(drawn.size(), 4 * built.size());
  EXPECT_TRUE(drawnMovedAsAWhole(drawn, built));
  // The same check fails for the shape before the drag.
  EXPECT_FALSE(drawnMovedAsAWhole(drawn, tools::builtScene(tiling, own, 3).segments));
}

INSTANTIATE_TEST_SUITE_P(AnyShapeTiles, ExploreDrag, ::testing::Values("deltatile", "quadtile"),
                         [](const auto& info) { return std::string(info.param); });

TEST(Explore, PentagonDraggedFarBreaksAndTheStatusSaysHow) {
  const auto running = constructing("pentatile1");
  RunningProgram& program = *running;
  const unsigned long window = windowOf(program);
  const std::vector<Pixel2> before = handles(testbed::screenshot(window));
  ASSERT_EQ(before.size(), 5u);
  EXPECT_TRUE(awaitLine(program, "pentatile1 | ").ends_with("| tiles without gaps or overlaps"));
  // D, the rightmost corner, pulled down and to the right.
  Pixel2 d = before[0];
  for (const Pixel2& h : before)
    if (h.x > d.x) d = h;
  drag(window, d, {120, 70});
  awaitLine(program, "points: ");
  const std::string status = lastStatus(program, "pentatile1");
  EXPECT_TRUE(status.find("| gaps or overlaps: ") != std::string::npos ||
              status.find("| does not tile cleanly: ") != std::string::npos)
      << status;
  // The holes or overlaps show red.
  const testbed::Image after = testbed::screenshot(window);
  int red = 0;
  for (const testbed::Pixel& p : after.pixels) red += p == testbed::Pixel{0xd0, 0x10, 0x10};
  EXPECT_GT(red, 2000);
}

// Middle drags downwards, each from the top of the window to its bottom.
void zoomOut(unsigned long window, int drags) {
  std::string chain;
  for (int k = 0; k < drags; ++k)
    chain += at(window, 500, 5) + " mousedown 2" + at(window, 500, 690) + " mouseup 2";
  testbed::xdotool(chain.substr(1));
}

// Pixels of the window's clear colour below the status lines: where the
// drawing has run out.
int emptyPixels(const testbed::Image& shot) {
  int empty = 0;
  for (int y = 60; y < shot.height; ++y)
    for (int x = 0; x < shot.width; ++x) {
      const testbed::Pixel p = shot.at(x, y);
      empty += std::abs(p.r - 230) <= 1 && std::abs(p.g - 230) <= 1 && std::abs(p.b - 204) <= 1;
    }
  return empty;
}

// The line vertices of each frame a trace recorded.
std::vector<long> lineVerticesPerFrame(const std::string& trace) {
  std::vector<long> counts{0};
  for (const testbed::GlCall& c : testbed::dumpTrace(trace)) {
    if (c.name == "glDrawArrays" && c.arg("mode") == "GL_LINES") counts.back() += long(c.number_arg("count"));
    if (c.name == "glXSwapBuffers") counts.push_back(0);
  }
  counts.pop_back();
  return counts;
}

class ExploreEndless : public ::testing::TestWithParam<const char*> {};

// However far the view zooms out, pans and turns, the tiling fills the
// window to every edge; zooming out stops where frames would get slow, at
// 80 000 vertices.
TEST_P(ExploreEndless, ZoomedOutAndPannedFarTheWindowStaysFull) {
  const auto running = constructing(GetParam(), true);
  RunningProgram& program = *running;
  const unsigned long window = windowOf(program);
  ASSERT_FALSE(handles(testbed::screenshot(window)).empty());
  EXPECT_EQ(emptyPixels(testbed::screenshot(window)), 0);
  zoomOut(window, 24);
  std::string chain;
  for (int k = 0; k < 6; ++k)
    chain += at(window, 60, 80) + " mousedown 1" + at(window, 500, 400) + at(window, 1000, 690) +
             " mouseup 1";
  chain += at(window, 200, 300) + " mousedown 3" + at(window, 500, 350) + " mouseup 3";
  testbed::xdotool(chain.substr(1));
  const testbed::Image far = testbed::screenshot(window);
  EXPECT_TRUE(handles(far).empty()) << "the view did not leave the handles";
  EXPECT_EQ(emptyPixels(far), 0);
  zoomOut(window, 4);
  quit(program, window);
  const std::vector<long> lines = lineVerticesPerFrame(program.tracePath());
  ASSERT_GE(lines.size(), 2u);
  EXPECT_GT(lines.back(), 3 * lines.front());
  for (long n : lines) EXPECT_LE(n, 80000);
}

INSTANTIATE_TEST_SUITE_P(Tilings, ExploreEndless,
                         ::testing::Values("deltatile", "pentatile7", "pentatile8", "mixtile1", "mixtile2"),
                         [](const auto& info) { return std::string(info.param); });

TEST(Explore, KeysStepThroughEveryTilingAndQuit) {
  const auto running = explorer("deltatile");
  RunningProgram& program = *running;
  const unsigned long window = windowOf(program);
  const std::string id = std::to_string(window);
  auto title = [&] { return testbed::runCommand("xdotool getwindowname " + id).output; };
  auto press = [&](const std::string& key, const std::string& expected) {
    testbed::xdotool("key --window " + id + " " + key);
    std::string now;
    for (int i = 0; i < 100 && (now = title()) != "tilings-explore: " + expected + "\n"; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(now, "tilings-explore: " + expected + "\n") << "after " << key;
  };
  const auto all = tools::everyTiling();
  for (std::size_t k = 1; k <= all.size(); ++k)
    press(k % 2 ? "n" : "Next", std::string(all[k % all.size()].name));
  press("Prior", std::string(all.back().name));
  press("p", std::string(all[all.size() - 2].name));
  // Each program opened printed its status line once.
  for (const tools::TilingProgram& p : all)
    EXPECT_FALSE(lastStatus(program, std::string(p.name)).empty()) << p.name;
  quit(program, window);
}

TEST(Explore, EWritesTheShownShapeAsSvg) {
  const std::filesystem::path svg = std::filesystem::current_path() / "quadtile-explored.svg";
  std::filesystem::remove(svg);
  const auto running = explorer("quadtile");
  RunningProgram& program = *running;
  const unsigned long window = windowOf(program);
  testbed::xdotool("key --window " + std::to_string(window) + " e");
  EXPECT_EQ(awaitLine(program, "wrote "), "wrote " + svg.string());
  std::ifstream in(svg);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  std::size_t lines = 0;
  for (std::size_t at = text.find("<line "); at != std::string::npos; at = text.find("<line ", at + 1))
    ++lines;
  explore::Explorer shown;
  explore::load(shown, *tools::findTilingProgram("quadtile"));
  EXPECT_EQ(lines, shown.placed.segments.size());
  std::filesystem::remove(svg);
}

// In symmetry mode, the default, a drag of a vertex handle moves it and its
// images and keeps the tiling and its group, even dragged far; a smaller
// kept group frees more; the link printed on letting go opens the same
// shape; m switches to the given points.
TEST(ExploreSymmetry, AVertexDragKeepsTheVerdictAndTheGroup) {
  const auto running = explorer("pentatile1");
  RunningProgram& program = *running;
  const unsigned long window = windowOf(program);
  const std::string first = awaitLine(program, "pentatile1 | ");
  EXPECT_NE(first.find("p2 (2222)"), std::string::npos) << first;
  EXPECT_NE(first.find("keeps p2, 4 degrees of freedom"), std::string::npos) << first;
  // Every vertex of a period and the two periods: more handles than points.
  const std::vector<Pixel2> before = handles(testbed::screenshot(window));
  ASSERT_GT(before.size(), 3u);
  for (const Pixel2 by : {Pixel2{25, 15}, Pixel2{-220, 160}}) {
    const std::vector<Pixel2> now = handles(testbed::screenshot(window));
    drag(window, now[0], by);
    awaitLine(program, "shape: ");
    const std::string status = lastStatus(program, "pentatile1");
    EXPECT_TRUE(status.ends_with("| tiles without gaps or overlaps")) << status;
    EXPECT_NE(status.find("p2 (2222)"), std::string::npos) << status;
    EXPECT_NE(status.find("2 pentagons per period"), std::string::npos) << status;
  }
  const std::string link = awaitLine(program, "link: ").substr(6);
  EXPECT_EQ(link.rfind("explore.html?tiling=pentatile1&keep=p2&V1=", 0), 0u) << link;
  const std::string shape = awaitLine(program, "shape: ");
  const std::string moved = lastStatus(program, "pentatile1");

  EXPECT_NE(pressUntil(program, window, "g", "pentatile1", "keeps p1").find("keeps p1, "), std::string::npos);
  testbed::xdotool("key --window " + std::to_string(window) + " m");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(handles(testbed::screenshot(window)).size(), 5u) << "construction mode: the five given points";
  quit(program, window);

  // The link opens the dragged shape again.
  const auto again = explorer(link);
  const unsigned long second = windowOf(*again);
  EXPECT_EQ(awaitLine(*again, "pentatile1 | "), moved);
  quit(*again, second);
}

// One pentagon in two orbits of p2: the explorer opens keeping the two
// congruent and says so; a lets them change apart and back.
TEST(ExploreSymmetry, OneTileInTwoOrbitsOpensKeptCongruentAndAFreesIt) {
  const auto running = explorer("pentatile6");
  RunningProgram& program = *running;
  const unsigned long window = windowOf(program);
  const std::string first = awaitLine(program, "pentatile6 | ");
  EXPECT_NE(first.find("keeps p2, tiles kept congruent, 1 degree of freedom"), std::string::npos) << first;
  const auto pressed = [&](bool kept) {
    return pressUntil(program, window, "a", "pentatile6", "tiles kept congruent", kept);
  };
  const std::string apart = pressed(false);
  EXPECT_EQ(apart.find("tiles kept congruent"), std::string::npos) << apart;
  EXPECT_NE(apart.find("keeps p2, "), std::string::npos) << apart;
  EXPECT_NE(pressed(true).find("keeps p2, tiles kept congruent"), std::string::npos);
  quit(program, window);
}

TEST(Explore, UnknownNameListsTheProgramsAndExitsTwo) {
  const testbed::CommandResult r =
      testbed::runCommand(testbed::programPath("tilings-explore") + " hexatile 2>&1");
  EXPECT_EQ(r.status, 2);
  for (const tools::TilingProgram& p : tools::tilingPrograms())
    EXPECT_NE(r.output.find("  " + std::string(p.name) + "\n"), std::string::npos) << p.name;
}

}  // namespace
