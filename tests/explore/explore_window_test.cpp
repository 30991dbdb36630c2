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
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "explore/explorer.h"
#include "tests/explore/handles.h"
#include "tests/testbed/program.h"

namespace {

using testbed::RunningProgram;

using exploretest::handles;
using exploretest::Pixel2;

bool anyExplorerWindow() {
  return !testbed::runCommand("xdotool search --name '^tilings-explore: ' 2>/dev/null").output.empty();
}

// tilings-explore NAME, started once the window of an earlier one is gone:
// the server destroys a window a moment after its program ends, and a
// search by title must not find the old one.
std::unique_ptr<RunningProgram> explorer(const std::string& name, bool traced = false) {
  testbed::privateDisplay();
  for (int i = 0; i < 100 && anyExplorerWindow(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return std::make_unique<RunningProgram>("tilings-explore", traced, std::vector<std::string>{name});
}

// The explorer's window, found by its title.
unsigned long windowOf(RunningProgram& program) {
  for (int i = 0; i < 200 && program.alive(); ++i) {
    const testbed::CommandResult found = testbed::runCommand(
        "xdotool search --onlyvisible --name '^tilings-explore: ' 2>/dev/null");
    if (found.status == 0 && !found.output.empty()) return std::stoul(found.output);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ADD_FAILURE() << "no window; stderr: " << program.standardError();
  return 0;
}

std::vector<std::string> outputLines(const RunningProgram& program) {
  std::vector<std::string> lines;
  std::istringstream in(program.standardOutput());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Waits until standard output has a line starting with `prefix`; the last.
std::string awaitLine(const RunningProgram& program, const std::string& prefix) {
  for (int i = 0; i < 100; ++i) {
    const std::vector<std::string> lines = outputLines(program);
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
      if (it->rfind(prefix, 0) == 0) return *it;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ADD_FAILURE() << "no line starting '" << prefix << "' in:\n" << program.standardOutput();
  return "";
}

// The last status line printed for `name`.
std::string lastStatus(const RunningProgram& program, const std::string& name) {
  std::string status;
  for (const std::string& line : outputLines(program))
    if (line.rfind(name + " | ", 0) == 0) status = line;
  return status;
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

// The GL_LINES segments of the last frame a trace recorded.
std::vector<Segment> lastFrameLines(const std::string& trace) {
  const std::vector<testbed::GlCall> calls = testbed::dumpTrace(trace);
  int swaps = 0;
  for (const testbed::GlCall& c : calls) swaps += c.name == "glXSwapBuffers";
  std::vector<Segment> lines;
  bool inLines = false;
  std::vector<Point> ends;
  for (const testbed::GlCall& c : testbed::frameCalls(calls, swaps - 1)) {
    if (c.name == "glBegin") inLines = c.arg("mode") == "GL_LINES";
    if (c.name == "glEnd") inLines = false;
    if (inLines && c.name == "glVertex3f")
      ends.push_back(Point{float(c.number_arg("x")), float(c.number_arg("y")), 0, 9});
  }
  for (std::size_t k = 0; k + 1 < ends.size(); k += 2) lines.push_back(Segment{ends[k], ends[k + 1], 9});
  return lines;
}

// q ends the explorer; its window is gone before xdotool can send the key's
// release, so xdotool's own status says nothing.
void quit(RunningProgram& program, unsigned long window) {
  testbed::runCommand("xdotool key --window " + std::to_string(window) + " q >/dev/null 2>&1");
  for (int i = 0; i < 100 && program.alive(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(program.stop(), 0);
}

class ExploreDrag : public ::testing::TestWithParam<const char*> {};

TEST_P(ExploreDrag, HandleDragKeepsTheTilingAndTheTraceShowsTheMovedTiling) {
  const std::string name = GetParam();
  const tools::TilingProgram& tiling = *tools::findTilingProgram(name);
  const auto running = explorer(name, true);
  RunningProgram& program = *running;
  const unsigned long window = windowOf(program);
  const std::vector<Pixel2> before = handles(testbed::screenshot(window));
  ASSERT_EQ(before.size(), tiling.givenPoints().size());
  awaitLine(program, name + " | ");

  const Pixel2 by{70, 40}, to{before[0].x + by.x, before[0].y + by.y};
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
  // the moved points, moved as a whole.
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
  clearScene();
  {
    const tools::QuietConsole quiet;
    tiling.buildSceneFrom(moved, explore::layOut(tiling).patch);
  }
  const std::vector<Segment> built = Scene.segments;
  clearScene();
  ASSERT_EQ(drawn.size(), built.size());
  const double dx = drawn[0].a.x - built[0].a.x, dy = drawn[0].a.y - built[0].a.y;
  for (std::size_t k = 0; k < built.size(); ++k) {
    EXPECT_NEAR(drawn[k].a.x - built[k].a.x, dx, 1e-4) << k;
    EXPECT_NEAR(drawn[k].b.y - built[k].b.y, dy, 1e-4) << k;
  }
}

INSTANTIATE_TEST_SUITE_P(AnyShapeTiles, ExploreDrag, ::testing::Values("deltatile", "quadtile"),
                         [](const auto& info) { return std::string(info.param); });

TEST(Explore, PentagonDraggedFarBreaksAndTheStatusSaysHow) {
  const auto running = explorer("pentatile1");
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

TEST(Explore, KeysStepThroughAllSeventeenAndQuit) {
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
  const auto all = tools::tilingPrograms();
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

TEST(Explore, UnknownNameListsTheProgramsAndExitsTwo) {
  const testbed::CommandResult r =
      testbed::runCommand(testbed::programPath("tilings-explore") + " hexatile 2>&1");
  EXPECT_EQ(r.status, 2);
  for (const tools::TilingProgram& p : tools::tilingPrograms())
    EXPECT_NE(r.output.find("  " + std::string(p.name) + "\n"), std::string::npos) << p.name;
}

}  // namespace
