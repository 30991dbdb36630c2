// tilings-explore --segments FILE in a real window on the private display:
// a tiling's stored drawing opens in its own group with its family, named
// after the file, and writes its files as any tiling does; a drag prints a
// link that carries the drawing and opens the same shape again; a file
// that is no periodic tiling is refused with status 1 and the words why.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shape/segments_text.h"
#include "tests/explore/handles.h"
#include "tests/explore/running.h"
#include "tests/testbed/program.h"
#include "tools/registry.h"

namespace {

using exploretest::awaitLine;
using exploretest::explorerWith;
using exploretest::quit;
using exploretest::windowOf;

std::filesystem::path writtenDrawing(const std::string& tiling, const std::string& file) {
  const std::filesystem::path path = std::filesystem::current_path() / file;
  std::ofstream out(path);
  shape::writeSegments(out, tools::builtScene(*tools::findTilingProgram(tiling)));
  return path;
}

TEST(ExploreDrawing, AStoredDrawingOpensInItsGroupNamedAfterItsFile) {
  const std::filesystem::path file = writtenDrawing("pentatile1", "five-sided.txt");
  const auto running = explorerWith({"--segments", file.string()});
  testbed::RunningProgram& program = *running;
  const unsigned long window = windowOf(program);
  EXPECT_EQ(testbed::windowName(window), "tilings-explore: five-sided");
  const std::string status = awaitLine(program, "five-sided | ");
  EXPECT_NE(status.find("p2 (2222)"), std::string::npos) << status;
  EXPECT_NE(status.find("2 pentagons per period"), std::string::npos) << status;
  EXPECT_TRUE(status.ends_with("| tiles without gaps or overlaps")) << status;

  // Its files, as for any tiling.
  const std::filesystem::path svg = std::filesystem::current_path() / "five-sided-explored.svg";
  std::filesystem::remove(svg);
  testbed::xdotool("key --window " + std::to_string(window) + " e");
  EXPECT_EQ(awaitLine(program, "wrote "), "wrote " + svg.string());
  EXPECT_TRUE(std::filesystem::exists(svg));

  // A vertex dragged keeps the tiling; the link carries the drawing.
  const std::vector<exploretest::Pixel2> before = exploretest::handles(testbed::screenshot(window));
  ASSERT_GT(before.size(), 3u);
  const exploretest::Pixel2 from = before[0];
  std::string chain = "mousemove --window " + std::to_string(window) + " " + std::to_string(int(from.x)) + " " +
                      std::to_string(int(from.y)) + " mousedown 1";
  for (int step = 1; step <= 4; ++step)
    chain += " mousemove --window " + std::to_string(window) + " " + std::to_string(int(from.x) + 6 * step) + " " +
             std::to_string(int(from.y) + 4 * step);
  testbed::xdotool(chain + " mouseup 1");
  const std::string link = awaitLine(program, "link: ").substr(6);
  EXPECT_EQ(link.rfind("explore.html?drawing=five-sided&periods=", 0), 0u) << link;
  awaitLine(program, "shape: ");
  const std::string moved = awaitLine(program, "five-sided | ");
  EXPECT_TRUE(moved.ends_with("| tiles without gaps or overlaps")) << moved;
  // The next tiling from a drawing is the first of them all.
  testbed::xdotool("key --window " + std::to_string(window) + " n");
  awaitLine(program, "deltatile | ");
  EXPECT_EQ(testbed::windowName(window), "tilings-explore: deltatile");
  quit(program, window);

  const auto again = explorerWith({link});
  const unsigned long second = windowOf(*again);
  EXPECT_EQ(awaitLine(*again, "five-sided | "), moved);
  quit(*again, second);

  // The analysis reads the same link: the drawing, reshaped, in its group.
  const testbed::CommandResult analysed =
      testbed::runCommand(testbed::programPath("tilings-analyse") + " --link '" + link + "' 2>&1");
  EXPECT_EQ(analysed.status, 0) << analysed.output;
  EXPECT_EQ(analysed.output.rfind("five-sided: ", 0), 0u) << analysed.output;
  EXPECT_NE(analysed.output.find("symmetry: p2 (2222)"), std::string::npos) << analysed.output;
  EXPECT_NE(analysed.output.find("verdict: tiles without gaps or overlaps"), std::string::npos) << analysed.output;
  std::filesystem::remove(svg);
  std::filesystem::remove(file);
}

TEST(ExploreDrawing, AFileThatIsNoPeriodicTilingIsRefusedWithStatusOneAndTheWords) {
  const std::filesystem::path dir = std::filesystem::current_path();
  const struct {
    std::string name, text, words;
  } files[] = {
      {"empty.txt", "", "empty.txt: no segments"},
      {"one.txt", "0 0 1 0\n", "one.txt: the segments close no face"},
      {"triangle.txt", "0 0 1 0\n1 0 0 1\n0 1 0 0\n", "triangle.txt: no two independent periods"},
      {"garbage.txt", "tiles 1 2 3\n", "garbage.txt: line 1: expected four numbers x1 y1 x2 y2"},
      {"huge.txt", "0 0 1e300 0\n", "huge.txt: a coordinate beyond the range of a float"},
  };
  for (const auto& f : files) {
    std::ofstream(dir / f.name) << f.text;
    const testbed::CommandResult r = testbed::runCommand(testbed::programPath("tilings-explore") + " --segments " +
                                                         (dir / f.name).string() + " 2>&1 >/dev/null");
    EXPECT_EQ(r.status, 1) << f.name;
    EXPECT_EQ(r.output, "tilings-explore: " + (dir / f.name).string() + ": " + f.words.substr(f.name.size() + 2) + "\n");
    std::filesystem::remove(dir / f.name);
  }
  const testbed::CommandResult missing =
      testbed::runCommand(testbed::programPath("tilings-explore") + " --segments /nonexistent/drawing.txt 2>&1");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.output, "tilings-explore: cannot open /nonexistent/drawing.txt\n");
  EXPECT_EQ(testbed::runCommand(testbed::programPath("tilings-explore") + " --segments 2>/dev/null").status, 2);
}

}  // namespace
